// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

// An INI (profile) file held in memory, line by line, so that an update changes only the lines
// it must and every other line, comment and section goes back to disk as it was.
//
// Reading follows the profile services of the original platform: section and key names match
// without regard to case, blanks around names and "=" are ignored, ";" starts a comment line,
// lines may end in CR LF, LF or CR alone, the first matching section and key win. A header is
// a line from "[" to its last "]" (a line with "[" and no "]" is no header). A line without
// "=" names a key without a value, which reads as missing and still hides a later line of the
// same key. A value in double or single quotes loses one pair of quotes on reading; the writer
// adds a pair of double quotes when a value would otherwise lose its leading or trailing
// blanks or its own quotes. Values are returned whole however long they are: a reader that
// cut them would lose what the writer kept.
//
// Encoding: a file that starts with the UTF-8 byte-order mark is UTF-8, any other is CP932.
// A byte that is not CP932 is kept (see Cp932Codec::TStrayBytes) and written back as it was,
// so a file with stray bytes keeps its encoding and its size through an update.
// Bytes() writes CP932 when CP932 can hold every line and UTF-8 with a byte-order mark
// otherwise, so no character is ever dropped. Lines are always written with CR LF.
class TProfileFile
{
public:
    enum class TEncoding { Cp932, Utf8 };

    class InvalidName : public std::invalid_argument
    {
    public:
        using std::invalid_argument::invalid_argument;
    };

    TProfileFile() = default;
    static TProfileFile FromBytes(const QByteArray& bytes);

    // The file's bytes in the encoding chosen as described above.
    QByteArray Bytes() const;
    TEncoding SourceEncoding() const { return FSourceEncoding; }

    // The value of the first `key` in the first `section`, or nothing when there is none.
    std::optional<QString> Value(const QString& section, const QString& key) const;

    // Replaces the key's line where it stands (a line that holds the value already is left as
    // it is), adds a missing key after the last line of its
    // section, or appends the section. Throws InvalidName for names or values that would
    // change the file's structure (line breaks, "=" in a key, "]" in a section name).
    void SetValue(const QString& section, const QString& key, const QString& value);

    qsizetype LineCount() const { return FLines.size(); }
    QString Line(qsizetype index) const { return FLines.at(index).text; }

private:
    struct TLine
    {
        enum class TKind : std::uint8_t { Other, Header, Key };

        TLine() = default;
        TLine(QString text, QByteArray raw, bool edited);

        QStringView Name() const { return QStringView(text).sliced(nameStart, nameLength); }

        QString text;
        QByteArray raw; // the bytes read, written back unchanged while the encoding is kept
        bool edited = false;
        // What the line is, found once so that a look-up does not parse every line again.
        TKind kind = TKind::Other;
        int nameStart = 0;
        int nameLength = 0;
    };

    qsizetype FindSection(const QString& section) const;
    qsizetype SectionEnd(qsizetype header) const;
    qsizetype FindKey(qsizetype header, const QString& key) const;
    std::optional<QByteArray> Encoded(TEncoding encoding) const;

    QList<TLine> FLines;
    TEncoding FSourceEncoding = TEncoding::Cp932;
};
