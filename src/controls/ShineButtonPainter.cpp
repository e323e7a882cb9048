// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineButtonPainter.h"

#include "controls/ShineGlyphEffects.h"
#include "platform/TextOutput.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr unsigned kCaptionFormat = DT_CENTER | DT_VCENTER;

// A one-pixel line from a up to but not including b; frame lines are all horizontal or vertical.
void Line(QPainter& canvas, QPoint a, QPoint b, TColor color)
{
    const QColor c = ToQColor(color);
    if (a.y() == b.y() && a.x() != b.x()) {
        const int left = a.x() < b.x() ? a.x() : b.x() + 1;
        canvas.fillRect(left, a.y(), std::abs(b.x() - a.x()), 1, c);
    } else if (a.x() == b.x() && a.y() != b.y()) {
        const int top = a.y() < b.y() ? a.y() : b.y() + 1;
        canvas.fillRect(a.x(), top, 1, std::abs(b.y() - a.y()), c);
    }
}

// The two lines of a frame corner, both starting at `corner`.
void Corner(QPainter& canvas, QPoint corner, QPoint horizontalEnd, QPoint verticalEnd, TColor color)
{
    Line(canvas, corner, horizontalEnd, color);
    Line(canvas, corner, verticalEnd, color);
}

void Outline(QPainter& canvas, int w, int h, TColor color)
{
    const QColor c = ToQColor(color);
    canvas.fillRect(0, 0, w, 1, c);
    canvas.fillRect(0, h - 1, w, 1, c);
    canvas.fillRect(0, 0, 1, h, c);
    canvas.fillRect(w - 1, 0, 1, h, c);
}

bool TakesPart(QSize size)
{
    return size.width() > 0 || size.height() > 0;
}

// The top-left corner of a block of size `block`: centred, or held at the margin on the glyph's
// side.
QPoint BlockOrigin(QSize client, QSize block, TButtonLayout layout, int margin)
{
    QPoint origin((client.width() - block.width()) / 2, (client.height() - block.height()) / 2);
    if (margin < 0)
        return origin;
    switch (layout) {
    case blGlyphLeft:
        origin.setX(margin);
        break;
    case blGlyphRight:
        origin.setX(client.width() - block.width() - margin);
        break;
    case blGlyphTop:
        origin.setY(margin);
        break;
    case blGlyphBottom:
        origin.setY(client.height() - block.height() - margin);
        break;
    }
    return origin;
}

} // namespace

TShineButtonPainter::TShineButtonPainter(TShineButtonLook look)
    : FLook(std::move(look))
{ }

void TShineButtonPainter::Paint(QPainter& Canvas) const
{
    Canvas.save();
    if (FLook.Transparent) {
        Compose(Canvas);
    } else {
        // Composed off-screen and copied in one step, so the button never flickers.
        QImage offscreen(FLook.Size, QImage::Format_RGB32);
        offscreen.fill(Qt::black);
        {
            QPainter off(&offscreen);
            Compose(off);
        }
        Canvas.drawImage(0, 0, offscreen);
    }
    Canvas.restore();
}

void TShineButtonPainter::Compose(QPainter& Canvas) const
{
    BackDraw(Canvas);
    ImageDraw(Canvas);
    FrameDraw(Canvas);
}

void TShineButtonPainter::BackDraw(QPainter& Canvas) const
{
    if (FLook.Transparent)
        return;
    const TShineColorSet& set = IsDownLook(FLook.State) ? FLook.PressedColors : FLook.Colors;
    const int w = FLook.Size.width();
    const int h = FLook.Size.height();
    if (!set.Gradation) {
        Canvas.fillRect(0, 0, w, h, ToQColor(set.Color));
        return;
    }
    const ShineGlyph::TRamp ramp =
        ShineGlyph::MakeRamp(ColorToPixel(set.Color), ColorToPixel(set.GradColor));
    // Whole rows or columns of the ramp, repeated or dropped, no blending.
    const bool vertical = set.GradVertical;
    const int extent = vertical ? h : w;
    for (int d = 0; d < extent; ++d) {
        const QColor c =
            QColor::fromRgb(ramp[static_cast<std::size_t>(ShineGlyph::RampIndex(d, extent))]);
        if (vertical)
            Canvas.fillRect(0, d, w, 1, c);
        else
            Canvas.fillRect(d, 0, 1, h, c);
    }
}

