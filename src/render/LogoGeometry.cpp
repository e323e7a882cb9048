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

// A fade's layers as greys of their alpha, nearest first: over a far colour a step of alpha
// shows as a step of that size, larger than the steps of the colours toward the background.
std::vector<std::uint32_t> AlphaRamp(int layers)
{
    std::vector<std::uint32_t> greys;
    greys.reserve(std::size_t(layers));
    for (int k = 1; k <= layers; ++k) {
        const int alpha = int(std::lround(255.0 * (layers - k + 1) / layers));
        greys.push_back(qRgb(alpha, alpha, alpha));
    }
    return greys;
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
    const int rim = 2 * s + (std::max(1, FLook.penWidth) + 2) * s;
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
    AddGlow(regions, outlines);
    // the outermost ring casts the shadow
    QPainterPath caster = letters;
    for (std::size_t k = 0; k + 1 < outlines.size(); ++k)
        if (!outlines[k].isEmpty())
            caster = outlines[k];
    const std::size_t shadow = regions.size();
    // a blur hides what a tenth of its sigma would add to the outlines, bytes and all
    LogoGeometry coarse = *this;
    if (d.shadowBlur > 0)
        coarse.FTolerance =
            std::max(FTolerance, DecorationPainter::ShadowSigma(d.shadowBlur, FScale) / 10);
    coarse.AddShadow(regions, caster);
    if (d.shadowBlur > 0 || d.shadowOpacity < 100)
        for (std::size_t i = shadow; i < regions.size(); ++i) {
            regions[i].softLayer = 2;
            regions[i].blur = DecorationPainter::ShadowSigma(d.shadowBlur, FScale);
            regions[i].opacity = d.shadowOpacity / 100.0;
        }
    AddRings(regions, outlines, letters);
    AddFace(regions, letters);
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

void LogoGeometry::AddRings(std::vector<LogoRegion>& regions,
                            const std::vector<QPainterPath>& outlines,
                            const QPainterPath& letters) const
{
    // Outlined letters stay hollow: the rings lie around them only.
    const bool hollow = FLook.style == dxfOutLine && FontInfo::IsTrueType(FLook.font);
    // farthest first; the last outline is the glow's
    for (std::size_t k = outlines.size() > 0 ? outlines.size() - 1 : 0; k-- > 0;) {
        if (outlines[k].isEmpty())
            continue;
        const QPainterPath ring =
            hollow ? ShadowSweep::Subtract(outlines[k], letters, FTolerance) : outlines[k];
        regions.push_back(Filled(ring, ToQColor(FLook.decorations.edges[k].color)));
    }
}

void LogoGeometry::AddShadow(std::vector<LogoRegion>& regions, const QPainterPath& letters) const
{
    if (FLook.depth <= 0 || letters.isEmpty())
        return;
    if (FLook.effectStyle == dxfCool) {
        const QPoint offset = ShadowOffset(FLook.orientation, FLook.depth) * FScale;
        regions.push_back(
            Filled(letters.translated(offset), ToQColor(FLook.shadowColor), LogoRegion::Shadow));
        return;
    }
    const LogoPainter painter(FLook, FLabelSize, FScale);
    const auto [layers, step] = painter.ShadowSteps();
    if (layers == 0)
        return;
    const bool fadesOut = FFadesOut && FLook.effectStyle == dxfFun && !IsSystemColor(FLook.color)
        && ColorToPixel(FLook.shadowColor) != ColorToPixel(FLook.color);
    const std::vector<Run> runs = Runs(fadesOut ? AlphaRamp(layers) : painter.LayerColours(layers));
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

void LogoGeometry::AddFace(std::vector<LogoRegion>& regions, const QPainterPath& letters) const
{
    const int s = FScale;
    const bool trueType = FontInfo::IsTrueType(FLook.font);
    const bool textured = !FLook.texture.isNull() && trueType;
    const QColor face = ToQColor(FLook.textColor);
    auto fill = [&](QPoint offset, const QColor& colour) {
        regions.push_back(Filled(letters.translated(offset), colour));
    };
    // Across the letters as placed, bent when warped: a placement is bent only by Within.
    auto faceGradient = [&] {
        const QMargins reach = Reach();
        const int spread = std::max({reach.left(), reach.top(), reach.right(), reach.bottom()});
        return DecorationPainter::FaceGradient(
            FLook, LogoPainter(FLook, FLabelSize, FScale).Placement({}).Within(FView, spread),
            [](TColor c) { return ToQColor(c); });
    };
    auto fillFace = [&](QPoint offset) {
        fill(offset, face);
        if (FLook.decorations.gradient)
            regions.back().gradient = faceGradient();
    };
    switch (FLook.style) {
    case dxfNormal:
        if (!textured)
            fillFace({});
        break;
    case dxfRaised:
        fill({}, ToQColor(clBtnHighlight));
        if (FontInfo::PixelsToPoints(FLook.font.pixelSize()) >= 12)
            fill({2 * s, 2 * s}, ToQColor(clBtnShadow));
        if (!textured)
            fillFace({s, s});
        break;
    case dxfLowered: {
        fill({2 * s, 2 * s}, ToQColor(clBtnHighlight));
        const TColor base = FLook.engravedBase;
        const TColor engraved =
            IsSystemColor(base) ? clBtnShadow : LogoPainter::GetColor(base, clBlack, 1, 3);
        if (!textured)
            fill({s, s}, ToQColor(engraved));
        break;
    }
    case dxfOutLine:
        if (trueType) {
            LogoRegion stroke;
            stroke.kind = LogoRegion::Stroke;
            stroke.part = LogoRegion::Outline;
            stroke.path = letters;
            stroke.colour = face;
            // a pen of width 0 draws one device pixel, like a pen of width 1
            const int width = s == 1 ? FLook.penWidth : std::max(1, FLook.penWidth) * s;
            stroke.strokeWidth = std::max(1, width);
            if (FLook.decorations.gradient)
                stroke.gradient = faceGradient();
            regions.push_back(stroke);
        } else {
            fillFace({});
        }
        break;
    }
    if (textured) {
        LogoRegion texture;
        texture.kind = LogoRegion::Texture;
        texture.part = LogoRegion::Textured;
        texture.path = letters.translated(FLook.style == dxfNormal ? QPoint() : QPoint(s, s));
        // the raster clips the texture to the letters by the even-odd rule
        texture.path.setFillRule(Qt::OddEvenFill);
        regions.push_back(texture);
    }
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
