// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ProfileFile.h"

#include <QString>

#include <stdexcept>

// The framework's INI-file error; its message names the file.
class EIniFileException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An INI file opened on a file name, read and written by section and key (see TProfileFile
// for the reading and encoding rules).
//
// Writes change the copy in memory; UpdateFile() writes the whole file at once through a
// temporary file that replaces the old one, so a save of many keys touches the disk once and
// never leaves a half-written file. A failed UpdateFile() throws EIniFileException and leaves
// the file on disk as it was. Nothing is written without UpdateFile(): there is no write on
// destruction, where a failure could not be reported.
//
// A file that does not exist reads as empty. A file that exists but cannot be read, or is not
// a regular file (a FIFO would block the read), also reads as empty (every read gives its
// default), ReadError() says why, and UpdateFile() then refuses to replace it.
class TIniFile
{
public:
    // Largest file read or written. A logo file is a few hundred bytes; anything bigger is not
    // one and is left alone, and a save that would grow past it fails rather than write a
    // file that would not load again.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit TIniFile(const QString& fileName);

    QString FileName() const { return FFileName; }
    // Why the file that exists could not be read, or empty.
    QString ReadError() const { return FReadError; }

    bool ValueExists(const QString& section, const QString& key) const
    {
        return FProfile.Value(section, key).has_value();
    }

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Integers as IniInteger reads them; a missing or invalid value gives the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Any non-zero integer is true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Throws EIniFileException when the names or the value would break the file's lines.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Whether anything was written since the file was read or last updated.
    bool Modified() const { return FModified; }

    // Writes the file when anything was written; throws EIniFileException on failure.
    void UpdateFile();

private:
    [[noreturn]] void Fail(const QString& reason) const;

    QString FFileName;
    TProfileFile FProfile;
    QString FReadError;
    bool FModified = false;
};
