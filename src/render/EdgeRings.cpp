// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/EdgeRings.h"

#include "render/ClipperPaths.h"
#include "render/ShadowSweep.h"

#include <algorithm>

using ClipperLib::Paths;

namespace {

// How far a round join's chords may stray from the arc, in device pixels: Clipper's own default
// is a quarter of a fixed-point unit, which gives a wide ring thousands of points.
constexpr double kArcTolerance = 0.25;

// `region` (clean polygons, holes turned the other way) grown by `delta` device pixels.
Paths Grown(const Paths& region, double delta)
{
    const double units = delta * ClipperPaths::kUnit;
    // A hole narrower than twice the growth closes whole; grown with the rest, its edges would
    // cross one another a number of times that goes with the square of its points.
    Paths kept;
    kept.reserve(region.size());
    for (const ClipperLib::Path& contour : region) {
        if (!ClipperLib::Orientation(contour)) {
            const auto [left, right] = std::minmax_element(
                contour.begin(), contour.end(), [](auto& a, auto& b) { return a.X < b.X; });
            const auto [top, bottom] = std::minmax_element(
                contour.begin(), contour.end(), [](auto& a, auto& b) { return a.Y < b.Y; });
            if (double(std::min(right->X - left->X, bottom->Y - top->Y)) < 2 * units)
                continue;
        }
        kept.push_back(contour);
    }
    ClipperLib::ClipperOffset offset(2.0, kArcTolerance * ClipperPaths::kUnit);
    offset.AddPaths(kept, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    Paths grown;
    offset.Execute(grown, units);
    return grown;
}

} // namespace

namespace EdgeRings {

std::vector<QPainterPath> Outlines(const QPainterPath& letters, const std::vector<double>& widths,
                                   double tolerance)
{
    std::vector<QPainterPath> outlines(widths.size());
    Paths region;
    ClipperLib::SimplifyPolygons(ClipperPaths::ToPaths(letters, tolerance), region,
                                 ClipperLib::pftNonZero);
    if (region.empty())
        return outlines;
    // Each ring grows from the one inside it, which has lost the letters' small hollows and
    // costs far less to grow than the letters; growing by a and then b is growing by a + b.
    for (std::size_t k = 0; k < widths.size(); ++k) {
        if (widths[k] <= 0)
            continue;
        region = Grown(region, widths[k]);
        // the round joins leave runs of nearly straight points that the next ring would grow too
        ClipperLib::CleanPolygons(region, ClipperPaths::kUnit * tolerance);
        outlines[k] = ClipperPaths::ToPainterPath(region, tolerance);
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
