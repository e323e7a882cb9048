// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineGlyphEffects.h"

#include <algorithm>

namespace ShineGlyph {

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;
constexpr std::uint32_t kOpaque = 0xFF000000;

constexpr int Red(std::uint32_t p)
{
    return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int Green(std::uint32_t p)
{
    return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int Blue(std::uint32_t p)
{
    return static_cast<int>(p & 0xFF);
}
constexpr std::uint32_t Pixel(int r, int g, int b)
{
    return kOpaque | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8)
        | static_cast<std::uint32_t>(b);
}

const std::uint32_t* Row(const QImage& image, int y)
{
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
}

std::uint32_t* Row(QImage& image, int y)
{
    return reinterpret_cast<std::uint32_t*>(image.scanLine(y));
}

// Runs `change(pixel) -> pixel` over every opaque pixel of the copy.
template<class Change> QImage MapOpaque(const QImage& glyph, Change change)
{
    QImage copy = glyph.copy();
    const std::uint32_t key = KeyColor(glyph);
    for (int y = 0; y < copy.height(); ++y) {
        std::uint32_t* row = Row(copy, y);
        for (int x = 0; x < copy.width(); ++x) {
            if ((row[x] & kRgbMask) != key)
                row[x] = kOpaque | (change(row[x] & kRgbMask) & kRgbMask);
        }
    }
    return copy;
}

template<class Mix> std::uint32_t PerChannel(std::uint32_t a, std::uint32_t b, Mix mix)
{
    return Pixel(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

// Opaque pixels become `parts` parts of `tint` and one part glyph, per channel.
QImage Mix(const QImage& glyph, std::uint32_t tint, int parts)
{
    return MapOpaque(glyph, [&](std::uint32_t p) {
        return PerChannel(tint, p, [parts](int t, int c) { return (parts * t + c) / (parts + 1); });
    });
}

// Transparent pixels within `reach` steps (left, right, up, down) of an opaque pixel become
// `shine`. Tests read the source so that outline pixels never count as opaque.
QImage Outline(const QImage& glyph, std::uint32_t shine, int reach)
{
    QImage copy = glyph.copy();
    const std::uint32_t key = KeyColor(glyph);
    const int w = glyph.width();
    const int h = glyph.height();
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && (Row(glyph, y)[x] & kRgbMask) != key;
    };
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = Row(copy, y);
        for (int x = 0; x < w; ++x) {
            if (opaque(x, y))
                continue;
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy) {
                const int span = reach - std::abs(dy);
                for (int dx = -span; dx <= span && !near; ++dx)
                    near = (dx != 0 || dy != 0) && opaque(x + dx, y + dy);
            }
            if (near)
                row[x] = kOpaque | (shine & kRgbMask);
        }
    }
    return copy;
}

// Every second opaque pixel by the mask count becomes `value`.
QImage MaskEvery(const QImage& glyph, std::uint32_t value)
{
    QImage copy = glyph.copy();
    const std::uint32_t key = KeyColor(glyph);
    for (int y = 0; y < copy.height(); ++y) {
        std::uint32_t* row = Row(copy, y);
        for (int x = 0; x < copy.width(); ++x) {
            if ((row[x] & kRgbMask) != key && MaskSelects(x, y, copy.width(), copy.height()))
                row[x] = kOpaque | (value & kRgbMask);
        }
    }
    return copy;
}

} // namespace

TRamp MakeRamp(std::uint32_t from, std::uint32_t to)
{
    TRamp ramp {};
    auto step = [](int c0, int c1, int i) {
        return c0 + i * (c1 - c0) / 255;
    };
    for (int i = 0; i < 256; ++i) {
        ramp[static_cast<std::size_t>(i)] =
            Pixel(step(Red(from), Red(to), i), step(Green(from), Green(to), i),
                  step(Blue(from), Blue(to), i))
            & kRgbMask;
    }
    return ramp;
}

std::uint32_t KeyColor(const QImage& glyph)
{
    if (glyph.isNull())
        return 0;
    return Row(glyph, glyph.height() - 1)[0] & kRgbMask;
}

bool MaskSelects(int x, int y, int width, int height)
{
    const long long n = static_cast<long long>(y) * (width + (height % 2 == 0 ? 1 : 0)) + x;
    return n % 2 == 1;
}

QImage ActiveGlyph(const QImage& glyph, TActiveImageType type, std::uint32_t shine)
{
    switch (type) {
    case aiXorLight:
        return MapOpaque(glyph, [&](std::uint32_t p) { return p ^ shine; });
    case aiHalfLight:
        return Mix(glyph, shine, 1);
    case aiQuaterLight:
        return Mix(glyph, shine, 3);
    case aiAddLight:
        return MapOpaque(glyph, [&](std::uint32_t p) {
            return PerChannel(shine, p, [](int s, int c) { return std::min(s + c, 255); });
        });
    case aiMaskLight:
        return MaskEvery(glyph, shine);
    case aiFrameLight:
        return Outline(glyph, shine, 1);
    case aiFrameLight2:
        return Outline(glyph, shine, 2);
    case aiNormal:
        break;
    }
    return glyph.copy();
}

QImage DisabledGlyph(const QImage& glyph, TDisabledImageType type, std::uint32_t face)
{
    switch (type) {
    case diDefault:
        return EdgeMask(glyph);
    case diGrayscale:
        return MapOpaque(glyph, [](std::uint32_t p) {
            const int g = (Red(p) + Green(p) + Blue(p)) / 3;
            return Pixel(g, g, g);
        });
    case diAlphaHalfTrans:
        return Mix(glyph, face, 1);
    case diAlphaQuaterTrans:
        return Mix(glyph, face, 3);
    case diMaskTrans:
        return MaskEvery(glyph, KeyColor(glyph));
    }
    return glyph.copy();
}

QImage EdgeMask(const QImage& glyph)
{
    QImage mask(glyph.size(), QImage::Format_RGB32);
    mask.fill(kOpaque);
    const int w = glyph.width();
    for (int y = 0; y + 1 < glyph.height(); ++y) {
        const std::uint32_t* row = Row(glyph, y);
        const std::uint32_t* below = Row(glyph, y + 1);
        std::uint32_t* out = Row(mask, y);
        for (int x = 0; x + 1 < w; ++x) {
            if ((below[x + 1] & kRgbMask) != (row[x] & kRgbMask))
                out[x] = kOpaque | kRgbMask;
        }
        for (int x = 1; x < w; ++x) {
            if ((below[x - 1] & kRgbMask) != (row[x] & kRgbMask))
                out[x - 1] = kOpaque | kRgbMask;
        }
    }
    return mask;
}

QImage WithoutColor(const QImage& image, std::uint32_t transparent)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        std::uint32_t* row = Row(out, y);
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] & kRgbMask) == (transparent & kRgbMask))
                row[x] = 0;
        }
    }
    return out;
}

QImage MaskBrush(const QImage& mask, const QColor& brush)
{
    QImage out(mask.size(), QImage::Format_ARGB32);
    const std::uint32_t paint = kOpaque | (brush.rgb() & kRgbMask);
    for (int y = 0; y < mask.height(); ++y) {
        const std::uint32_t* in = Row(mask, y);
        std::uint32_t* row = Row(out, y);
        for (int x = 0; x < mask.width(); ++x)
            row[x] = (in[x] & kRgbMask) != 0 ? paint : 0;
    }
    return out;
}

} // namespace ShineGlyph
