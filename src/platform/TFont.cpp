// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TFont.h"

#include "platform/FontInfo.h"
#include "platform/Property.h"

#include <cstdlib>

TFont::TFont()
    : FName(QStringLiteral("ＭＳ Ｐゴシック"))
    , FHeight(-12)
{ }

void TFont::SetName(const QString& value)
{
    if (StoreIfChanged(FName, value))
        Changed();
}

void TFont::SetHeight(int value)
{
    if (StoreIfChanged(FHeight, value))
        Changed();
}

int TFont::Size() const
{
    return FontInfo::PixelsToPoints(-FHeight);
}

void TFont::SetSize(int value)
{
    SetHeight(-FontInfo::PointsToPixels(value));
}

void TFont::SetStyle(TFontStyles value)
{
    if (StoreIfChanged(FStyle, value))
        Changed();
}

void TFont::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        Changed();
}

void TFont::Assign(const TFont& other)
{
    if (*this == other)
        return;
    FName = other.FName;
    FHeight = other.FHeight;
    FStyle = other.FStyle;
    FColor = other.FColor;
    Changed();
}

QFont TFont::ToQFont() const
{
    // A positive height includes the internal leading; Qt sizes by the em, so both map to it.
    QFont font = FontInfo::MakeFont(FName, std::abs(FHeight), FStyle & fsBold);
    font.setItalic(FStyle & fsItalic);
    font.setUnderline(FStyle & fsUnderline);
    font.setStrikeOut(FStyle & fsStrikeOut);
    return font;
}

bool TFont::operator==(const TFont& other) const
{
    return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle
        && FColor == other.FColor;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}
