// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class QWidget;

// An open or save dialog with a title, a "description|pattern" filter and a default extension.
// It remembers the chosen file name, and like the desktop's own dialogs it leaves the working
// folder at the chosen file's folder. A picture dialog opens like Open, offers every readable
// picture format after the filter and previews the highlighted picture.
class TFileDialog
{
public:
    enum Mode { Open, Save, OpenPicture };

    explicit TFileDialog(Mode mode);

    QString Title() const { return FTitle; }
    void SetTitle(const QString& value) { FTitle = value; }
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& value) { FFilter = value; }
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& value) { FDefaultExt = value; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    // Where the dialog opens while it has no file name; empty means the working folder.
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& value) { FInitialDir = value; }

    // Shows the dialog; true when a file was chosen (FileName then holds its path).
    bool Execute(QWidget* parent);

    // Called with the path of each file the user chooses.
    std::function<void(const QString&)> OnFileChosen;

private:
    Mode FMode;
    QString FTitle;
    QString FFilter;
    QString FDefaultExt;
    QString FFileName;
    QString FInitialDir;
};
