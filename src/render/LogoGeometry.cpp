// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LogoGeometry.h"

#include "platform/FontInfo.h"
#include "render/DecorationPainter.h"
#include "render/EdgeRings.h"
#include "render/LogoPainter.h"
#include "render/ShadowSweep.h"
#include "render/TextPlacement.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int Channel(std::uint32_t pixel, int shift)
{
    return int((pixel >> shift) & 0xFF);
}

LogoRegion Filled(const QPainterPath& path, const QColor& colour,
                  LogoRegion::Part part = LogoRegion::Face)
{
    LogoRegion region;
    region.part = part;
    region.path = path;
    region.path.setFillRule(Qt::WindingFill);
    region.colour = colour;
    return region;
}

// What a region covers, a stroke as the outline of its pen.
QPainterPath AreaOf(const LogoRegion& region)
{
    if (region.kind != LogoRegion::Stroke)
        return region.path;
    QPainterPathStroker stroker;
    stroker.setWidth(region.strokeWidth);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath area = stroker.createStroke(region.path);
    area.setFillRule(Qt::WindingFill);
    return area;
}

// The colours of a shadow's copies, nearest first; a fade's as greys of their alpha: over a far
// colour a step of alpha shows as a step of that size, larger than the steps of the colours
// toward the background.
std::vector<std::uint32_t> LayerWords(const LogoPart& shadow)
{
    const int layers = int(shadow.colours.size());
    std::vector<std::uint32_t> words;
    words.reserve(shadow.colours.size());
    for (int k = 1; k <= layers; ++k) {
        if (!shadow.fadesOut) {
            words.push_back(ToQColor(shadow.colours[std::size_t(k) - 1]).rgb());
            continue;
        }
        const int alpha = int(LogoLayout::FadeAlpha(k, layers));
        words.push_back(qRgb(alpha, alpha, alpha));
    }
    return words;
}

// The outlines of `path` (one per move) whose control points, with `reach` around them, meet
// `view`. An outline is dropped whole, so a hole goes only where the letter around it could not
// show either.
QPainterPath Culled(const QPainterPath& path, const QRect& view, const QMargins& reach)
{
    QPainterPath kept;
    kept.setFillRule(path.fillRule());
    const QRectF seen = QRectF(view).marginsAdded(
        QMarginsF(reach.right(), reach.bottom(), reach.left(), reach.top()));
    const int count = path.elementCount();
    for (int start = 0; start < count;) {
        int end = start + 1;
        while (end < count && !path.elementAt(end).isMoveTo())
            ++end;
        qreal left = qInf();
        qreal top = qInf();
        qreal right = -qInf();
        qreal bottom = -qInf();
        for (int i = start; i < end; ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            left = std::min(left, e.x);
            right = std::max(right, e.x);
            top = std::min(top, e.y);
            bottom = std::max(bottom, e.y);
        }
        if (left <= seen.right() && right >= seen.left() && top <= seen.bottom()
            && bottom >= seen.top()) {
            for (int i = start; i < end; ++i) {
                const QPainterPath::Element e = path.elementAt(i);
                if (e.isMoveTo())
                    kept.moveTo(e);
                else if (e.isLineTo())
                    kept.lineTo(e);
                else if (e.isCurveTo() && i + 2 < end) {
                    kept.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
                    i += 2;
                }
            }
        }
        start = end;
    }
    return kept;
}

} // namespace

LogoGeometry::LogoGeometry(const LogoLook& look, QSize labelSize, int scale)
    : FLook(look)
    , FLabelSize(labelSize)
    , FScale(std::max(1, scale))
    , FView(QPoint(), labelSize * FScale)
{ }

QMargins LogoGeometry::Reach() const
{
    const int s = FScale;
    const QPoint shadow = ShadowOffset(FLook.orientation, FLook.depth) * s;
    // the rims of the raised and lowered faces, an outline's pen and a pixel for rounding
    const int rim = LogoLayout::RimReach(s) + LogoLayout::PenReach(FLook, s);
    return {std::max(0, -shadow.x()) + rim, std::max(0, -shadow.y()) + rim,
            std::max(0, shadow.x()) + rim, std::max(0, shadow.y()) + rim};
}

QPainterPath LogoGeometry::Letters() const
{
    // Placed as the raster at the shown size places them, where the text draw snaps its lines
    // to that size's pixels; the glyphs' outlines simply scale.
    const LogoPainter painter(FLook, FLabelSize, FScale * FPixelScale);
    const QMargins reach = Reach();
    const int spread = std::max({reach.left(), reach.top(), reach.right(), reach.bottom()});
    const QRect view(FView.topLeft() * FPixelScale, FView.size() * FPixelScale);
    QPainterPath letters = painter.Placement({}).Within(view, spread * FPixelScale).Path({});
    if (FPixelScale > 1)
        letters = QTransform::fromScale(1.0 / FPixelScale, 1.0 / FPixelScale).map(letters);
    letters = Culled(letters, FView, reach);
    // glyph outlines are drawn by the nonzero rule
    letters.setFillRule(Qt::WindingFill);
    return letters;
}

