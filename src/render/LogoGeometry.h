// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLayout.h"
#include "render/LogoLook.h"
#include "render/ShadowSweep.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QMargins>
#include <QPainterPath>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

// One shape of a logo in one paint: filled in a colour, stroked, filled with the texture, or
// filled in a colour that fades out.
struct LogoRegion
{
    enum Kind : std::uint8_t { Fill, Stroke, Texture, Fade };
    Kind kind = Fill;
    // Which part of the logo the region draws, for files that group their shapes for editing.
    enum Part : std::uint8_t { Shadow, Face, Outline, Textured };
    Part part = Face;
    // Label coordinates in device pixels; the fill rule is the path's.
    QPainterPath path;
    QColor colour;
    // The pen of a stroke (round joins and caps), device pixels.
    double strokeWidth = 0;
    // A fill in a linear gradient instead of `colour`, in label coordinates.
    std::optional<QLinearGradient> gradient;
    // Regions of one soft layer (the glow; a shadow that is blurred or see-through) share its
    // number, above 0, and are seen as one picture: blurred by a Gaussian of `blur` (sigma,
    // device pixels) and laid over what lies beneath at `opacity`.
    int softLayer = 0;
    double blur = 0;
    double opacity = 1;

    // A fade shows its colour over its path at the opacity of the nearest band there: a mask
    // of the bands painted opaque, farthest first, each over the ones behind it, in a grey of its
    // opacity. Bands overlap rather than abut, so no seam shows between them.
    struct FadeBand
    {
        QPainterPath path;
        double opacity = 1;
    };
    std::vector<FadeBand> bands;
};

// A logo label as shapes: the parts of LogoLayout that LogoPainter paints, as regions, back to
// front. The caption's outline comes first, at the painter's own placement, and every region is
// built from an outline handed in, so a later stage may reshape the letters in between.
//
// Decorations come as regions too: the glow, blurred, behind everything; the rings, each the
// letters grown by it and every nearer one, farthest first, between the shadow and the face; the
// shadow cast by the outermost ring, blurred and see-through as one soft layer; the face in its
// gradient.
//
// A flat shadow is the letters moved; a deep shadow is one region swept from the first layer to
// the last; a gradation is one region per run of layers of (within one level) the same colour,
// farthest first, or over nothing, where it fades out, one region of kind Fade. The face keeps the
// glyphs' curves; shadow regions are polygons flattened finely enough for the scale.
class LogoGeometry
{
public:
    LogoGeometry(const LogoLook& look, QSize labelSize, int scale = 1);

    // The caption's outline where the raster draws it, label coordinates in device pixels,
    // without the letters that neither themselves nor their shadow can bring into the view.
    QPainterPath Letters() const;
    // Device pixels per unit of these shapes where they are shown: the raster draws the
    // underline and strike-out on whole pixels of the size it is drawn at.
    void SetPixelScale(int value) { FPixelScale = std::max(1, value); }

    // The part of the label the shapes are for (label coordinates, device pixels); the whole
    // label unless set.
    void SetView(const QRect& value) { FView = value; }

    std::vector<LogoRegion> Regions(const QPainterPath& letters) const;
    std::vector<LogoRegion> Regions() const { return Regions(Letters()); }

    // The texture as drawn at this scale, tiled from the label's top-left corner; null when the
    // letters are not textured.
    QImage Texture() const;

    // How far flattened shadow outlines may stray from the curves: finer for a picture that
    // is to be shown larger.
    double Tolerance() const { return FTolerance; }
    void SetTolerance(double value) { FTolerance = value; }
    // Over nothing a gradation toward the background colour fades out in alpha instead, as the
    // transparent raster has it.
    void SetFadesOut(bool value) { FFadesOut = value; }

    // Regions of exactly `key` colour are what the raster makes transparent when the label is
    // shown over something: they vanish and cut through every region beneath them.
    static void KeyOut(std::vector<LogoRegion>& regions, QColor key, double tolerance);

    // How far a flattened curve may stray from the true one, in device pixels.
    static constexpr double kTolerance = 0.1;

    // A run of shadow layers drawn in one colour that lies within one level of each of theirs.
    struct Run
    {
        int last = 0; // the run's farthest layer, counting from 1
        std::uint32_t colour = 0;
        bool operator==(const Run&) const = default;
    };
    // The fewest such runs for layer colours given nearest first, nearest run first.
    static std::vector<Run> Runs(const std::vector<std::uint32_t>& colours);

private:
    // How far past a letter its shadow, rims and pen reach: left, top, right, bottom.
    QMargins Reach() const;
    void AddGlow(std::vector<LogoRegion>& regions, const std::vector<QPainterPath>& outlines) const;
    void AddShadow(std::vector<LogoRegion>& regions, const QPainterPath& letters,
                   const LogoPart& shadow) const;
    void AddRing(std::vector<LogoRegion>& regions, const std::vector<QPainterPath>& outlines,
                 const QPainterPath& letters, const LogoPart& ring) const;
    void AddFace(std::vector<LogoRegion>& regions, const QPainterPath& letters,
                 const LogoPart& part) const;
    LogoRegion Faded(const QPainterPath& letters, QPoint step, int layers,
                     const std::vector<Run>& runs, const std::vector<QPainterPath>& bands) const;

    LogoLook FLook;
    QSize FLabelSize;
    int FScale;
    int FPixelScale = 1;
    double FTolerance = kTolerance;
    bool FFadesOut = false;
    QRect FView;
};
