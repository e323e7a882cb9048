// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>

#include <polyclipping/clipper.hpp>

// Outlines as Clipper's fixed-point polygons and back, for the units in render that cut, sweep
// and grow outlines.
namespace ClipperPaths {

// Fixed-point units per device pixel.
constexpr double kUnit = 256.0;

// `path` with its curves flattened to within `tolerance` device pixels.
ClipperLib::Paths ToPaths(const QPainterPath& path, double tolerance);

// `paths` as polygons with the nonzero fill rule, without the points that lie within
// `tolerance` of their neighbours' line.
QPainterPath ToPainterPath(ClipperLib::Paths paths, double tolerance);

} // namespace ClipperPaths
