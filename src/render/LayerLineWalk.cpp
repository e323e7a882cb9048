// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LayerLineWalk.h"

#include "render/Workers.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Lines across rows walked together, and how many positions each walks before the next.
constexpr int kBundleLines = 16;
constexpr int kBandPositions = 64;
// Groups of bundles handed to each thread, several per thread so that one slow group (lines
// through the letters) does not leave the others idle.
constexpr int kGroupsPerThread = 8;

// The positions t >= 0 at which from + t * step lies within [low, high], as [first, last).
void ClipAxis(int from, int step, int low, int high, int& first, int& last)
{
    if (step == 0) {
        if (from < low || from > high)
            last = first;
        return;
    }
    const int enter = step > 0 ? low - from : from - high;
    const int leave = (step > 0 ? high - from : from - low) + 1;
    first = std::max(first, enter);
    last = std::min(last, leave);
}

} // namespace

LayerLineWalk::LayerLineWalk(QImage& target, const QImage& mask, QPoint maskOrigin, QPoint step,
                             const TLayerColours& colours)
    : FPixels(reinterpret_cast<std::uint32_t*>(target.bits()))
    , FWordsPerLine(target.bytesPerLine() / 4)
    , FMask(mask)
    , FMaskOrigin(maskOrigin)
    , FStep(step)
    , FColours(colours)
    , FTargetRect(target.rect())
{
    // The walk reads one byte a sample and writes one word a pixel.
    Q_ASSERT(mask.isNull() || mask.format() == QImage::Format_Alpha8
             || mask.format() == QImage::Format_Grayscale8);
    Q_ASSERT(target.format() == QImage::Format_RGB32
             || target.format() == QImage::Format_ARGB32_Premultiplied);
    Q_ASSERT(std::abs(step.x()) <= 1 && std::abs(step.y()) <= 1 && !step.isNull());
}

void LayerLineWalk::Paint(const QRect& work, int threads)
{
    Q_ASSERT(FTargetRect.contains(work));
    const std::vector<TEntry> entries = Entries(work);
    // A line along a row reads memory in order already.
    const int bundle = FStep.y() == 0 ? 1 : kBundleLines;
    const int bundles = int((entries.size() + std::size_t(bundle) - 1) / std::size_t(bundle));
    threads = std::clamp(threads, 1, std::max(1, bundles));
    const int groups = threads == 1 ? 1 : std::min(bundles, threads * kGroupsPerThread);
    std::vector<TScratch> scratch(static_cast<std::size_t>(threads));
    Workers::ForEach(groups, threads, [&](int worker, int group) {
        // Group g paints bundles [g * bundles / groups, (g + 1) * bundles / groups).
        const std::size_t first = std::size_t(group) * std::size_t(bundles) / std::size_t(groups);
        const std::size_t last =
            std::size_t(group + 1) * std::size_t(bundles) / std::size_t(groups);
        for (std::size_t b = first; b < last; ++b) {
            const std::size_t i = b * std::size_t(bundle);
            const int count = int(std::min(entries.size() - i, std::size_t(bundle)));
            PaintBundle(scratch[std::size_t(worker)], entries.data() + i, count);
        }
    });
}

std::vector<LayerLineWalk::TEntry> LayerLineWalk::Entries(const QRect& work) const
{
    const int sx = FStep.x();
    const int sy = FStep.y();
    // Every line enters the work along its first row, its first column, or both.
    const int entryRow = sy > 0 ? work.top() : work.bottom();
    const int entryColumn = sx > 0 ? work.left() : work.right();
    std::vector<TEntry> entries;
    auto add = [&](QPoint point) {
        int first = 0;
        int last = INT_MAX;
        ClipAxis(point.x(), sx, work.left(), work.right(), first, last);
        ClipAxis(point.y(), sy, work.top(), work.bottom(), first, last);
        entries.push_back({point, last});
    };
    if (sy != 0) {
        for (int x = work.left(); x <= work.right(); ++x)
            add({x, entryRow});
    }
    if (sx != 0) {
        for (int y = work.top(); y <= work.bottom(); ++y) {
            if (sy == 0 || y != entryRow)
                add({entryColumn, y});
        }
    }
    return entries;
}