void TShineButtonPainter::ImageDraw(QPainter& Canvas) const
{
    const TShineCaptionFont& font = IsActiveLook(FLook.State) ? FLook.ActiveFont : FLook.Font;
    TDrawPosition at = CalcDrawPosition(FLook.Size, GlyphSize(), MeasureCaption(font.Font),
                                        FLook.Layout, FLook.Margin, FLook.Spacing);
    // A pressed button sinks its content, not its frame.
    if (IsDownLook(FLook.State)) {
        at.GlyphPos += QPoint(1, 1);
        at.TextRect.translate(1, 1);
    }
    if (const std::optional<TStateGlyph> glyph = CreateStateGlyph())
        GlyphDraw(Canvas, *glyph, at.GlyphPos);
    if (!FLook.Caption.isEmpty())
        CaptionDraw(Canvas, font, at.TextRect);
}

void TShineButtonPainter::GlyphDraw(QPainter& Canvas, const TStateGlyph& Glyph, QPoint At) const
{
    if (!Glyph.EdgeMask) {
        Canvas.drawImage(At, ShineGlyph::WithoutColor(Glyph.Image, Glyph.TransparentColor));
        return;
    }
    // Embossed: light one pixel down-right, dark on top.
    Canvas.drawImage(At + QPoint(1, 1),
                     ShineGlyph::MaskBrush(Glyph.Image, ToQColor(FLook.DisabledHighlight)));
    Canvas.drawImage(At, ShineGlyph::MaskBrush(Glyph.Image, ToQColor(FLook.DisabledShadow)));
}

void TShineButtonPainter::CaptionDraw(QPainter& Canvas, const TShineCaptionFont& Font,
                                      QRect At) const
{
    auto drawCaption = [&](TColor color, QRect rect) {
        Canvas.setPen(ToQColor(color));
        DrawText(&Canvas, Font.Font, FLook.Caption, rect, kCaptionFormat);
    };
    TColor color = Font.Color;
    if (FLook.State == shsDisabled) {
        drawCaption(FLook.DisabledHighlight, At.translated(1, 1));
        color = FLook.DisabledShadow;
    } else {
        if (FLook.FontShadow != clNone)
            drawCaption(FLook.FontShadow, At.translated(1, 1));
        if (FLook.FontHighlight != clNone)
            drawCaption(FLook.FontHighlight, At.translated(-1, -1));
    }
    drawCaption(color, At);
}

bool TShineButtonPainter::FrameShown() const
{
    switch (FLook.State) {
    case shsDown:
        return FLook.DownFrame;
    case shsDownActive:
    case shsUpActive:
        return FLook.ActiveFrame;
    case shsUp:
    case shsDisabled:
        return FLook.UpFrame;
    }
    return false;
}

void TShineButtonPainter::FrameDraw(QPainter& Canvas) const
{
    if (!FrameShown())
        return;
    const bool downLook = IsDownLook(FLook.State);
    const TShineColorSet& set = downLook ? FLook.PressedColors : FLook.Colors;
    const int w = FLook.Size.width();
    const int h = FLook.Size.height();
    const QPoint topLeft(0, 0);
    const QPoint bottomRight(w - 1, h - 1);
    // Flat and enclosed frames swap their two colours when down.
    const TColor first = downLook ? set.Shadow : set.Highlight;
    const TColor second = downLook ? set.Highlight : set.Shadow;
    switch (FLook.FrameType) {
    case ftFlatFrame:
        Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, first);
        Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, second);
        break;
    case ftNormalFrame:
        if (downLook) {
            Corner(Canvas, {1, 1}, {w - 1, 1}, {1, h - 1}, set.Shadow);
            Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, set.DarkShadow);
            Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, set.Highlight);
        } else {
            Corner(Canvas, {w - 2, h - 2}, {0, h - 2}, {w - 2, 0}, set.Shadow);
            Corner(Canvas, bottomRight, {0, h - 1}, {w - 1, 0}, set.DarkShadow);
            Corner(Canvas, topLeft, {w - 1, 0}, {0, h - 1}, set.Highlight);
        }
        break;
    case ftEnclosedFrame:
        Corner(Canvas, {1, 1}, {w - 2, 1}, {1, h - 2}, first);
        Corner(Canvas, {w - 2, h - 2}, {1, h - 2}, {w - 2, 1}, second);
        // The enclosing rectangle always takes the up colours.
        Outline(Canvas, w, h, FLook.Colors.DarkShadow);
        break;
    }
}

