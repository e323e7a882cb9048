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

// The shapes of the runs of layers that end at `lastLayers` (ascending, nearest run first), in
// the same order: each is the letters swept over its own run's layers and the last layer of the
// run before it. Drawn farthest first, each over the ones behind it, every point shows its
// nearest run; a run's front lies under the run before it rather than against it, so no seam
// shows between them. Runs of one length are one shape moved, swept once.
std::vector<QPainterPath> Runs(const QPainterPath& letters, QPoint step,
                               const std::vector<int>& lastLayers, double tolerance);

// `from` without `cut`.
QPainterPath Subtract(const QPainterPath& from, const QPainterPath& cut, double tolerance);

} // namespace ShadowSweep
