// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controls/ShineTypes.h"
#include "platform/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

class QPainter;

// One look's colours: a flat or gradient background and the three frame colours.
struct TShineColorSet
{
    TColor Color = clBtnFace;
    TColor GradColor = clBlue;
    bool Gradation = false;
    bool GradVertical = false;
    TColor Highlight = clBtnHighlight;
    TColor Shadow = clBtnShadow;
    TColor DarkShadow = clWindowFrame;
};

// A caption font as drawn: the resolved face and its colour.
struct TShineCaptionFont
{
    QFont Font;
    TColor Color = clBtnText;
};

// Everything a shine button's paint reads, as a plain value, so that it can be drawn without
// the widget.
struct TShineButtonLook
{
    QSize Size;
    TShineDrawState State = shsUp;
    bool Transparent = false;
    TFrameType FrameType = ftNormalFrame;
    bool ActiveFrame = true;
    bool UpFrame = true;
    bool DownFrame = true;
    TActiveImageType ActiveImage = aiFrameLight;
    TDisabledImageType DisabledImage = diDefault;
    TColor DisabledHighlight = clBtnHighlight;
    TColor DisabledShadow = clBtnShadow;
    // Up looks and down looks.
    TShineColorSet Colors;
    TShineColorSet PressedColors;
    TColor ShineColor = clYellow;
    // Plain looks and active (mouse-over) looks.
    TShineCaptionFont Font;
    TShineCaptionFont ActiveFont;
    TColor FontHighlight = clNone;
    TColor FontShadow = clNone;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    // Format_RGB32, or null for none.
    QImage Glyph;
    QString Caption;
};

// The glyph in the form one look draws it.
struct TStateGlyph
{
    QImage Image; // RGB32; for the disabled edge mask black and white
    std::uint32_t TransparentColor; // pixel word left out when drawing
    bool EdgeMask = false; // drawn through the disabled colours, not copied
};

// Where a shine button puts its glyph and caption, in client coordinates.
struct TDrawPosition
{
    QPoint GlyphPos;
    QRect TextRect;
    bool operator==(const TDrawPosition&) const = default;
};

// Draws a shine button's look: background, glyph and caption, then the frame. Holds no widget,
// so a test or an export can paint any look offscreen.
class TShineButtonPainter
{
public:
    explicit TShineButtonPainter(TShineButtonLook look);

    // The whole button with its top-left at the canvas origin; a transparent look paints over
    // what the canvas holds, an opaque one replaces it.
    void Paint(QPainter& Canvas) const;
    void BackDraw(QPainter& Canvas) const;
    void ImageDraw(QPainter& Canvas) const;
    void FrameDraw(QPainter& Canvas) const;

    // The glyph as the look draws it, or none for an empty glyph.
    std::optional<TStateGlyph> CreateStateGlyph() const;
    // The caption's extent in `CanvasFont`; 0 x 0 without a caption.
    QSize MeasureCaption(const QFont& CanvasFont) const;
    // The glyph's extent; 0 x 0 without a glyph.
    QSize GlyphSize() const;
    // Glyph top-left and caption rectangle in a client area of size `Client`. The parts (a part
    // of size 0 x 0 takes no part) are stacked along `Layout` with `Spacing` between them, each
    // centred across the block; the block is centred, or held `Margin` pixels from the glyph's
    // side when Margin is 0 or more. Pure arithmetic: no font, no widget.
    static TDrawPosition CalcDrawPosition(QSize Client, QSize Glyph, QSize Text,
                                          TButtonLayout Layout, int Margin, int Spacing);

private:
    void Compose(QPainter& Canvas) const;
    void GlyphDraw(QPainter& Canvas, const TStateGlyph& Glyph, QPoint At) const;
    void CaptionDraw(QPainter& Canvas, const TShineCaptionFont& Font, QRect At) const;
    bool FrameShown() const;

    TShineButtonLook FLook;
};
