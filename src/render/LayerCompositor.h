// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

// Stacks many copies of one antialiased shape, each moved one step further along a direction,
// from a single coverage mask, with the same per-pixel arithmetic as the raster painter. The
// work per pixel depends on the partly covered samples in front of the nearest solid layer,
// not on the number of layers.
//
// Every layer is the linear blend of its colour over what lies beneath at the mask's coverage,
// so the same walk paints an opaque picture or one over transparency.
namespace LayerCompositor {

// A stack over at least this many pixels is painted on every core (Workers::Count()), in groups
// of neighbouring lines; the preview's stays on the painting thread, where starting threads
// would cost more than they save.
constexpr qint64 kParallelPixels = 1 << 20;

// Paints layers k = depth .. 1 (farthest first) into `area` of `target` (Format_RGB32; a
// premultiplied target gets alpha 255 wherever a layer touches it).
// `mask` is the shape's coverage, best one byte per pixel (Format_Alpha8 or Format_Grayscale8),
// or the shape drawn in white on black in any other format, placed with its top-left at
// `maskOrigin` in target coordinates; layer k is that shape moved by (step.x * k, step.y * k) and
// drawn in colours[k - 1] (0x00RRGGBB). Each component of `step` is -1, 0 or 1.
void Composite(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
               QPoint step, const std::vector<std::uint32_t>& colours);

// The same onto Format_ARGB32_Premultiplied, with `colours` premultiplied ARGB32 words: a layer
// is blended with what lies beneath by its coverage, so a layer of colour 0 takes that away as
// far as it covers it. Composited over the opaque `ground` (0x00RRGGBB), every pixel gives
// what Composite() paints over that colour with the layers' colours over it, within a level;
// over another colour it gives what blending without rounding gives, within a level or two.
// A pixel that over the ground shows the ground within a level is cleared.
void CompositePremultiplied(QImage& target, const QRect& area, const QImage& mask,
                            QPoint maskOrigin, QPoint step,
                            const std::vector<std::uint32_t>& colours, std::uint32_t ground);

// One copy of the shape, its top-left at `maskOrigin`, blended in `colour` (a premultiplied
// ARGB32 word) into `area` of a Format_RGB32 or Format_ARGB32_Premultiplied target, as the raster
// painter draws text of that colour; a colour of 0 takes away what lies beneath.
void BlendShape(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
                std::uint32_t colour);

// The same onto Format_ARGB32_Premultiplied over transparency: a pixel that over the opaque
// `ground` (0x00RRGGBB) shows the ground within a level is cleared.
void BlendShapeOverTransparency(QImage& target, const QRect& area, const QImage& mask,
                                QPoint maskOrigin, std::uint32_t colour, std::uint32_t ground);

// An opaque picture (Format_RGB32) laid as tiles, one at every multiple of its `tileSize` from
// `tileOrigin` on, blended into `area` of a Format_RGB32 or Format_ARGB32_Premultiplied target
// through the coverage `mask` (one byte per pixel) whose top-left corner is at `maskOrigin`: as
// the raster painter draws the tiles clipped to the antialiased shape. `tile` holds at least the
// part of a tile that the area reaches.
void BlendTiles(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
                const QImage& tile, QPoint tileOrigin, QSize tileSize);

// The region of target pixels whose layers come from the mask: the part of `area` that any
// layer of the given depth can reach, and the part of mask space that reaches `area`.
QRect SourceRegion(const QRect& area, QPoint step, int depth);

} // namespace LayerCompositor
