// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>

// Font style bits, as one byte: bold 1, italic 2, underline 4, strike-out 8.
enum TFontStyle : std::uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = std::uint8_t;

// A font as controls own it: face, pixel height, style bits and colour, reporting every change
// to its owner through OnChange. Height follows the layout's sign convention: a negative height
// is the character height in pixels (-12 = 12-pixel characters); Size() is in points at 96 dpi.
class TFont
{
public:
    TFont();

    QString Name() const { return FName; }
    void SetName(const QString& value);

    int Height() const { return FHeight; }
    void SetHeight(int value);

    int Size() const;
    void SetSize(int value);

    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // Copies face, height, style and colour; reports one change when anything differs.
    void Assign(const TFont& other);

    // The Qt font (face resolved through the substitutions), antialiased.
    QFont ToQFont() const;

    bool operator==(const TFont& other) const;

    std::function<void()> OnChange;

private:
    void Changed();

    QString FName;
    int FHeight;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
};
