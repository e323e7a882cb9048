// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>

#include <vector>

// The edging rings around a caption's letters: ring k lies outside ring k - 1, each a round-joined
// outward offset of the filled letters (their glyphs united under the nonzero rule first, so
// overlapping contours and holes come out right). Curves are flattened to within `tolerance`
// device pixels and round joins to within a quarter pixel, whatever the size.
namespace EdgeRings {

// For each of `widths` (device pixels, nearest ring first), the letters grown by that width and
// every nearer one: what the ring covers together with everything inside it. Filled farthest
// first, each in its ring's colour, they draw the rings without seams. A ring of width 0 or less
// is off and comes back empty; the rings beyond it grow from the last ring that is on.
std::vector<QPainterPath> Outlines(const QPainterPath& letters, const std::vector<double>& widths,
                                   double tolerance);

// Ring `k` alone: its outline without what lies inside it.
QPainterPath Ring(const QPainterPath& letters, const std::vector<QPainterPath>& outlines,
                  std::size_t k, double tolerance);

} // namespace EdgeRings