QImage LogoGeometry::Texture() const
{
    if (FLook.texture.isNull() || !FontInfo::IsTrueType(FLook.font))
        return {};
    if (FScale == 1)
        return FLook.texture;
    return FLook.texture.scaled(FLook.texture.size() * FScale, Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
}

std::vector<LogoGeometry::Run> LogoGeometry::Runs(const std::vector<std::uint32_t>& colours)
{
    std::vector<Run> runs;
    int low[3] = {};
    int high[3] = {};
    auto middle = [&] {
        std::uint32_t colour = 0;
        for (int c = 0; c < 3; ++c)
            colour |= std::uint32_t((low[c] + high[c]) / 2) << (8 * c);
        return colour;
    };
    for (std::size_t k = 0; k < colours.size(); ++k) {
        bool fits = k > 0;
        for (int c = 0; c < 3 && fits; ++c) {
            const int v = Channel(colours[k], 8 * c);
            fits = std::max(high[c], v) - std::min(low[c], v) <= 2;
        }
        if (!fits) {
            if (k > 0)
                runs.push_back({int(k), middle()});
            for (int c = 0; c < 3; ++c)
                low[c] = high[c] = Channel(colours[k], 8 * c);
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], Channel(colours[k], 8 * c));
            high[c] = std::max(high[c], Channel(colours[k], 8 * c));
        }
    }
    if (!colours.empty())
        runs.push_back({int(colours.size()), middle()});
    return runs;
}

std::vector<LogoRegion> LogoGeometry::Regions(const QPainterPath& letters) const
{
    std::vector<LogoRegion> regions;
    const LogoDecorations& d = FLook.decorations;
    // the rings' outlines, nearest first, then the glow's
    std::vector<QPainterPath> outlines;
    if (DecorationPainter::Any(d) && !letters.isEmpty())
        outlines = EdgeRings::Outlines(letters, DecorationPainter::Growths(d, FScale), FTolerance);
    // the outermost ring casts the shadow
    QPainterPath caster = letters;
    for (std::size_t k = 0; k + 1 < outlines.size(); ++k)
        if (!outlines[k].isEmpty())
            caster = outlines[k];
    // a blur hides what a tenth of its sigma would add to the outlines, bytes and all
    LogoGeometry coarse = *this;
    if (d.shadowBlur > 0)
        coarse.FTolerance =
            std::max(FTolerance, DecorationPainter::ShadowSigma(d.shadowBlur, FScale) / 10);
    const LogoLayout layout(FLook, FScale, FFadesOut);
    for (const LogoPart& part : layout.Parts()) {
        if (part.shadow) {
            const std::size_t shadow = regions.size();
            coarse.AddShadow(regions, caster, part);
            if (d.shadowBlur > 0 || d.shadowOpacity < 100)
                for (std::size_t i = shadow; i < regions.size(); ++i) {
                    regions[i].softLayer = 2;
                    regions[i].blur = DecorationPainter::ShadowSigma(d.shadowBlur, FScale);
                    regions[i].opacity = d.shadowOpacity / 100.0;
                }
        } else if (part.kind == LogoPart::Glow) {
            AddGlow(regions, outlines);
        } else if (part.kind == LogoPart::Ring) {
            AddRing(regions, outlines, letters, part);
        } else {
            AddFace(regions, letters, part);
        }
    }
    return regions;
}

void LogoGeometry::AddGlow(std::vector<LogoRegion>& regions,
                           const std::vector<QPainterPath>& outlines) const
{
    const LogoDecorations& d = FLook.decorations;
    if (outlines.empty() || outlines.back().isEmpty())
        return;
    LogoRegion glow = Filled(outlines.back(), ToQColor(d.glowColor));
    glow.softLayer = 1;
    glow.blur = DecorationPainter::GlowSigma(d.glowSize, FScale);
    glow.opacity = d.glowOpacity / 100.0;
    regions.push_back(glow);
}

void LogoGeometry::AddRing(std::vector<LogoRegion>& regions,
                           const std::vector<QPainterPath>& outlines, const QPainterPath& letters,
                           const LogoPart& ring) const
{
    // the last outline is the glow's
    const std::size_t k = std::size_t(ring.ring);
    if (k + 1 >= outlines.size() || outlines[k].isEmpty())
        return;
    regions.push_back(
        Filled(ring.hollow ? ShadowSweep::Subtract(outlines[k], letters, FTolerance) : outlines[k],
               ToQColor(ring.colour)));
}

