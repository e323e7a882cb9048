// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class QPainterPath;
struct VectorScene;

// Writes a logo as an SVG document of plain shapes: one path per region with its own fill rule
// and colour, the texture as a pattern of the embedded picture filling the letters, the
// backdrop as a rectangle and the background picture as an embedded PNG. The view box is the
// region in preview pixels and the width and height the picture's size, so it opens at the
// size of the raster. The letters are outlines: no font is needed to show it.
namespace SvgWriter {

QByteArray Write(const VectorScene& scene);

// SVG path data for `path`, coordinates rounded to `decimals` places.
QByteArray PathData(const QPainterPath& path, int decimals = 2);

} // namespace SvgWriter
