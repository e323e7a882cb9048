// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

#include <cstdint>

// A colour as the layout and the logo files store it: 0x00BBGGRR, or a system colour index
// with the top byte 0x80, or clNone.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clOlive = 0x00008080;
constexpr TColor clNavy = 0x00800000;
constexpr TColor clPurple = 0x00800080;
constexpr TColor clTeal = 0x00808000;
constexpr TColor clGray = 0x00808080;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clLime = 0x0000FF00;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clFuchsia = 0x00FF00FF;
constexpr TColor clAqua = 0x00FFFF00;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor SystemColor(int index)
{
    return 0x80000000u | static_cast<TColor>(index);
}

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr bool IsSystemColor(TColor color)
{
    return (color & 0xFF000000u) == 0x80000000u;
}

// The current RGB value (0x00BBGGRR) of a system colour index; unknown indexes give black.
TColor GetSysColor(int index);

// Resolves a system colour to its RGB value (0x00BBGGRR); other values are returned unchanged.
TColor ColorToRGB(TColor color);

// The pixel word 0x00RRGGBB of a colour, as 32-bit image rows hold it.
std::uint32_t ColorToPixel(TColor color);

// The Qt colour of a TColor (system colours resolved, clNone transparent).
QColor ToQColor(TColor color);

// The TColor (0x00BBGGRR) of a Qt colour.
TColor FromQColor(const QColor& color);

constexpr int GetRValue(TColor rgb)
{
    return static_cast<int>(rgb & 0xFF);
}
constexpr int GetGValue(TColor rgb)
{
    return static_cast<int>((rgb >> 8) & 0xFF);
}
constexpr int GetBValue(TColor rgb)
{
    return static_cast<int>((rgb >> 16) & 0xFF);
}
constexpr TColor RGB(int r, int g, int b)
{
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8)
        | (static_cast<TColor>(b & 0xFF) << 16);
}