void LogoGeometry::AddShadow(std::vector<LogoRegion>& regions, const QPainterPath& letters,
                             const LogoPart& shadow) const
{
    if (letters.isEmpty())
        return;
    if (shadow.kind == LogoPart::Copy) {
        regions.push_back(
            Filled(letters.translated(shadow.offset), ToQColor(shadow.colour), LogoRegion::Shadow));
        return;
    }
    const int layers = int(shadow.colours.size());
    const QPoint step = shadow.step;
    const bool fadesOut = shadow.fadesOut;
    const std::vector<Run> runs = Runs(LayerWords(shadow));
    if (runs.size() == 1 && !fadesOut) {
        regions.push_back(Filled(ShadowSweep::Swept(letters, step, 1, layers, FTolerance),
                                 QColor::fromRgb(runs.front().colour), LogoRegion::Shadow));
        return;
    }
    std::vector<int> ends;
    for (const Run& run : runs)
        ends.push_back(run.last);
    const std::vector<QPainterPath> bands = ShadowSweep::Runs(letters, step, ends, FTolerance);
    if (fadesOut) {
        regions.push_back(Faded(letters, step, layers, runs, bands));
        return;
    }
    for (std::size_t i = bands.size(); i-- > 0;) // farthest first
        regions.push_back(Filled(bands[i], QColor::fromRgb(runs[i].colour), LogoRegion::Shadow));
}

LogoRegion LogoGeometry::Faded(const QPainterPath& letters, QPoint step, int layers,
                               const std::vector<Run>& runs,
                               const std::vector<QPainterPath>& bands) const
{
    LogoRegion fade;
    fade.kind = LogoRegion::Fade;
    fade.part = LogoRegion::Shadow;
    fade.path = ShadowSweep::Swept(letters, step, 1, layers, FTolerance);
    fade.colour = ToQColor(FLook.shadowColor);
    for (std::size_t i = bands.size(); i-- > 0;) {
        // The share of the shadow colour in the run's middle layer.
        const int first = i == 0 ? 1 : runs[i - 1].last + 1;
        const double middle = (first + runs[i].last) / 2.0;
        fade.bands.push_back({bands[i], (layers - middle + 1) / layers});
    }
    return fade;
}

void LogoGeometry::AddFace(std::vector<LogoRegion>& regions, const QPainterPath& letters,
                           const LogoPart& part) const
{
    LogoRegion region = Filled(letters.translated(part.offset), ToQColor(part.colour));
    switch (part.kind) {
    case LogoPart::Outline:
        region.kind = LogoRegion::Stroke;
        region.part = LogoRegion::Outline;
        // a pen of width 0 draws one device pixel, like a pen of width 1
        region.strokeWidth = std::max(1, part.pen);
        break;
    case LogoPart::Texture:
        region.kind = LogoRegion::Texture;
        region.part = LogoRegion::Textured;
        region.colour = QColor();
        // the raster clips the texture to the letters by the even-odd rule
        region.path.setFillRule(Qt::OddEvenFill);
        break;
    default:
        break;
    }
    if (part.gradient) {
        // Across the letters as placed, bent when warped: a placement is bent only by Within.
        const QMargins reach = Reach();
        const int spread = std::max({reach.left(), reach.top(), reach.right(), reach.bottom()});
        region.gradient = DecorationPainter::FaceGradient(
            FLook, LogoPainter(FLook, FLabelSize, FScale).Placement({}).Within(FView, spread),
            [](TColor c) { return ToQColor(c); });
    }
    regions.push_back(region);
}

void LogoGeometry::KeyOut(std::vector<LogoRegion>& regions, QColor key, double tolerance)
{
    for (std::size_t i = regions.size(); i-- > 0;) {
        LogoRegion& cut = regions[i];
        // a gradient and a soft layer are more than one colour
        if (cut.kind == LogoRegion::Texture || cut.gradient || cut.softLayer != 0
            || cut.colour.rgb() != key.rgb())
            continue;
        const QPainterPath shape = AreaOf(cut);
        for (std::size_t j = 0; j < i; ++j) {
            LogoRegion& below = regions[j];
            below.path = ShadowSweep::Subtract(AreaOf(below), shape, tolerance);
            if (below.kind == LogoRegion::Stroke)
                below.kind = LogoRegion::Fill;
        }
        regions.erase(regions.begin() + std::ptrdiff_t(i));
    }
}
