// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/EdgeRings.h"

#include "render/ClipperPaths.h"
#include "render/ShadowSweep.h"

using ClipperLib::Paths;

namespace {

// How far a round join's chords may stray from the arc, in device pixels: Clipper's own default
// is a quarter of a fixed-point unit, which gives a wide ring thousands of points.
constexpr double kArcTolerance = 0.25;

} // namespace

namespace EdgeRings {

std::vector<QPainterPath> Outlines(const QPainterPath& letters, const std::vector<double>& widths,
                                   double tolerance)
{
    std::vector<QPainterPath> outlines(widths.size());
    Paths clean;
    ClipperLib::SimplifyPolygons(ClipperPaths::ToPaths(letters, tolerance), clean,
                                 ClipperLib::pftNonZero);
    if (clean.empty())
        return outlines;
    ClipperLib::ClipperOffset offset(2.0, kArcTolerance * ClipperPaths::kUnit);
    offset.AddPaths(clean, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    double reach = 0;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        if (widths[k] <= 0)
            continue;
        // one offset of the letters rather than of the ring inside, which would round twice
        reach += widths[k];
        Paths grown;
        offset.Execute(grown, reach * ClipperPaths::kUnit);
        outlines[k] = ClipperPaths::ToPainterPath(std::move(grown), tolerance);
    }
    return outlines;
}

QPainterPath Ring(const QPainterPath& letters, const std::vector<QPainterPath>& outlines,
                  std::size_t k, double tolerance)
{
    if (k >= outlines.size() || outlines[k].isEmpty())
        return {};
    QPainterPath inside = letters;
    for (std::size_t i = k; i-- > 0;)
        if (!outlines[i].isEmpty()) {
            inside = outlines[i];
            break;
        }
    inside.setFillRule(Qt::WindingFill);
    return ShadowSweep::Subtract(outlines[k], inside, tolerance);
}

} // namespace EdgeRings
