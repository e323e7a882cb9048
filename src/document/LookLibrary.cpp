// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LookLibrary.h"

#include "platform/ErrorText.h"
#include "platform/TIniFile.h"

#include <QDir>
#include <QFile>
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

namespace {

// Letters and digits of any script are kept; what a file name cannot hold becomes "-".
QString IdFor(const QString& name)
{
    QString id;
    for (const QChar c : name.trimmed())
        id += c.isLetterOrNumber() ? c.toLower() : u'-';
    return id.isEmpty() ? u"look"_s : id;
}

[[noreturn]] void Fail(const QString& fileName, const QString& reason)
{
    throw EIniFileException((fileName + u": "_s + reason).toStdString());
}

} // namespace

QString LookLibrary::NewFileName(const QString& folder, const QString& name,
                                 const QStringList& taken)
{
    const QString id = IdFor(name);
    QString candidate = id;
    for (int n = 2; taken.contains(candidate)
         || QFileInfo::exists(QDir(folder).filePath(candidate + u".qvd"_s));
         ++n)
        candidate = id + u'-' + QString::number(n);
    return QDir(folder).filePath(candidate + u".qvd"_s);
}

QString LookLibrary::SaveUserLook(const LogoDocument& document, const QString& name,
                                  const QString& folder, const QStringList& taken)
{
    if (!QDir().mkpath(folder))
        Fail(folder, ErrorText::Say(u"フォルダヲ作レマセン"_s, u"cannot make the folder"_s));
    const QString fileName = NewFileName(folder, name, taken);
    LookPreset::Save(document, name, fileName);
    return fileName;
}

void LookLibrary::RenameUserLook(const LookPreset& look, const QString& name,
                                 const QStringList& taken)
{
    TIniFile ini(look.FileName());
    if (!ini.ReadError().isEmpty())
        Fail(look.FileName(), ini.ReadError());
    ini.WriteString(u"LOOK"_s, u"Name"_s, name);
    ini.UpdateFile();
    // The id is only a convenience for scripts: a file that cannot move keeps its old one.
    if (IdFor(name) != look.Id()) {
        const QString folder = QFileInfo(look.FileName()).absolutePath();
        QFile::rename(look.FileName(), NewFileName(folder, name, taken));
    }
}

void LookLibrary::DeleteUserLook(const LookPreset& look)
{
    QFile file(look.FileName());
    if (!file.remove())
        Fail(look.FileName(), ErrorText::OfQt(file.errorString()));
}
