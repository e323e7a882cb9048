// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProgramPath.h"

#include <QDir>
#include <QFileInfo>

namespace ProgramPath {

namespace {

bool IsSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

qsizetype LastDelimiter(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path.at(i)) || path.at(i) == u':')
            return i;
    }
    return -1;
}

} // namespace

QString AppDir(const QString& programPath)
{
    QString dir = programPath.left(LastDelimiter(programPath) + 1);
    if (dir.size() >= 1 && IsSeparator(dir.back())) {
        const bool keep = dir.size() >= 2
            && (IsSeparator(dir.at(dir.size() - 2)) || dir.at(dir.size() - 2) == u':');
        // "/opt/x" gives "/opt"; a program at the root keeps its lone "/".
        if (!keep && dir.size() > 1)
            dir.chop(1);
    }
    return dir;
}

QString ProgramName(const QString& programPath)
{
    QString name = programPath.mid(LastDelimiter(programPath) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

namespace {

QString InstalledData(const QString& appDir, const QString& name, bool folder)
{
    const QString beside = appDir + u'/' + name;
    const QStringList candidates = {
        beside,
        QDir::cleanPath(appDir + u'/' + QStringLiteral(QUILVORO_DATA_FROM_BIN) + u'/' + name),
        QStringLiteral(QUILVORO_DATADIR) + u'/' + name,
    };
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (folder ? info.isDir() : info.isFile())
            return candidate;
    }
    return beside;
}

} // namespace

QString DataFile(const QString& appDir, const QString& name)
{
    return InstalledData(appDir, name, false);
}

QString RunningProgramFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

QString DataFolder(const QString& appDir, const QString& name)
{
    return InstalledData(appDir, name, true);
}

} // namespace ProgramPath
