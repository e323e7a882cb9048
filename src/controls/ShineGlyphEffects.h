// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "controls/ShineTypes.h"

#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>

// Pixel work of the shine button on 32-bit rows. Pixel words are 0x00RRGGBB; the top byte is
// ignored when comparing (Qt keeps it 0xFF in RGB32 images).
namespace ShineGlyph {

using TRamp = std::array<std::uint32_t, 256>;

// 256 steps from `from` to `to`: each channel c0 + i * (c1 - c0) / 255, truncated toward zero.
TRamp MakeRamp(std::uint32_t from, std::uint32_t to);

// The ramp entry that row or column `d` of a stretch over `extent` pixels repeats (or drops to).
constexpr int RampIndex(int d, int extent)
{
    return extent > 0 ? d * 256 / extent : 0;
}

// The low 24 bits of the bottom-left pixel of an RGB32 image.
std::uint32_t KeyColor(const QImage& glyph);

// The glyph as the active looks draw it; `shine` is a pixel word.
QImage ActiveGlyph(const QImage& glyph, TActiveImageType type, std::uint32_t shine);

// The glyph as the disabled look draws it; `face` is the pixel word of the up background.
// diDefault gives a black and white edge mask.
QImage DisabledGlyph(const QImage& glyph, TDisabledImageType type, std::uint32_t face);

// Edges of the glyph: white where a pixel differs from its down-right or down-left neighbour.
QImage EdgeMask(const QImage& glyph);

// Whether the mask count selects pixel (x, y): every second pixel, the count running on across
// rows and stepping once more after each row when the height is even.
bool MaskSelects(int x, int y, int width, int height);

// The image with every pixel of colour `transparent` left out, ready to draw over a canvas.
QImage WithoutColor(const QImage& image, std::uint32_t transparent);

// `brush` where the mask is white, nothing where it is black.
QImage MaskBrush(const QImage& mask, const QColor& brush);

} // namespace ShineGlyph
