// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/ClipperPaths.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

using ClipperLib::cInt;
using ClipperLib::Path;
using ClipperLib::Paths;

namespace {

// Qt flattens a curve to within half a unit of the coordinates it flattens in.
constexpr double kQtFlatness = 0.5;

} // namespace

namespace ClipperPaths {

Paths ToPaths(const QPainterPath& path, double tolerance)
{
    const double fine = kQtFlatness / std::max(tolerance, 1.0 / kUnit);
    const double toUnits = kUnit / fine;
    Paths paths;
    for (const QPolygonF& polygon : path.toSubpathPolygons(QTransform::fromScale(fine, fine))) {
        Path points;
        points.reserve(std::size_t(polygon.size()));
        for (const QPointF& p : polygon)
            points.push_back(
                {cInt(std::llround(p.x() * toUnits)), cInt(std::llround(p.y() * toUnits))});
        if (points.size() > 2)
            paths.push_back(std::move(points));
    }
    return paths;
}

QPainterPath ToPainterPath(Paths paths, double tolerance)
{
    // points within the tolerance of their neighbours' line add bytes, not shape
    ClipperLib::CleanPolygons(paths, kUnit * tolerance);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Path& points : paths) {
        if (points.size() < 3)
            continue;
        path.moveTo(double(points[0].X) / kUnit, double(points[0].Y) / kUnit);
        for (std::size_t i = 1; i < points.size(); ++i)
            path.lineTo(double(points[i].X) / kUnit, double(points[i].Y) / kUnit);
        path.closeSubpath();
    }
    return path;
}

} // namespace ClipperPaths
