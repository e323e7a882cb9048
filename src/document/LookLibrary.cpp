// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LookLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

LookLibrary::LookLibrary(const QString& builtInFolder, const QString& userFolder)
{
    QList<LookPreset> user = Read(userFolder, false);
    std::stable_sort(user.begin(), user.end(), [](const LookPreset& a, const LookPreset& b) {
        return a.Name().localeAwareCompare(b.Name()) < 0;
    });
    QList<LookPreset> builtIn = Read(builtInFolder, true);
    std::stable_sort(builtIn.begin(), builtIn.end(), [](const LookPreset& a, const LookPreset& b) {
        return a.Order() < b.Order();
    });
    FLooks = user;
    for (const LookPreset& look : builtIn) {
        if (!Find(look.Id()))
            FLooks.append(look);
    }
}

QString LookLibrary::UserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/quilvoro/looks"_s;
}

QList<LookPreset> LookLibrary::Read(const QString& folder, bool builtIn)
{
    QList<LookPreset> looks;
    if (folder.isEmpty())
        return looks;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({u"*.qvd"_s}, QDir::Files, QDir::Name)) {
        QString error;
        const QString file = dir.filePath(name);
        if (std::optional<LookPreset> look = LookPreset::Load(file, builtIn, &error))
            looks.append(*look);
        else
            FProblems.append(file + u": "_s + error);
    }
    return looks;
}

const LookPreset* LookLibrary::Find(const QString& id) const
{
    const auto found = std::find_if(FLooks.begin(), FLooks.end(),
                                    [&](const LookPreset& look) { return look.Id() == id; });
    return found == FLooks.end() ? nullptr : &*found;
}

QStringList LookLibrary::Ids() const
{
    QStringList ids;
    for (const LookPreset& look : FLooks)
        ids.append(look.Id());
    return ids;
}

QString LookLibrary::NewFileName(const QString& folder, const QString& name)
{
    // letters and digits of any script are kept; what a file name cannot hold becomes "-"
    QString id;
    for (const QChar c : name.trimmed())
        id += c.isLetterOrNumber() ? c.toLower() : u'-';
    id = id.isEmpty() ? u"look"_s : id;
    QString candidate = id;
    for (int n = 2; QFileInfo::exists(QDir(folder).filePath(candidate + u".qvd"_s)); ++n)
        candidate = id + u'-' + QString::number(n);
    return QDir(folder).filePath(candidate + u".qvd"_s);
}
