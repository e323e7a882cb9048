// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/RecentFiles.h"

#include "app/Settings.h"

#include <QFileInfo>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString kRecentKey = u"RecentFiles"_s;
const QString kFolderGroup = u"LastFolders/"_s;

QString Absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QStringList TRecentFiles::Files() const
{
    QStringList files = Settings::Open().value(kRecentKey).toStringList();
    files.removeAll(QString());
    files.removeDuplicates();
    return files.mid(0, kMax);
}

void TRecentFiles::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = Absolute(path);
    QStringList files = Files();
    files.removeAll(absolute);
    files.prepend(absolute);
    Store(files.mid(0, kMax));
}

void TRecentFiles::Remove(const QString& path)
{
    QStringList files = Files();
    if (files.removeAll(path) == 0 && files.removeAll(Absolute(path)) == 0)
        return;
    Store(files);
}

void TRecentFiles::Store(const QStringList& files)
{
    QSettings settings = Settings::Open();
    settings.setValue(kRecentKey, files);
}

QString TRecentFiles::LastFolder(const QString& dialogName)
{
    return Settings::Open().value(kFolderGroup + dialogName).toString();
}

void TRecentFiles::SetLastFolder(const QString& dialogName, const QString& folder)
{
    QSettings settings = Settings::Open();
    settings.setValue(kFolderGroup + dialogName, folder);
}
