// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QPoint>

#include <vector>

// Unions and sweeps of flattened outlines, for shadows drawn as a few clean regions instead of
// hundreds of stacked copies. Curves are flattened to within `tolerance` device pixels; results
// are polygons with the nonzero fill rule.
namespace ShadowSweep {

// The union of `letters` moved by k × `step` for every k from `first` to `last` (1 ≤ first ≤
// last): what that run of shadow layers covers.
QPainterPath Swept(const QPainterPath& letters, QPoint step, int first, int last, double tolerance);

// What a run of layers shows when the nearer runs are painted over it, reaching under the nearer
// run so that no seam shows between opaque runs; for runs that are see-through, also what the
// run covers together with every nearer run.
struct Band
{
    QPainterPath under;
    QPainterPath reach;
};

// The bands of runs of layers that end at `lastLayers` (ascending, nearest run first), in the
// same order; the reaches only for runs that are `seeThrough`.
std::vector<Band> Bands(const QPainterPath& letters, QPoint step,
                        const std::vector<int>& lastLayers, double tolerance,
                        bool seeThrough = false);

// `from` without `cut`.
QPainterPath Subtract(const QPainterPath& from, const QPainterPath& cut, double tolerance);

} // namespace ShadowSweep
