// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Colors.h"

#include <array>

namespace {

// The standard Windows colour scheme, so that the layout's system colours look the same on
// every desktop whatever its theme is. Index = system colour index, value 0x00BBGGRR.
constexpr std::array<TColor, 31> kStandardScheme = {
    RGB(212, 208, 200), // 0  scroll bar
    RGB(58, 110, 165), // 1  desktop background
    RGB(10, 36, 106), // 2  active caption
    RGB(128, 128, 128), // 3  inactive caption
    RGB(212, 208, 200), // 4  menu
    RGB(255, 255, 255), // 5  window
    RGB(0, 0, 0), // 6  window frame
    RGB(0, 0, 0), // 7  menu text
    RGB(0, 0, 0), // 8  window text
    RGB(255, 255, 255), // 9  caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(10, 36, 106), // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(212, 208, 200), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0), // 18 button text
    RGB(212, 208, 200), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(64, 64, 64), // 21 3-D dark shadow
    RGB(212, 208, 200), // 22 3-D light
    RGB(0, 0, 0), // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(180, 180, 180), // 25 (unused slot)
    RGB(0, 0, 128), // 26 hot-tracked item
    RGB(166, 202, 240), // 27 active caption gradient
    RGB(192, 192, 192), // 28 inactive caption gradient
    RGB(49, 106, 197), // 29 menu highlight
    RGB(212, 208, 200), // 30 menu bar
};

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= static_cast<int>(kStandardScheme.size()))
        return clBlack;
    return kStandardScheme[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

std::uint32_t ColorToPixel(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return (static_cast<std::uint32_t>(GetRValue(rgb)) << 16)
        | (static_cast<std::uint32_t>(GetGValue(rgb)) << 8)
        | static_cast<std::uint32_t>(GetBValue(rgb));
}

QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}
