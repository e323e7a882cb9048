// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LayerCompositor.h"

#include "render/LaneBlend.h"
#include "render/LayerLineWalk.h"
#include "render/Workers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace LayerCompositor {

namespace {

bool IsWordTarget(const QImage& target)
{
    return target.format() == QImage::Format_RGB32
        || target.format() == QImage::Format_ARGB32_Premultiplied;
}

// One byte of coverage per sample; white on black in grey holds it in its one channel.
QImage Coverage(const QImage& mask)
{
    if (mask.format() == QImage::Format_Alpha8 || mask.format() == QImage::Format_Grayscale8)
        return mask;
    return mask.convertToFormat(QImage::Format_Grayscale8);
}

// Both entry points: the walk over 32-bit rows.
void Walk(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin, QPoint step,
          const TLayerColours& colours)
{
    Q_ASSERT(target.isNull() || IsWordTarget(target));
    Q_ASSERT(std::abs(step.x()) <= 1 && std::abs(step.y()) <= 1);
    const int depth = colours.Depth();
    if (depth == 0 || mask.isNull() || step.isNull() || !IsWordTarget(target))
        return;
    const QRect maskRect(maskOrigin, mask.size());
    const QRect reach = maskRect.united(maskRect.translated(step * depth));
    const QRect work = reach.intersected(area).intersected(target.rect());
    if (work.isEmpty())
        return;
    const QImage coverage = Coverage(mask);
    const bool large = qint64(work.width()) * work.height() >= kParallelPixels;
    LayerLineWalk(target, coverage, maskOrigin, step, colours)
        .Paint(work, large ? Workers::Count() : 1);
}

// One copy of the shape; with a ground, what it leaves showing that ground within a level is
// cleared.
void Blend(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
           std::uint32_t colour, std::optional<std::uint64_t> ground)
{
    constexpr int kRun = int(sizeof(std::uint64_t));
    Q_ASSERT(target.isNull() || IsWordTarget(target));
    const QRect work = QRect(maskOrigin, mask.size()).intersected(area).intersected(target.rect());
    if (work.isEmpty() || !IsWordTarget(target))
        return;
    const QImage coverage = Coverage(mask);
    const std::uint64_t ink = LaneBlend::Spread(colour);
    auto keyed = [&](std::uint32_t pixel) {
        return ground && LaneBlend::ShowsGround(pixel, *ground) ? 0u : pixel;
    };
    const std::uint32_t solid = keyed(colour);
    for (int y = work.top(); y <= work.bottom(); ++y) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + work.left();
        const std::uint8_t* samples =
            coverage.constScanLine(y - maskOrigin.y()) + (work.left() - maskOrigin.x());
        for (int x = 0; x < work.width(); ++x) {
            // Shapes are mostly wholly in or wholly out: eight samples at a time there.
            if (x % kRun == 0 && x + kRun <= work.width()) {
                std::uint64_t run;
                std::memcpy(&run, samples + x, sizeof run);
                if (run == 0 || run == ~std::uint64_t(0)) {
                    if (run != 0)
                        std::fill_n(pixels + x, kRun, solid);
                    x += kRun - 1;
                    continue;
                }
            }
            const std::uint32_t a = samples[x];
            if (a == 0)
                continue;
            pixels[x] = a == 255
                ? solid
                : keyed(LaneBlend::Gather(LaneBlend::Blend(ink, LaneBlend::Spread(pixels[x]), a)));
        }
    }
}

// x × a + y × (255 - a) over 255 per channel, rounded once: how the raster painter lays a
// picture at a clip's coverage (text has its two products rounded apart).
std::uint64_t Interpolate(std::uint64_t x, std::uint64_t y, std::uint32_t a)
{
    constexpr std::uint64_t kLow = 0x00ff00ff00ff00ffu;
    constexpr std::uint64_t kHalf = 0x0080008000800080u;
    const std::uint64_t t = x * a + y * (255 - a);
    return ((t + ((t >> 8) & kLow) + kHalf) >> 8) & kLow;
}

} // namespace

QRect SourceRegion(const QRect& area, QPoint step, int depth)
{
    return area.united(area.translated(-step * depth));
}

void Composite(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
               QPoint step, const std::vector<std::uint32_t>& colours)
{
    std::vector<std::uint32_t> opaque(colours);
    for (std::uint32_t& colour : opaque)
        colour |= 0xff000000u;
    Walk(target, area, mask, maskOrigin, step, TLayerColours(opaque));
}

void CompositePremultiplied(QImage& target, const QRect& area, const QImage& mask,
                            QPoint maskOrigin, QPoint step,
                            const std::vector<std::uint32_t>& colours, std::uint32_t ground)
{
    Q_ASSERT(target.isNull() || target.format() == QImage::Format_ARGB32_Premultiplied);
    Walk(target, area, mask, maskOrigin, step, TLayerColours(colours, ground));
}

void BlendShape(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
                std::uint32_t colour)
{
    Blend(target, area, mask, maskOrigin, colour, {});
}

void BlendShapeOverTransparency(QImage& target, const QRect& area, const QImage& mask,
                                QPoint maskOrigin, std::uint32_t colour, std::uint32_t ground)
{
    Q_ASSERT(target.isNull() || target.format() == QImage::Format_ARGB32_Premultiplied);
    Blend(target, area, mask, maskOrigin, colour, LaneBlend::Spread(ground & 0x00ffffffu));
}

void BlendTiles(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
                const QImage& tile, QPoint tileOrigin, QSize tileSize)
{
    Q_ASSERT(tile.format() == QImage::Format_RGB32);
    const QRect work = QRect(maskOrigin, mask.size()).intersected(area).intersected(target.rect());
    if (work.isEmpty() || !IsWordTarget(target) || tileSize.isEmpty())
        return;
    const QImage coverage = Coverage(mask);
    auto wrap = [](int at, int length) {
        return ((at % length) + length) % length;
    };
    for (int y = work.top(); y <= work.bottom(); ++y) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + work.left();
        const std::uint8_t* samples =
            coverage.constScanLine(y - maskOrigin.y()) + (work.left() - maskOrigin.x());
        const int tileY = wrap(y - tileOrigin.y(), tileSize.height());
        if (tileY >= tile.height())
            continue;
        const auto* colours = reinterpret_cast<const std::uint32_t*>(tile.constScanLine(tileY));
        int tileX = wrap(work.left() - tileOrigin.x(), tileSize.width());
        for (int x = 0; x < work.width();
             ++x, tileX = tileX + 1 == tileSize.width() ? 0 : tileX + 1) {
            const std::uint32_t a = samples[x];
            if (a == 0 || tileX >= tile.width())
                continue;
            const std::uint32_t colour = colours[tileX] | 0xff000000u;
            pixels[x] = a == 255 ? colour
                                 : LaneBlend::Gather(Interpolate(LaneBlend::Spread(colour),
                                                                 LaneBlend::Spread(pixels[x]), a));
        }
    }
}

} // namespace LayerCompositor
