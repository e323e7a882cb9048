#include "framework/TFont.h"

#include "platform/FontInfo.h"

#include <cstdlib>

TFont::TFont()
    : FName(QStringLiteral("ＭＳ Ｐゴシック"))
    , FHeight(-12)
{
}

void TFont::SetName(const QString& name)
{
    if (FName == name)
        return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    if (FHeight == height)
        return;
    FHeight = height;
    Changed();
}

int TFont::Size() const
{
    return FontInfo::PixelsToPoints(-FHeight);
}

void TFont::SetSize(int points)
{
    SetHeight(-FontInfo::PointsToPixels(points));
}

void TFont::SetStyle(TFontStyles style)
{
    if (FStyle == style)
        return;
    FStyle = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (FColor == color)
        return;
    FColor = color;
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
