// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Cp932Codec.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace Cp932Codec {

namespace {

class Converter
{
public:
    Converter(const char* to, const char* from)
        : FHandle(iconv_open(to, from))
    {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw EncodingError("iconv cannot convert to " + std::string(to));
    }
    ~Converter() { iconv_close(FHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns false at the first input that cannot be converted,
    // leaving `in`/`inLeft` pointing at it.
    bool Run(char*& in, size_t& inLeft, QByteArray& out)
    {
        while (inLeft > 0) {
            char buffer[256];
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t r = iconv(FHandle, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, qsizetype(sizeof buffer - outLeft));
            if (r == size_t(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

    void Reset() { iconv(FHandle, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t FHandle;
};

bool IsStrayByte(QChar c)
{
    return c.unicode() >= kStrayByteBase && c.unicode() <= kStrayByteBase + 0xFF;
}

// One converter per direction and thread, reset for each use: opening one costs more than
// converting a line.
Converter& ToCp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    converter.Reset();
    return converter;
}

Converter& FromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    converter.Reset();
    return converter;
}

[[noreturn]] void CannotHold(const QString& bad)
{
    const QString code = QStringLiteral("U+%1").arg(bad.isEmpty() ? 0 : bad.at(0).unicode(), 4, 16,
                                                    QLatin1Char('0'));
    throw EncodingError("Shift-JIS (CP932) cannot hold the character \"" + bad.toStdString()
                        + "\" (" + code.toUpper().toStdString() + ")");
}

void EncodeRun(QStringView run, QByteArray& out)
{
    QByteArray utf8 = run.toUtf8();
    char* in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    if (!ToCp932().Run(in, inLeft, out)) {
        const qsizetype offset = qsizetype(in - utf8.data());
        CannotHold(QString::fromUtf8(utf8.mid(offset)).left(1));
    }
}

} // namespace

QByteArray Encode(const QString& text)
{
    QByteArray out;
    qsizetype firstStray = -1;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsStrayByte(text.at(i)))
            continue;
        EncodeRun(QStringView(text).sliced(start, i - start), out);
        if (i < text.size()) {
            out.append(char(text.at(i).unicode() - kStrayByteBase));
            if (firstStray < 0)
                firstStray = i;
        }
        start = i + 1;
    }
    // a kept byte beside other text may now read as part of a character
    if (firstStray >= 0 && Decode(out, TStrayBytes::Keep) != text)
        CannotHold(text.mid(firstStray, 1));
    return out;
}

bool CanEncode(const QString& text)
{
    try {
        Encode(text);
        return true;
    } catch (const EncodingError&) {
        return false;
    }
}

QString Decode(const QByteArray& bytes, TStrayBytes stray)
{
    QByteArray input = bytes;
    char* in = input.data();
    size_t inLeft = size_t(input.size());
    QByteArray utf8;
    utf8.reserve(input.size() + input.size() / 2);
    Converter& converter = FromCp932();
    while (!converter.Run(in, inLeft, utf8)) {
        if (stray == TStrayBytes::Keep) {
            const unsigned code = kStrayByteBase + static_cast<unsigned char>(*in);
            utf8.append(char(0xE0 | (code >> 12)));
            utf8.append(char(0x80 | ((code >> 6) & 0x3F)));
            utf8.append(char(0x80 | (code & 0x3F)));
        } else {
            utf8.append("\xEF\xBF\xBD"); // U+FFFD for a byte that is not CP932
        }
        ++in;
        --inLeft;
        converter.Reset();
    }
    return QString::fromUtf8(utf8);
}

bool IsDoubleByte(QChar c)
{
    if (c.unicode() < 0x80)
        return false;
    try {
        return Encode(QString(c)).size() > 1;
    } catch (const EncodingError&) {
        return true;
    }
}

} // namespace Cp932Codec
