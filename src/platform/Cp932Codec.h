// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// Windows-31J (Shift-JIS, code page 932) conversion, as logo files and byte counts need it.
namespace Cp932Codec {

class EncodingError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A byte that is not valid CP932 where it stands can be kept through a decode as the
// private-use character kStrayByteBase + byte, which Encode writes back as that byte.
constexpr char16_t kStrayByteBase = 0xF700;

enum class TStrayBytes { Replace, Keep };

// Encodes text to CP932; throws EncodingError naming the first character CP932 cannot hold.
// A kept stray byte is written back as itself, as long as it reads back the same.
QByteArray Encode(const QString& text);

// Whether CP932 can hold every character of the text.
bool CanEncode(const QString& text);

// Decodes CP932 bytes; bytes that are not valid CP932 become U+FFFD, or kept characters.
QString Decode(const QByteArray& bytes, TStrayBytes stray = TStrayBytes::Replace);

// Whether the character takes two bytes in CP932 (characters CP932 cannot hold count as two).
bool IsDoubleByte(QChar c);

} // namespace Cp932Codec
