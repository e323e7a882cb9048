// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QSize>
#include <QTransform>

#include <cstdint>

// A Gaussian blur of a coverage mask of one byte per pixel, in place. Pixels beyond the mask
// count as empty, so a mask meant to blur whole needs a margin of Reach(sigma) around what it
// covers. From sigma 2 up it is three running box sums, each with its two end samples weighed so
// that the variances add up to sigma squared exactly: within 2 % of the true Gaussian along a
// line (a box width rounded to whole pixels, as in the usual three-box blur, misses by up to 4 %)
// at a cost that does not grow with sigma. Below that it is a sampled kernel. From sigma 3 up it
// is worked out on a grid of points 2 to 16 pixels apart, where the blur is still 1.5 points or
// more wide, and read back between them: a quarter of the work or less, and as close to the
// Gaussian as the boxes alone.
namespace MaskBlur {

// How far the blur of `sigma` spreads a pixel, in whole pixels.
int Reach(double sigma);

// `width` × `height` bytes, rows `stride` bytes apart.
void Blur(std::uint8_t* bytes, int width, int height, qsizetype stride, double sigma);

// A Format_Alpha8 or Format_Grayscale8 image.
void Blur(QImage& mask, double sigma);

// Each channel of a Format_ARGB32_Premultiplied picture blurred alike, the colour kept within
// the alpha: a picture over nothing blurred as it composites.
void BlurPremultiplied(QImage& picture, double sigma);

// Wide blurs are worked out on a grid of points CoarseFactor(sigma) pixels apart. A shape can
// be drawn straight onto that grid (a picture of CoarseSize(size, factor), through
// ToCoarse(size, factor)), blurred there by CoarseSigma(sigma, factor) and read back at every
// pixel of `size` by Refine: as if it had been drawn at every pixel and blurred, at a fraction
// of the work. A factor of 1 is the pixels themselves.
int CoarseFactor(double sigma);
double CoarseSigma(double sigma, int factor);
QSize CoarseSize(QSize size, int factor);
QTransform ToCoarse(QSize size, int factor);
// `coarse` read back into every pixel of `fine`, both Format_Alpha8 or both
// Format_ARGB32_Premultiplied.
void Refine(const QImage& coarse, QImage& fine, int factor);
// The same for the rows of a picture of `size` from `firstRow` on, as many as `rows` holds.
void Refine(const QImage& coarse, QSize size, int factor, int firstRow, QImage& rows);

} // namespace MaskBlur
