// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProfileFile.h"

#include "platform/Cp932Codec.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype kUtf8BomSize = 3;

// Only the blanks the profile services ignore; an ideographic space is part of a value.
bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlank(s.at(begin)))
        ++begin;
    while (end > begin && IsBlank(s.at(end - 1)))
        --end;
    return s.mid(begin, end - begin);
}

// One pair of the same quote, double or single, around the whole value.
bool IsQuoted(QStringView s)
{
    return s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front();
}

// A value as read: without one pair of quotes around it.
QStringView Unquoted(QStringView value)
{
    return IsQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

QString StoredValue(const QString& value)
{
    const bool blankEdge = !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (blankEdge || IsQuoted(value))
        return u'"' + value + u'"';
    return value;
}

// A header runs from "[" to its last "]"; a line with no "]" is no header at all.
std::optional<QStringView> SectionName(QStringView line)
{
    const QStringView s = TrimBlanks(line);
    if (!s.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = s.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt;
    return TrimBlanks(s.mid(1, close - 1));
}

struct TKeyLine
{
    QStringView key;
    std::optional<QStringView> value; // none for a key line without "="
};

// Any line in a section that is neither blank, a comment nor a header names a key: the text
// before the first "=", or the whole line when there is none.
std::optional<TKeyLine> KeyLine(QStringView line)
{
    const QStringView s = TrimBlanks(line);
    if (s.isEmpty() || s.front() == u';' || SectionName(line))
        return std::nullopt;
    const qsizetype eq = s.indexOf(u'=');
    if (eq == 0)
        return std::nullopt;
    if (eq < 0)
        return TKeyLine {s, std::nullopt};
    return TKeyLine {TrimBlanks(s.left(eq)), TrimBlanks(s.mid(eq + 1))};
}

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(const QString& s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

void CheckNames(const QString& section, const QString& key, const QString& value)
{
    if (HasLineBreak(section) || section.contains(u']') || TrimBlanks(section).isEmpty())
        throw TProfileFile::InvalidName(
            u"セクション名 \"%1\" ハ使エマセン"_s.arg(section).toStdString());
    const QStringView k = TrimBlanks(key);
    if (HasLineBreak(key) || key.contains(u'=') || k.isEmpty() || k.front() == u'['
        || k.front() == u';')
        throw TProfileFile::InvalidName(u"キー名 \"%1\" ハ使エマセン"_s.arg(key).toStdString());
    if (HasLineBreak(value))
        throw TProfileFile::InvalidName(
            u"\"%1\" ノ値ニ改行ハ入レラレマセン"_s.arg(key).toStdString());
}

} // namespace

TProfileFile::TLine::TLine(QString lineText, QByteArray lineRaw, bool lineEdited)
    : text(std::move(lineText))
    , raw(std::move(lineRaw))
    , edited(lineEdited)
{
    std::optional<QStringView> name = SectionName(text);
    if (name) {
        kind = TKind::Header;
    } else if (const std::optional<TKeyLine> key = KeyLine(text)) {
        kind = TKind::Key;
        name = key->key;
    }
    if (!name)
        return;
    nameStart = int(name->data() - text.constData());
    nameLength = int(name->size());
}

TProfileFile TProfileFile::FromBytes(const QByteArray& bytes)
{
    TProfileFile file;
    QByteArrayView body = bytes;
    if (body.startsWith(QByteArrayView(kUtf8Bom, kUtf8BomSize))) {
        file.FSourceEncoding = TEncoding::Utf8;
        body = body.sliced(kUtf8BomSize);
    }
    // Lines end in CR LF, LF or CR alone. 0x0A and 0x0D are never the second byte of a CP932
    // character, so splitting the bytes is safe.
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype end = start;
        while (end < body.size() && body.at(end) != '\n' && body.at(end) != '\r')
            ++end;
        QByteArray raw = body.sliced(start, end - start).toByteArray();
        if (end + 1 < body.size() && body.at(end) == '\r' && body.at(end + 1) == '\n')
            ++end;
        const bool ascii = std::all_of(raw.cbegin(), raw.cend(), [](char c) { return c >= 0; });
        QString text = ascii ? QString::fromLatin1(raw)
            : file.FSourceEncoding == TEncoding::Utf8
            ? QString::fromUtf8(raw)
            : Cp932Codec::Decode(raw, Cp932Codec::TStrayBytes::Keep);
        file.FLines.append(TLine(std::move(text), std::move(raw), false));
        start = end + 1;
    }
    return file;
}

std::optional<QByteArray> TProfileFile::Encoded(TEncoding encoding) const
{
    QByteArray out;
    if (encoding == TEncoding::Utf8)
        out.append(kUtf8Bom, kUtf8BomSize);
    for (const TLine& line : FLines) {
        if (!line.edited && encoding == FSourceEncoding) {
            out.append(line.raw);
        } else if (encoding == TEncoding::Utf8) {
            out.append(line.text.toUtf8());
        } else {
            try {
                out.append(Cp932Codec::Encode(line.text));
            } catch (const Cp932Codec::EncodingError&) {
                return std::nullopt;
            }
        }
        out.append("\r\n");
    }
    return out;
}

QByteArray TProfileFile::Bytes() const
{
    if (std::optional<QByteArray> cp932 = Encoded(TEncoding::Cp932))
        return *cp932;
    return *Encoded(TEncoding::Utf8);
}

qsizetype TProfileFile::FindSection(const QString& section) const
{
    const QStringView wanted = TrimBlanks(section);
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines.at(i);
        if (line.kind == TLine::TKind::Header && SameName(line.Name(), wanted))
            return i;
    }
    return -1;
}

