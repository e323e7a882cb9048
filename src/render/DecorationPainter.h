// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLayout.h"
#include "render/LogoLook.h"
#include "render/TextPlacement.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <vector>

class DecorationCache;
class LogoPainter;

// The decorations of a look drawn around one placement of the caption, at the painter's scale:
// the glow, the rings and the edged silhouette that casts the shadow, the soft shadow and the
// gradient face. Every part is blended from a one-byte mask in a word the painter inks, as the
// face is, so each one paints the same opaque, over transparency and as coverage; a part that
// is off draws nothing.
class DecorationPainter
{
public:
    DecorationPainter(const LogoPainter& painter, const TextPlacement& placement);

    // Whether anything beyond the plain label is drawn (letter spacing aside, which the font
    // carries).
    static bool Any(const LogoDecorations& decorations);
    // How far beyond the letters and their shadow the decorations reach, in device pixels.
    static int Reach(const LogoDecorations& decorations, int scale);
    // `font` with the letter spacing of `spacing` hundredths of its em.
    static void SpaceLetters(QFont& font, int spacing);

    // A glow of `size` grows the edged letters by GlowGrowth and blurs them by a Gaussian of
    // GlowSigma; a shadow's blur is a Gaussian of ShadowSigma; device pixels at `scale`.
    static double GlowGrowth(int size, int scale);
    static double GlowSigma(int size, int scale);
    static double ShadowSigma(int blur, int scale);
    // The widths of the rings, nearest first, then the glow's growth, in device pixels: what
    // EdgeRings grows the letters by.
    static std::vector<double> Growths(const LogoDecorations& decorations, int scale);

    // The face's gradient across the letters' box in the text's own frame, in the placement's
    // device coordinates, its colours as `ink` gives them.
    static QLinearGradient FaceGradient(const LogoLook& look, const TextPlacement& placement,
                                        const std::function<QColor(TColor)>& ink);

    // The glow, blended over the background.
    void PaintGlow(QImage& target, const QRect& area) const;

    // Whether the shadow is cast by something other than the letters as they are, or blurred or
    // faded, so that PaintShadow draws it instead of the painter.
    bool ShapesShadow() const;
    // The painter's shadow part cast by the edged silhouette, blurred and faded.
    void PaintShadow(QImage& target, const QRect& area, const LogoPart& shadowPart) const;

    // One ring part.
    void PaintRing(QImage& target, const QRect& area, const LogoPart& ring) const;

    // The face in the gradient, with the coverage of `mask` (its top-left at `maskTopLeft`).
    void BlendGradient(QImage& target, const QRect& area, const QImage& mask,
                       QPoint maskTopLeft) const;

private:
    // The coverage of `outline` over `region`, one byte per pixel; drawn through `transform`.
    static QImage Coverage(const QPainterPath& outline, const QRect& region);
    static QImage Coverage(const QPainterPath& outline, const QTransform& transform,
                           const QRect& region);
    // The coverage of `outline` over `region` blurred by a Gaussian of `sigma`, at `opacity` %.
    static QImage BlurredCoverage(const QPainterPath& outline, const QRect& region, double sigma,
                                  int opacity);
    // The letters' outline and, when `grown`, the rings' and the glow's: kept or made.
    void TakeOutlines(bool grown);
    // The picture kept in `slot` when it was made from `key`, else the one `make` gives, kept.
    template<class Make>
    const QImage& Kept(int slot, const QByteArray& key, QPoint& topLeft, Make make) const;
    // Blends `mask` in `word` as the painter blends a copy of the caption.
    void Blend(QImage& target, const QRect& area, const QImage& mask, QPoint maskTopLeft,
               std::uint32_t word) const;
    // The letters grown by every ring: what casts the shadow and the glow.
    const QPainterPath& Silhouette() const;
    // The shadow's layers painted over nothing into `layer`: a picture of `spread` on the blur's
    // grid of points `factor` pixels apart (1: the pixels themselves).
    void PaintShadowLayers(QImage& layer, const QRect& spread, int factor,
                           const LogoPart& shadow) const;

    const LogoPainter& FPainter;
    const LogoLook& FLook;
    TextPlacement FPlacement;
    int FScale;
    QPainterPath FLetters;
    // The rings' outlines, nearest first (empty for rings that are off), then the glow's.
    std::vector<QPainterPath> FOutlines;
    QPainterPath FGlowOutline;
    // Null when nothing is kept between paints.
    DecorationCache* FCache = nullptr;
    std::uint64_t FGeneration = 0;
    // What a paint without a cache keeps while it lasts.
    mutable QImage FScratch;
};
