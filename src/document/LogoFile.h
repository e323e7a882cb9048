// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QString>
#include <QStringList>

#include <optional>

class TIniFile;

// Logo documents in .qvd files: INI text with one section [SET] of one key per setting, in a
// fixed order, written in CP932 (UTF-8 with a byte-order mark when CP932 cannot hold the text).
//
// Reading goes over a document: a key that is missing or whose value does not parse keeps the
// value of that document, so a hand-edited file with a few keys changes only those. Integers
// accept the spellings of IniInteger and are clamped into the document's ranges. Of the four
// font-style keys the last one set wins and one set to 0 clears its own style; of the label
// and shadow style keys the last one set wins and 0 never clears, so all of them 0 keep the
// style read over. A label longer than the text field holds is cut to it. The warp and
// decoration keys are the exception to reading over: only a warped logo, or one that keeps an
// amount, writes the warp's, and a decoration's key is written only where it differs from its
// default (a logo without them is saved as before); a file without them reads as a straight
// logo without decorations. So is the face: a file with logo keys but no Font key reads as the
// default document's face. The tagline's keys and Vertical are written as the decorations' are.
//
// Writing updates the file in place (other sections, keys and lines stay) and replaces it in
// one atomic step; a key missing from the file is added at the end of the section.
class LogoFile
{
public:
    // The document in `fileName` read over `base`. A file that does not exist or cannot be
    // read leaves `base` as it is, as the window's Load does.
    static LogoDocument Read(const QString& fileName, const LogoDocument& base = LogoDocument());
    static LogoDocument Read(const TIniFile& ini, const LogoDocument& base);

    // The document in `fileName` read over the defaults, or nothing when the file does not
    // exist, cannot be read or holds none of the logo keys; `error` then says why.
    static std::optional<LogoDocument> Load(const QString& fileName, QString* error);

    // Throws EIniFileException, whose message names the file, when the file cannot be written.
    static void Write(const LogoDocument& document, const QString& fileName);
    // Sets every key in `ini` without updating the file.
    static void Write(const LogoDocument& document, TIniFile& ini);
    // Sets the keys of the logo's look in `ini`: every key but the content (text, tagline, face,
    // size, pictures) and the layout of its lines.
    static void WriteLook(const LogoDocument& document, TIniFile& ini);

    // `document` with one key set as a file would set it (a colour as its signed decimal word,
    // a button as 1 or 0); nothing when the key is unknown or its value does not read as that
    // key's value, with `error` saying which.
    static std::optional<LogoDocument> WithKey(const LogoDocument& document, const QString& key,
                                               const QString& value, QString* error);

    // Every key's name, in file order.
    static QStringList KeyNames();
    // Whether `key` (any case) holds the logo's content (text, tagline, face, size, pictures)
    // rather than its look.
    static bool IsContentKey(const QString& key);
    // Whether `key` (any case) sets how the lines are laid out: the tagline's size, place,
    // alignment and gap, and top-to-bottom writing. A look keeps the logo's unless it names them.
    static bool IsLayoutKey(const QString& key);
    // `document` with the setting of `key` taken from `source`; unchanged for an unknown key.
    static LogoDocument WithKeyOf(const LogoDocument& document, const QString& key,
                                  const LogoDocument& source);
};
