// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TIniFile.h"

#include "platform/ErrorText.h"
#include "platform/FileAccess.h"
#include "platform/IniInteger.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

QString TooLarge()
{
    return ErrorText::Say(u"ロゴデータトシテハ大キスギマス"_s, u"too large for a logo file"_s);
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : FFileName(fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return;
    if (info.isDir()) {
        FReadError = ErrorText::OfErrno(EISDIR);
        return;
    }
    QFile file;
    if (FileAccess::OpenRegularFile(file, fileName, &FReadError) != FileAccess::TOpenResult::Opened)
        return;
    if (file.size() > MaxFileSize) {
        FReadError = TooLarge();
        return;
    }
    // read no more than the limit even when the file grows meanwhile
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        FReadError = TooLarge();
    else
        FProfile = TProfileFile::FromBytes(bytes);
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const
{
    return FProfile.Value(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> text = FProfile.Value(section, key);
    if (!text)
        return defaultValue;
    return IniInteger::Parse(*text).value_or(defaultValue);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    try {
        FProfile.SetValue(section, key, value);
    } catch (const TProfileFile::InvalidName& e) {
        Fail(QString::fromUtf8(e.what()));
    }
    FModified = true;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::UpdateFile()
{
    if (!FModified)
        return;
    // replacing a file we could not read would throw away what is in it
    if (!FReadError.isEmpty())
        Fail(FReadError);
    const QByteArray bytes = FProfile.Bytes();
    if (bytes.size() > MaxFileSize)
        Fail(TooLarge());
    QString error;
    if (!FileAccess::WriteFileAtomically(FFileName, bytes, &error))
        Fail(error);
    FModified = false;
}

void TIniFile::Fail(const QString& reason) const
{
    const QString message = u"\"%1\" ニ保存デキマセン: %2"_s.arg(FFileName, reason);
    throw EIniFileException(message.toStdString());
}
