// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QPainter;

enum TGradStyle : std::uint8_t {
    gsTopBottom = 0,
    gsBottomTop = 1,
    gsLeftRight = 2,
    gsRightLeft = 3,
    gsNone = 4,
};

enum TFontStyle3D : std::uint8_t {
    fsLowShadow = 0,
    fsRaiseShadow = 1,
    fsLow3D = 2,
    fsRaise3D = 3,
};

// A window-less box filled with a two-colour gradient of 256 bands, with an optional outline
// and a caption in one of four three-dimensional styles. The main window's frame bars.
class TGradBox : public QWidget
{
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    explicit TGradBox(QWidget* parent = nullptr);

    int CaptionLeft() const { return FCaptionLeft; }
    void SetCaptionLeft(int value);
    int CaptionTop() const { return FCaptionTop; }
    void SetCaptionTop(int value);
    TColor BackFont() const { return FBackFont; }
    void SetBackFont(TColor value);
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor value);
    TColor LastColor() const { return FLastColor; }
    void SetLastColor(TColor value);
    TColor OutLineColor() const { return FOutLineColor; }
    void SetOutLineColor(TColor value);
    bool Font3D() const { return FFont3D; }
    void SetFont3D(bool value);
    bool DrawOutLine() const { return FDrawOutLine; }
    void SetDrawOutLine(bool value);
    std::uint8_t FontDepth() const { return FFontDepth; }
    void SetFontDepth(std::uint8_t value);
    TFontStyle3D Style3D() const { return FStyle3D; }
    void SetStyle3D(TFontStyle3D value);
    TGradStyle GradStyle() const { return FGradStyle; }
    void SetGradStyle(TGradStyle value);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);

    // The caption font; its changes repaint the box.
    TFont* Font() { return &FFont; }
    const TFont* Font() const { return &FFont; }

    // Splits a colour into its channel bytes; system colours 0 to 24 are resolved first.
    static void GetRGB(TColor Color, int& R, int& G, int& B);

    // Fills the band colours for a style; gsNone leaves them as they are.
    void SetColarray(TColor TopColor, TColor LastColor, TGradStyle GradStyle);
    const std::array<TColor, 256>& ColArray() const { return FColArray; }

    // Band `Index` (0 to 255) of the gradient along a side `Length` pixels long: its first
    // pixel and its extent. Bands overlap, so a pixel shows the last band that covers it.
    struct TBand
    {
        int Start;
        int Extent;
        bool operator==(const TBand&) const = default;
    };
    static TBand BandAt(int Index, int Length);

    // Paints the whole box in its own coordinates; paintEvent and offscreen tests share it.
    void PaintTo(QPainter& painter);
    void DrawCaptionText(QPainter& painter, const QRect& Rect);

    TNotifyEvent OnPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FillBands(QPainter& painter);

    int FCaptionLeft = 10;
    int FCaptionTop = 10;
    TColor FBackFont = clYellow;
    TColor FTopColor = clGreen;
    TColor FLastColor = clLime;
    TColor FOutLineColor = clBlack;
    bool FFont3D = false;
    bool FDrawOutLine = false;
    std::uint8_t FFontDepth = 1;
    TFontStyle3D FStyle3D = fsRaise3D;
    TGradStyle FGradStyle = gsTopBottom;
    std::array<TColor, 256> FColArray {};
    QString FCaption;
    TFont FFont;
};
