// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/GradBox.h"

#include "platform/Property.h"
#include "platform/TextOutput.h"

#include <QPainter>

#include <cmath>
#include <utility>

namespace {

constexpr unsigned kCaptionFormat = DT_WORDBREAK | DT_EXPANDTABS;

// c0 + i * (c1 - c0) / 255 rounded to nearest. The numerator is never negative and the exact
// value is never halfway (255 is odd), so integer arithmetic gives the rounded value.
int BandChannel(int c0, int c1, int i)
{
    const int numerator = c0 * 255 + i * (c1 - c0);
    return (2 * numerator + 255) / 510;
}

} // namespace

TGradBox::TGradBox(QWidget* parent)
    : QWidget(parent)
{
    resize(200, 100);
    FFont.OnChange = [this] {
        update();
    };
}

void TGradBox::SetCaptionLeft(int value)
{
    if (StoreIfChanged(FCaptionLeft, value))
        update();
}

void TGradBox::SetCaptionTop(int value)
{
    if (StoreIfChanged(FCaptionTop, value))
        update();
}

void TGradBox::SetBackFont(TColor value)
{
    // Back layers exist only on a three-dimensional caption.
    if (StoreIfChanged(FBackFont, value) && FFont3D)
        update();
}

void TGradBox::SetTopColor(TColor value)
{
    if (StoreIfChanged(FTopColor, value))
        update();
}

void TGradBox::SetLastColor(TColor value)
{
    if (StoreIfChanged(FLastColor, value))
        update();
}

void TGradBox::SetOutLineColor(TColor value)
{
    if (StoreIfChanged(FOutLineColor, value) && FDrawOutLine)
        update();
}

void TGradBox::SetFont3D(bool value)
{
    if (StoreIfChanged(FFont3D, value))
        update();
}

void TGradBox::SetDrawOutLine(bool value)
{
    if (StoreIfChanged(FDrawOutLine, value))
        update();
}

void TGradBox::SetFontDepth(std::uint8_t value)
{
    if (StoreIfChanged(FFontDepth, value) && FFont3D)
        update();
}

void TGradBox::SetStyle3D(TFontStyle3D value)
{
    if (StoreIfChanged(FStyle3D, value))
        update();
}

void TGradBox::SetGradStyle(TGradStyle value)
{
    if (StoreIfChanged(FGradStyle, value))
        update();
}

void TGradBox::SetCaption(const QString& value)
{
    if (StoreIfChanged(FCaption, value))
        update();
}

void TGradBox::GetRGB(TColor Color, int& R, int& G, int& B)
{
    if (Color >= SystemColor(0) && Color <= SystemColor(24))
        Color = GetSysColor(int(Color & 0xFF));
    R = GetRValue(Color);
    G = GetGValue(Color);
    B = GetBValue(Color);
}

void TGradBox::SetColarray(TColor TopColor, TColor LastColor, TGradStyle GradStyle)
{
    TColor start = TopColor;
    TColor end = LastColor;
    switch (GradStyle) {
    case gsTopBottom:
    case gsLeftRight:
        break;
    case gsBottomTop:
    case gsRightLeft:
        std::swap(start, end);
        break;
    default:
        return;
    }
    int r0, g0, b0, r1, g1, b1;
    GetRGB(start, r0, g0, b0);
    GetRGB(end, r1, g1, b1);
    // The end entries keep the colours as stored, so a system colour stays one.
    FColArray[0] = start;
    FColArray[255] = end;
    for (int i = 1; i < 255; ++i)
        FColArray[i] = RGB(BandChannel(r0, r1, i), BandChannel(g0, g1, i), BandChannel(b0, b1, i));
}

TGradBox::TBand TGradBox::BandAt(int Index, int Length)
{
    const double step = Length / 255.0;
    // Each band starts where the previous one would (i - 1, not i): bands 0 and 1 coincide and
    // every band reaches into the next.
    const int start = Index == 0 ? 0 : int(std::lrint((Index - 1) * step));
    return {start, int(std::lrint(step + 1))};
}

void TGradBox::FillBands(QPainter& painter)
{
    const bool vertical = FGradStyle == gsTopBottom || FGradStyle == gsBottomTop;
    const bool horizontal = FGradStyle == gsLeftRight || FGradStyle == gsRightLeft;
    if (!vertical && !horizontal)
        return;
    const int length = vertical ? height() : width();
    const int across = vertical ? width() : height();
    for (int i = 0; i <= 255; ++i) {
        const TBand band = BandAt(i, length);
        const QRect r = vertical ? QRect(0, band.Start, across, band.Extent)
                                 : QRect(band.Start, 0, band.Extent, across);
        painter.fillRect(r, ToQColor(FColArray[i]));
    }
}

void TGradBox::PaintTo(QPainter& painter)
{
    SetColarray(FTopColor, FLastColor, FGradStyle);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    FillBands(painter);
    if (FDrawOutLine) {
        painter.setPen(QPen(ToQColor(FOutLineColor), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
    painter.restore();
    DrawCaptionText(painter,
                    QRect(QPoint(FCaptionLeft, FCaptionTop), QPoint(width() - 1, height() - 1)));
    if (OnPaint)
        OnPaint(this);
}

void TGradBox::DrawCaptionText(QPainter& painter, const QRect& Rect)
{
    const QFont font = FFont.ToQFont();
    auto draw = [&](int dx, int dy, TColor color) {
        QRect r = Rect.translated(dx, dy);
        painter.setPen(ToQColor(color));
        DrawText(&painter, font, FCaption, r, kCaptionFormat);
    };
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (!isEnabled()) {
        draw(1, 1, clWhite);
        draw(0, 0, clGray);
    } else if (FFont3D) {
        const int depth = FFontDepth;
        switch (FStyle3D) {
        case fsLowShadow:
            draw(depth, depth, FBackFont);
            break;
        case fsRaiseShadow:
            draw(-depth, -depth, FBackFont);
            break;
        case fsLow3D:
            for (int d = 1; d <= depth; ++d)
                draw(d, d, FBackFont);
            break;
        case fsRaise3D:
            for (int d = 1; d <= depth; ++d)
                draw(-d, -d, FBackFont);
            break;
        }
        draw(0, 0, FFont.Color());
    } else {
        draw(0, 0, FFont.Color());
    }
    painter.restore();
}

void TGradBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
