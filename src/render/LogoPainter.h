// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLayout.h"
#include "render/LogoLook.h"
#include "render/TextWarp.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CaptionMask;
class DecorationPainter;
class QPainter;
class TextBlock;
struct TextPlacement;

// Draws a logo label onto any 32-bit QImage without a widget: the placement of the turned text,
// then the parts LogoLayout lays out (shadow layers, rims, face, texture), in that order. It holds
// no shared state, so any thread may paint with its own instance.
//
// At scale s every preview pixel becomes s × s device pixels: the text is drawn from the font at
// s times its size, offsets and rims are s times as wide, and a stepped shadow of depth D is
// drawn as D × s layers one device pixel apart, so it shows no stairs. Scale 1 is the preview.
class LogoPainter
{
public:
    // `labelSize` in preview pixels; `scale` from 1 up.
    LogoPainter(const LogoLook& look, QSize labelSize, int scale = 1);

    // Paints the label opaque, background included. `target` is Format_RGB32 (or premultiplied
    // ARGB); the label's top-left corner lands at `origin` (device pixels, may lie outside the
    // target) and only pixels inside `clip` change.
    void PaintOpaque(QImage& target, QPoint origin, const QRect& clip) const;

    // Paints the label with its background colour shown as `ground`: the background itself and
    // every ink of exactly that colour (a face or a shadow layer in the background colour is
    // background). A transparent ground needs Format_ARGB32_Premultiplied and gives what
    // PaintTransparent() does before it keys out what the face and a flat shadow leave showing
    // the background colour.
    void PaintOn(QImage& target, QPoint origin, const QRect& clip, const QColor& ground) const;

    // Paints the label onto Format_ARGB32_Premultiplied over transparency: every layer, the face
    // and the texture composited with their coverage, in one pass. Composited over any colour X
    // it gives PaintOn() with ground X; the background and ink of the background colour are
    // fully transparent.
    void PaintTransparent(QImage& target, QPoint origin, const QRect& clip) const;

    // Paints the label onto Format_ARGB32_Premultiplied keyed on the opaque picture: what that
    // shows exactly as the background colour is fully transparent, the rest is the opaque
    // picture unmixed from the background over the layers' joint coverage. Composited over the
    // background colour it gives the opaque picture exactly, which is what the see-through
    // preview label and a background picture need. The opaque picture is composed first in
    // `opaque` (Format_RGB32, same coordinates as `target`) when it covers the area, else in a
    // picture of its own.
    void PaintKeyed(QImage& target, QPoint origin, const QRect& clip,
                    QImage* opaque = nullptr) const;

    // Keeps the caption's coverage between paints; null draws it anew every paint. The cache
    // must outlive the painter's paints.
    void SetMaskCache(CaptionMask* cache) { FMaskCache = cache; }
    CaptionMask* MaskCache() const { return FMaskCache; }

    // Draws the shadow and the face from one rendering of the caption instead of one text draw
    // per layer (the same picture within one level). On by default.
    bool CompositeLayers() const { return FCompositeLayers; }
    void SetCompositeLayers(bool value) { FCompositeLayers = value; }

    // Whether the face resolves to an outline font, and so whether it can turn and be textured.
    bool TrueType() const { return FTrueType; }
    bool TextureFill() const { return FTextureFill; }
    // The label in device pixels.
    QSize DeviceSize() const { return FLabelSize * FScale; }
    int Scale() const { return FScale; }
    // Where every layer's caption is drawn when the label's top-left corner lands at `origin`:
    // the one placement the raster and the vector outlines share. The outline of a warped
    // caption is made by TextPlacement::Within, for the part a picture can show.
    TextPlacement Placement(QPoint origin) const;

    // The parts of the label as this painter draws them: over nothing, a gradation toward the
    // background colour fades out.
    LogoLayout Layout() const;
    // The colour of each copy of a shadow part, nearest first, as premultiplied ARGB32 words
    // (0xFFRRGGBB when painted opaque).
    std::vector<std::uint32_t> ShadowWords(const LogoPart& shadow) const;

