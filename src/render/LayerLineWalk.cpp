// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LayerLineWalk.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Lines across rows walked together, and how many positions each walks before the next.
constexpr int BundleLines = 16;
constexpr int BandPositions = 64;

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
    : FTarget(target)
    , FMask(mask)
    , FMaskOrigin(maskOrigin)
    , FStep(step)
    , FColours(colours)
{ }

void LayerLineWalk::Paint(const QRect& work)
{
    const std::vector<TEntry> entries = Entries(work);
    // A line along a row reads memory in order already.
    const int bundle = FStep.y() == 0 ? 1 : BundleLines;
    for (std::size_t i = 0; i < entries.size(); i += std::size_t(bundle)) {
        const int count = int(std::min(entries.size() - i, std::size_t(bundle)));
        PaintBundle(entries.data() + i, count);
    }
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

void LayerLineWalk::PaintBundle(const TEntry* entries, int count)
{
    // The samples that can reach a line's work pixels start `depth` steps before its entry.
    const int depth = FColours.Depth();
    FLines.resize(std::size_t(count));
    FFirstPoints.resize(std::size_t(count));
    const std::ptrdiff_t pixelStep =
        std::ptrdiff_t(FStep.y()) * (FTarget.bytesPerLine() / 4) + FStep.x();
    int longest = 0;
    for (int i = 0; i < count; ++i) {
        const QPoint entry = entries[i].point;
        auto* firstPixel =
            reinterpret_cast<std::uint32_t*>(FTarget.scanLine(entry.y())) + entry.x();
        FLines[std::size_t(i)].Begin(FColours, depth + entries[i].length, depth, firstPixel,
                                     pixelStep);
        FFirstPoints[std::size_t(i)] = entry - FStep * depth;
        longest = std::max(longest, depth + entries[i].length);
    }
    const int band = count == 1 ? longest : BandPositions;
    for (int from = 0; from < longest; from += band) {
        for (int i = 0; i < count; ++i) {
            LayerLine& line = FLines[std::size_t(i)];
            const int to = std::min(line.Length(), from + band);
            if (line.Position() >= to)
                continue;
            if (GatherSamples(FFirstPoints[std::size_t(i)], line.Position(), to - line.Position()))
                line.Advance(FSamples.data(), to);
            else
                line.Advance(nullptr, to);
        }
    }
}

bool LayerLineWalk::GatherSamples(QPoint first, int from, int count)
{
    // Where this piece of the line crosses the mask.
    const QPoint start = first + FStep * from - FMaskOrigin;
    int begin = 0;
    int end = count;
    ClipAxis(start.x(), FStep.x(), 0, FMask.width() - 1, begin, end);
    ClipAxis(start.y(), FStep.y(), 0, FMask.height() - 1, begin, end);
    if (begin >= end)
        return false;
    FSamples.assign(std::size_t(count), 0);
    const QPoint at = start + FStep * begin;
    const std::uint8_t* const source = FMask.constScanLine(at.y()) + at.x();
    const std::ptrdiff_t stride = std::ptrdiff_t(FStep.y()) * FMask.bytesPerLine() + FStep.x();
    std::uint8_t* const samples = FSamples.data() + begin;
    const int n = end - begin;
    if (stride == 1) {
        std::memcpy(samples, source, std::size_t(n));
    } else if (stride == -1) {
        // Along a row to the left: the row is read upwards in memory all the same, which the
        // processor fetches ahead of the reads; downwards it does not.
        const std::uint8_t* const low = source - (n - 1);
        for (int i = 0; i < n; ++i)
            samples[n - 1 - i] = low[i];
    } else {
        for (int i = 0; i < n; ++i)
            samples[i] = source[i * stride];
    }
    return true;
}