std::optional<TStateGlyph> TShineButtonPainter::CreateStateGlyph() const
{
    const QImage& glyph = FLook.Glyph;
    if (GlyphSize().isEmpty())
        return std::nullopt;
    TStateGlyph result {glyph.copy(), 0, false};
    switch (FLook.State) {
    case shsDownActive:
    case shsUpActive:
        result.Image =
            ShineGlyph::ActiveGlyph(glyph, FLook.ActiveImage, ColorToPixel(FLook.ShineColor));
        break;
    case shsDisabled:
        result.Image =
            ShineGlyph::DisabledGlyph(glyph, FLook.DisabledImage, ColorToPixel(FLook.Colors.Color));
        result.EdgeMask = FLook.DisabledImage == diDefault;
        break;
    case shsDown:
    case shsUp:
        break;
    }
    // An effect that reached the bottom-left corner moves the transparent colour with it.
    result.TransparentColor = result.EdgeMask ? 0 : ShineGlyph::KeyColor(result.Image);
    return result;
}

QSize TShineButtonPainter::MeasureCaption(const QFont& CanvasFont) const
{
    if (FLook.Caption.isEmpty())
        return {0, 0};
    QRect measured(0, 0, FLook.Size.width(), 0);
    DrawText(nullptr, CanvasFont, FLook.Caption, measured, DT_CALCRECT);
    return measured.size();
}

QSize TShineButtonPainter::GlyphSize() const
{
    const QImage& glyph = FLook.Glyph;
    if (glyph.isNull() || glyph.width() == 0 || glyph.height() == 0)
        return {0, 0};
    return glyph.size();
}

TDrawPosition TShineButtonPainter::CalcDrawPosition(QSize Client, QSize Glyph, QSize Text,
                                                    TButtonLayout Layout, int Margin, int Spacing)
{
    const bool glyph = TakesPart(Glyph);
    const bool text = TakesPart(Text);
    const QSize textSize = text ? Text : QSize(0, 0);
    const bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
    const bool glyphFirst = Layout == blGlyphLeft || Layout == blGlyphTop;
    // Worked out side by side (x along the stack, y across it); a top or bottom glyph swaps the
    // axes going in and coming out.
    auto oriented = [across](QSize size) {
        return across ? size : size.transposed();
    };
    const QSize g = glyph ? oriented(Glyph) : QSize(0, 0);
    const QSize t = oriented(textSize);
    const int gap = glyph && text ? Spacing : 0;

    // Measure: the parts one after the other, each centred across the taller one.
    const int along = g.width() + gap + t.width();
    const int thick = std::max(g.height(), t.height());
    const QPoint glyphAt(glyphFirst ? 0 : t.width() + gap, glyph ? (thick - g.height()) / 2 : 0);
    const QPoint textAt(glyphFirst ? g.width() + gap : 0, text ? (thick - t.height()) / 2 : 0);

    // Arrange: the block centred, or held at the margin on the glyph's side.
    const QPoint origin = BlockOrigin(Client, oriented(QSize(along, thick)), Layout, Margin);
    auto place = [&](QPoint at) {
        return origin + (across ? at : at.transposed());
    };
    return {place(glyphAt), QRect(place(textAt), textSize)};
}