qsizetype TProfileFile::SectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < FLines.size() && FLines.at(i).kind != TLine::TKind::Header)
        ++i;
    return i;
}

qsizetype TProfileFile::FindKey(qsizetype header, const QString& key) const
{
    const QStringView wanted = TrimBlanks(key);
    for (qsizetype i = header + 1; i < FLines.size(); ++i) {
        const TLine& line = FLines.at(i);
        if (line.kind == TLine::TKind::Header)
            break;
        if (line.kind == TLine::TKind::Key && SameName(line.Name(), wanted))
            return i;
    }
    return -1;
}

std::optional<QString> TProfileFile::Value(const QString& section, const QString& key) const
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype index = FindKey(header, key);
    if (index < 0)
        return std::nullopt;
    const std::optional<QStringView> value = KeyLine(FLines.at(index).text)->value;
    if (!value)
        return std::nullopt; // the key is there without a value: it reads as missing
    return Unquoted(*value).toString();
}

void TProfileFile::SetValue(const QString& section, const QString& key, const QString& value)
{
    CheckNames(section, key, value);
    TLine line(TrimBlanks(key).toString() + u'=' + StoredValue(value), {}, true);

    const qsizetype header = FindSection(section);
    if (header < 0) {
        FLines.append(TLine(u'[' + TrimBlanks(section).toString() + u']', {}, true));
        FLines.append(std::move(line));
        return;
    }
    const qsizetype index = FindKey(header, key);
    if (index >= 0) {
        // a line that already says this keeps its bytes, so a value read from bytes that are
        // not valid in the file's encoding goes back as it came
        const std::optional<QStringView> old = KeyLine(FLines.at(index).text)->value;
        if (old && Unquoted(*old) == value)
            return;
        FLines[index] = std::move(line);
        return;
    }
    // after the section's last non-blank line, so blank lines before the next section stay
    qsizetype insertAt = SectionEnd(header);
    while (insertAt > header + 1 && TrimBlanks(FLines.at(insertAt - 1).text).isEmpty())
        --insertAt;
    FLines.insert(insertAt, std::move(line));
}