    const LogoLook& Look() const { return FLook; }
    // A colour as drawn, as a premultiplied ARGB32 word: white when only the coverage is
    // painted, the ground for the background colour.
    std::uint32_t InkWord(TColor colour) const;
    bool OverTransparency() const;
    // Whether every layer is painted in white, so that the alpha channel holds their coverage.
    bool PaintsCoverage() const { return FCoverage; }

    // Step s of n from a towards b, per channel, truncated. System colours are not resolved.
    static TColor GetColor(TColor a, TColor b, int s, int n)
    {
        return LogoLayout::GetColor(a, b, s, n);
    }

    // The top-left corner of the unrotated text cell (the pivot of the rotation) that puts the
    // centre of a text of `text` size, turned by `angle` degrees, on the centre of `area`.
    static QPoint TextOrigin(QSize area, QSize text, int angle);

    // The top-left `size` device pixels (or fewer) of `texture` scaled by `scale`: the same pixels
    // as that corner of the whole texture scaled, without scaling the whole of a large texture
    // for the small part of it a picture shows. The corner keeps the whole's sampling grid, and
    // two more source pixels keep the crop's edge out of the pixels returned.
    static QImage ScaledCorner(const QImage& texture, int scale, QSize size);

private:
    // Where the caption's coverage lies in device pixels.
    struct TMask
    {
        QImage image;
        QPoint topLeft;
    };

    // The background filled and the layers painted; what the painter drew over the stacked
    // layers and copies lies in the rectangle returned.
    QRect PaintGround(QImage& target, QPoint origin, const QRect& clip, const QColor& ground) const;
    QRect PaintLayers(QImage& target, QPoint origin, const QRect& area) const;
    // Where the face, the texture and a flat shadow may draw.
    QRect DrawnOverStack(const TMask& mask, const LogoLayout& layout) const;
    // Each part with one text draw (a stepped shadow one per layer).
    void PaintDrawn(QImage& target, const QRect& area, const TextPlacement& placement,
                    QPoint origin, const LogoLayout& layout) const;
    void PaintShadow(QImage& target, const QRect& area, const TextPlacement& placement,
                     const LogoPart& shadow) const;
    // Each part from one rendering of the caption; what the painter draws over those blends
    // lies in the rectangle returned.
    QRect PaintBlended(QImage& target, const QRect& area, const TextPlacement& placement,
                       QPoint origin, const LogoLayout& layout) const;
    TMask MaskFor(const TextPlacement& placement, const QRect& area, const LogoPart* shadow) const;
    void BlendShadow(QImage& target, const QRect& area, const TMask& mask,
                     const LogoPart& shadow) const;
    // One copy of the caption moved by `offset`, in a premultiplied word; over transparency what
    // it leaves showing the background colour is cleared.
    void BlendCopy(QImage& target, const QRect& area, const TMask& mask, QPoint offset,
                   std::uint32_t word) const;
    void PaintTexture(QPainter& painter, const QRect& area, const TextPlacement& placement,
                      QPoint origin, QPoint offset) const;
    void DrawInk(QPainter& painter, const TextPlacement& placement, QPoint offset,
                 TColor colour) const;
    void StrokeOutline(QPainter& painter, const TextPlacement& placement,
                       const LogoPart& outline) const;
    // A colour as drawn: white when only the coverage is painted, the ground for the background
    // colour.
    QColor Ink(TColor colour) const;

    LogoLook FLook;
    QSize FLabelSize;
    int FScale;
    QFont FDeviceFont;
    // The text cell's top-left corner in the label and its baseline below it, device pixels.
    QPoint FTextOrigin;
    int FBaseline = 0;
    // The bend of a warped caption, in the text's frame; none when it is straight.
    std::optional<TextWarp> FWarp;
    // A caption with a tagline or set down, laid out to measure its cell.
    std::shared_ptr<const TextBlock> FBlock;
    bool FTrueType = false;
    bool FTextureFill = false;
    bool FCompositeLayers = true;
    // Paints every layer in white, so that the alpha channel holds their joint coverage.
    bool FCoverage = false;
    // What the background colour is shown as.
    QColor FGround;
    CaptionMask* FMaskCache = nullptr;
};