void LayerLineWalk::PaintBundle(TScratch& scratch, const TEntry* entries, int count) const
{
    // The samples that can reach a line's work pixels start `depth` steps before its entry.
    const int depth = FColours.Depth();
    scratch.lines.resize(std::size_t(count));
    scratch.firstPoints.resize(std::size_t(count));
    const std::ptrdiff_t pixelStep = std::ptrdiff_t(FStep.y()) * FWordsPerLine + FStep.x();
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        const QPoint entry = entries[i].point;
        std::uint32_t* const firstPixel = FPixels + entry.y() * FWordsPerLine + entry.x();
        scratch.lines[std::size_t(i)].Begin(FColours, depth + entries[i].length, depth, firstPixel,
                                            pixelStep);
        scratch.firstPoints[std::size_t(i)] = entry - FStep * depth;
        longest = std::max(longest, depth + entries[i].length);
    }
    const int band = count == 1 ? longest : kBandPositions;
    // Neighbours along the entry row meet each mask row side by side: a band of their samples is
    // read a row at a time, rather than a line at a time down the rows.
    bool sideBySide = count > 1;
    for (int i = 1; i < count && sideBySide; ++i)
        sideBySide = entries[i].point == entries[0].point + QPoint(i, 0);
    for (int from = 0; from < longest; from += band) {
        if (sideBySide) {
            const bool covered = GatherTile(scratch, scratch.firstPoints[0], from, band, count);
            for (int i = 0; i < count; ++i) {
                LayerLine& line = scratch.lines[std::size_t(i)];
                const int to = std::min(line.Length(), from + band);
                if (line.Position() < to)
                    line.Advance(covered ? scratch.samples.data() + i * band : nullptr, to);
            }
            continue;
        }
        for (int i = 0; i < count; ++i) {
            LayerLine& line = scratch.lines[std::size_t(i)];
            const int to = std::min(line.Length(), from + band);
            if (line.Position() >= to)
                continue;
            if (GatherSamples(scratch.samples, scratch.firstPoints[std::size_t(i)], line.Position(),
                              to - line.Position()))
                line.Advance(scratch.samples.data(), to);
            else
                line.Advance(nullptr, to);
        }
    }
}

bool LayerLineWalk::GatherTile(TScratch& scratch, QPoint first, int from, int band, int count) const
{
    // Positions from `from` on whose mask row lies in the mask.
    const QPoint start = first + FStep * from - FMaskOrigin;
    int begin = 0;
    int end = band;
    ClipAxis(start.y(), FStep.y(), 0, FMask.height() - 1, begin, end);
    // Line i at position t reads the mask at start + step * t + (i, 0).
    ClipAxis(start.x(), FStep.x(), -(count - 1), FMask.width() - 1, begin, end);
    if (begin >= end)
        return false;
    scratch.samples.resize(std::size_t(count) * std::size_t(band));
    std::uint8_t* const tile = scratch.samples.data();
    const std::uint8_t* const bits = FMask.constBits();
    const std::ptrdiff_t bytesPerLine = FMask.bytesPerLine();
    // Only a band that leaves the mask somewhere has samples to clear.
    const int firstX = start.x() + FStep.x() * begin;
    const int lastX = start.x() + FStep.x() * (end - 1);
    const bool inside =
        std::min(firstX, lastX) >= 0 && std::max(firstX, lastX) + count <= FMask.width();
    if (inside && count == kBundleLines) {
        // A whole bundle: one load of a row's piece a position.
        const std::ptrdiff_t rowStep = FStep.y() * bytesPerLine + FStep.x();
        const std::uint8_t* row = bits + (start.y() + FStep.y() * begin) * bytesPerLine + firstX;
        if (begin > 0 || end < band)
            std::fill(scratch.samples.begin(), scratch.samples.end(), std::uint8_t(0));
        for (int t = begin; t < end; ++t, row += rowStep) {
            std::uint8_t piece[kBundleLines];
            std::memcpy(piece, row, sizeof piece);
            for (int i = 0; i < kBundleLines; ++i)
                tile[i * band + t] = piece[i];
        }
        return true;
    }
    if (begin > 0 || end < band || !inside)
        std::fill(scratch.samples.begin(), scratch.samples.end(), std::uint8_t(0));
    for (int t = begin; t < end; ++t) {
        const QPoint at = start + FStep * t;
        const int low = std::max(0, -at.x());
        const int high = std::min(count, FMask.width() - at.x());
        const std::uint8_t* const row = bits + at.y() * bytesPerLine + at.x();
        for (int i = low; i < high; ++i)
            tile[i * band + t] = row[i];
    }
    return true;
}

bool LayerLineWalk::GatherSamples(std::vector<std::uint8_t>& samples, QPoint first, int from,
                                  int count) const
{
    // Where this piece of the line crosses the mask.
    const QPoint start = first + FStep * from - FMaskOrigin;
    int begin = 0;
    int end = count;
    ClipAxis(start.x(), FStep.x(), 0, FMask.width() - 1, begin, end);
    ClipAxis(start.y(), FStep.y(), 0, FMask.height() - 1, begin, end);
    if (begin >= end)
        return false;
    samples.assign(std::size_t(count), 0);
    const QPoint at = start + FStep * begin;
    const std::uint8_t* const source = FMask.constScanLine(at.y()) + at.x();
    const std::ptrdiff_t stride = std::ptrdiff_t(FStep.y()) * FMask.bytesPerLine() + FStep.x();
    std::uint8_t* const into = samples.data() + begin;
    const int n = end - begin;
    if (stride == 1) {
        std::memcpy(into, source, std::size_t(n));
    } else if (stride == -1) {
        // Along a row to the left: the row is read upwards in memory all the same, which the
        // processor fetches ahead of the reads; downwards it does not.
        const std::uint8_t* const low = source - (n - 1);
        for (int i = 0; i < n; ++i)
            into[n - 1 - i] = low[i];
    } else {
        for (int i = 0; i < n; ++i)
            into[i] = source[i * stride];
    }
    return true;
}
