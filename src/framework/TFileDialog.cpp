// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TFileDialog.h"

#include "framework/TDialogs.h"

#include <QDir>
#include <QFileInfo>

TFileDialog::TFileDialog(Mode mode)
    : FMode(mode)
{ }

bool TFileDialog::Execute(QWidget* parent)
{
    TFileDialogOptions options;
    options.title = FTitle;
    options.filter = FFilter;
    options.defaultExt = FDefaultExt;
    options.fileName = FFileName;
    options.picture = FMode == OpenPicture;
    if (!FFileName.isEmpty())
        options.initialDir = QFileInfo(FFileName).absolutePath();
    else
        options.initialDir = FInitialDir.isEmpty() ? QDir::currentPath() : FInitialDir;
    const QString chosen = FMode == Save ? TDialogs::Current().SaveFileName(parent, options)
                                         : TDialogs::Current().OpenFileName(parent, options);
    if (chosen.isEmpty())
        return false;
    FFileName = chosen;
    QDir::setCurrent(QFileInfo(chosen).absolutePath());
    if (OnFileChosen)
        OnFileChosen(chosen);
    return true;
}
