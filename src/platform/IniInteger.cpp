// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/IniInteger.h"

#include <QString>

namespace IniInteger {

namespace {

constexpr int kMaxHexDigits = 8;

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool IsX(QChar c)
{
    return c == u'x' || c == u'X';
}

std::optional<std::uint32_t> ParseHex(QStringView digits)
{
    std::uint32_t value = 0;
    int significant = 0;
    for (QChar c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        // leading zeros do not count towards the eight digits
        if (value != 0 || digit != 0)
            ++significant;
        if (significant > kMaxHexDigits)
            return std::nullopt;
        value = value * 16 + std::uint32_t(digit);
    }
    return value;
}

std::optional<std::int64_t> ParseDecimal(QStringView digits)
{
    constexpr std::int64_t kLimit = std::int64_t(1) << 31; // magnitude of INT32_MIN
    std::int64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > kLimit)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int32_t> Parse(QStringView text)
{
    QString s = text.toString();
    if (s.size() > 2 && s.at(0) == u'0' && IsX(s.at(1)))
        s.replace(0, 2, u'$');

    qsizetype i = 0;
    while (i < s.size() && s.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-')) {
        negative = s.at(i) == u'-';
        ++i;
    }

    bool hex = false;
    if (i < s.size() && (s.at(i) == u'$' || IsX(s.at(i)))) {
        hex = true;
        i += 1;
    } else if (i + 1 < s.size() && s.at(i) == u'0' && IsX(s.at(i + 1))) {
        hex = true;
        i += 2;
    }

    const QStringView digits = QStringView(s).mid(i);
    if (digits.isEmpty())
        return std::nullopt;

    if (hex) {
        const std::optional<std::uint32_t> value = ParseHex(digits);
        if (!value)
            return std::nullopt;
        // 32-bit wrap-around: $FFFFFFFF is -1, and a sign applies to the wrapped value
        const std::uint32_t bits = negative ? 0u - *value : *value;
        return std::int32_t(bits);
    }

    const std::optional<std::int64_t> magnitude = ParseDecimal(digits);
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value = negative ? -*magnitude : *magnitude;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return std::int32_t(value);
}

} // namespace IniInteger
