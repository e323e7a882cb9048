// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/ShadowSweep.h"

#include "render/ClipperPaths.h"

#include <algorithm>
#include <map>

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

namespace {

using ClipperPaths::kUnit;
using ClipperPaths::ToPainterPath;
using ClipperPaths::ToPaths;

void Translate(Paths& paths, IntPoint by)
{
    for (Path& points : paths)
        for (IntPoint& p : points) {
            p.X += by.X;
            p.Y += by.Y;
        }
}

// `region` (clean polygons: outer contours counter-clockwise in Clipper's sense, holes the
// other way) swept along `move`: the region, its copy at the end and, in between, the ribbon
// each leading chain of edges sweeps out. An edge leads when its outward normal points along
// the move; a chain of leading edges is monotone across the move, so its ribbon is simple.
Paths Sweep(const Paths& region, IntPoint move)
{
    if (move.X == 0 && move.Y == 0)
        return region;
    Paths all = region;
    Paths moved = region;
    Translate(moved, move);
    all.insert(all.end(), moved.begin(), moved.end());
    auto leads = [&](const IntPoint& a, const IntPoint& b) {
        // outward normal of a → b with the region on its left: (dy, -dx)
        const double dx = double(b.X - a.X);
        const double dy = double(b.Y - a.Y);
        return dy * double(move.X) - dx * double(move.Y) > 0;
    };
    for (const Path& contour : region) {
        const std::size_t n = contour.size();
        if (n < 3)
            continue;
        // start just after an edge that does not lead, so no chain wraps around the end
        std::size_t start = n;
        for (std::size_t i = 0; i < n; ++i)
            if (!leads(contour[i], contour[(i + 1) % n])) {
                start = (i + 1) % n;
                break;
            }
        if (start == n) // every edge leads: impossible for a closed contour, but be safe
            start = 0;
        Path chain;
        auto flush = [&] {
            if (chain.size() >= 2) {
                Path ribbon = chain;
                for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                    ribbon.push_back({it->X + move.X, it->Y + move.Y});
                if (!ClipperLib::Orientation(ribbon))
                    ClipperLib::ReversePath(ribbon);
                all.push_back(std::move(ribbon));
            }
            chain.clear();
        };
        for (std::size_t k = 0; k < n; ++k) {
            const IntPoint& a = contour[(start + k) % n];
            const IntPoint& b = contour[(start + k + 1) % n];
            if (leads(a, b)) {
                if (chain.empty())
                    chain.push_back(a);
                chain.push_back(b);
            } else {
                flush();
            }
        }
        flush();
    }
    Paths result;
    ClipperLib::SimplifyPolygons(all, result, ClipperLib::pftNonZero);
    return result;
}

IntPoint Units(QPoint step, int times)
{
    return {cInt(step.x()) * times * cInt(kUnit), cInt(step.y()) * times * cInt(kUnit)};
}

// The letters as clean polygons, moved to layer `layer`.
Paths Clean(const QPainterPath& letters, QPoint step, int layer, double tolerance)
{
    Paths region;
    ClipperLib::SimplifyPolygons(ToPaths(letters, tolerance), region, ClipperLib::pftNonZero);
    Translate(region, Units(step, layer));
    return region;
}

} // namespace

namespace ShadowSweep {

QPainterPath Swept(const QPainterPath& letters, QPoint step, int first, int last, double tolerance)
{
    if (last < first)
        return {};
    return ToPainterPath(Sweep(Clean(letters, step, first, tolerance), Units(step, last - first)),
                         tolerance);
}

std::vector<QPainterPath> Runs(const QPainterPath& letters, QPoint step,
                               const std::vector<int>& lastLayers, double tolerance)
{
    std::vector<QPainterPath> runs;
    runs.reserve(lastLayers.size());
    if (lastLayers.empty())
        return runs;
    // A gradation's runs take a few lengths only, so a few sweeps of the letters serve them all,
    // rather than one sweep of the growing shadow per run and a cut of each by the nearer ones.
    const Paths clean = Clean(letters, step, 0, tolerance);
    std::map<int, QPainterPath> swept; // by length, at layer 0
    int first = 1;
    for (const int end : lastLayers) {
        const int length = std::max(0, end - first);
        auto shape = swept.find(length);
        if (shape == swept.end())
            shape =
                swept.emplace(length, ToPainterPath(Sweep(clean, Units(step, length)), tolerance))
                    .first;
        runs.push_back(shape->second.translated(step * first));
        // the next run starts where this one ends: between two layers the sweep fills what
        // separate runs would leave open along their sides
        first = end;
    }
    return runs;
}

QPainterPath Subtract(const QPainterPath& from, const QPainterPath& cut, double tolerance)
{
    const auto fill = [](const QPainterPath& p) {
        return p.fillRule() == Qt::WindingFill ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd;
    };
    ClipperLib::Clipper clipper;
    clipper.AddPaths(ToPaths(from, tolerance), ClipperLib::ptSubject, true);
    clipper.AddPaths(ToPaths(cut, tolerance), ClipperLib::ptClip, true);
    Paths result;
    clipper.Execute(ClipperLib::ctDifference, result, fill(from), fill(cut));
    return ToPainterPath(result, tolerance);
}

} // namespace ShadowSweep
