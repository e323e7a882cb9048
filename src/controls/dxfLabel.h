// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"
#include "render/CaptionMask.h"
#include "render/LogoLook.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;
class TdxfLabel;

// The three-dimensional shadow of a TdxfLabel: the shadow's settings of the label's look. Every
// change repaints the owning label.
class Tdxf3DEffect
{
public:
    Tdxf3DEffect(TdxfLabel* owner, LogoLook& look);

    TdxfEffectStyle Style() const { return FLook.effectStyle; }
    void SetStyle(TdxfEffectStyle value);

    // Not range-checked: an unknown direction has no offset.
    TdxfOrientation Orientation() const { return FLook.orientation; }
    void SetOrientation(TdxfOrientation value);

    std::uint16_t Depth() const { return std::uint16_t(FLook.depth); }
    void SetDepth(std::uint16_t value);

    TColor ShadowedColor() const { return FLook.shadowColor; }
    void SetShadowedColor(TColor value);

    // Copies the four settings, repainting the owner once per changed setting.
    void Assign(const Tdxf3DEffect& other);

    // The shadow offset (dx, dy) in screen pixels for the current orientation and depth.
    QPoint Offset() const;

private:
    void Changed();

    TdxfLabel* FOwner;
    LogoLook& FLook;
};

// The logo label: one line of text centred in the control, rotated, styled, with an optional
// shadow and texture. It is a window-less child widget; with Transparent on, the parent's
// drawing shows through wherever the composed picture has the background colour. It holds its
// look as one LogoLook, which its properties read and write and its paint hands to LogoPainter.
class TdxfLabel : public QWidget
{
    Q_OBJECT

public:
    explicit TdxfLabel(QWidget* parent = nullptr);
    ~TdxfLabel() override;

    QString Caption() const { return FLook.caption; }
    void SetCaption(const QString& value);

    TFont* Font() { return &FFont; }
    const TFont* Font() const { return &FFont; }

    // With ParentColor on, this is the parent's colour.
    TColor Color() const;
    // Turns ParentColor off.
    void SetColor(TColor value);

    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    // Sizes the control to the unrotated caption whenever the caption or the font changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    TdxfLabelStyle Style() const { return FLook.style; }
    void SetStyle(TdxfLabelStyle value);

    int Angle() const { return FLook.angle; }
    void SetAngle(int value);
    // Whether the face can turn by `value`: only an outline (TrueType) face turns. Asking a
    // bitmap face to turn beeps and explains, as SetAngle does when it refuses.
    bool AngleAllowed(int value);

    Tdxf3DEffect* Effect3D() { return &FEffect3D; }
    const Tdxf3DEffect* Effect3D() const { return &FEffect3D; }
    void SetEffect3D(const Tdxf3DEffect& value) { FEffect3D.Assign(value); }

    // The texture. Contents loaded straight into it show at the next repaint.
    QImage* Glyph() { return &FLook.texture; }
    const QImage* Glyph() const { return &FLook.texture; }
    // Copies the picture; an empty one removes the texture.
    void SetGlyph(const QImage& value);

    int PenWidth() const { return FLook.penWidth; }
    void SetPenWidth(int value);

    // The bend of the caption's outline (see TextWarp); the amount matters only with a warp.
    TLogoWarp Warp() const { return FLook.warp; }
    void SetWarp(TLogoWarp value);
    int WarpAmount() const { return FLook.warpAmount; }
    void SetWarpAmount(int value);

    // Rings, gradient fill, soft shadow, glow and letter spacing.
    const LogoDecorations& Decorations() const { return FLook.decorations; }
    void SetDecorations(const LogoDecorations& value);

    // A second line beside the caption, and both set top to bottom.
    const LogoTagline& Tagline() const { return FLook.tagline; }
    void SetTagline(const LogoTagline& value);
    bool Vertical() const { return FLook.vertical; }
    void SetVertical(bool value);

    // Draws the stacked shadow layers from one rendering of the caption instead of one text
    // draw per layer. On by default; off gives the plain layer-by-layer drawing.
    bool CompositeLayers() const { return FCompositeLayers; }
    void SetCompositeLayers(bool value) { FCompositeLayers = value; }

    // Step s of n from a towards b, per channel, truncated. System colours are not resolved.
    static TColor GetColor(TColor a, TColor b, int s, int n);

    // Everything the label draws, as a value that LogoPainter paints without the widget: the
    // look it holds, with the parent's colour where the label takes it.
    LogoLook Look() const;
    // Holds `look`, so that Look() gives it back; the engraved base stays the parent's colour,
    // and so does the background while the look's is the parent's. Repaints only when something
    // changed, and never asks about the angle: a look has already settled it for its face.
    void SetLook(const LogoLook& look);

    // The top-left corner of the unrotated text cell (the pivot of the rotation) that puts the
    // centre of a text of `text` size, turned by `angle` degrees, on the centre of `area`.
    static QPoint TextOrigin(QSize area, QSize text, int angle);

    // Paints the label at (0, 0) of `painter` exactly as on screen. Transparent, it leaves the
    // painter's pixels under the background colour untouched and blends the antialiased edges
    // of letters and shadows with them.
    void PaintTo(QPainter& painter);
    // Paints into `image` (at its top-left); a transparent label paints over what it holds.
    void PaintTo(QImage& image);

    // The off-screen picture shared by every label; it only grows.
    static const QImage& DrawBmp();

    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                       int Y)>
        OnMouseDown;
    std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                       int Y)>
        OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void FontChanged();
    void AdjustBounds();
    TColor ParentsColor() const;

    // What the label draws; the colour is its own, used while ParentColor is off.
    LogoLook FLook;
    // The look's face and text colour as the font object callers change.
    TFont FFont;
    bool FParentColor = true;
    bool FParentFont = false;
    bool FTransparent = false;
    bool FAutoSize = false;
    Tdxf3DEffect FEffect3D;
    bool FCompositeLayers = true;
    // The caption's coverage, kept while a slider of colour, depth or direction moves.
    CaptionMask FCaptionMask;
    bool FPressed = false;
};
