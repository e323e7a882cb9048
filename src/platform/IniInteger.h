// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

// The integer spellings that logo files accept, as the profile services of the original
// platform read them: "0x1F" and "$1F" are hexadecimal, hexadecimal values from 0x80000000 up
// are the negative 32-bit values, decimal values must fit 32 bits.
namespace IniInteger {

// The value of `text`, or nothing when the whole text is not one valid number.
std::optional<std::int32_t> Parse(QStringView text);

} // namespace IniInteger
