#include "render/LayerLineWalk.h"

#include "render/LaneBlend.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// A position before every line, so that nothing there is within reach.
constexpr int Never = INT_MIN / 2;

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
                             const std::vector<std::uint32_t>& colours)
    : FTarget(target)
    , FMask(mask)
    , FMaskOrigin(maskOrigin)
    , FStep(step)
{
    FOpaque.reserve(colours.size());
    FSpread.reserve(colours.size() + LaneBlend::Block::Pixels);
    for (const std::uint32_t colour : colours) {
        FOpaque.push_back(colour | 0xff000000u);
        FSpread.push_back(LaneBlend::Spread(colour));
    }
    // A block of pixels near the end of a span reads a few colours past the last layer's.
    FSpread.resize(colours.size() + LaneBlend::Block::Pixels);
    std::size_t capacity = 1;
    while (capacity <= colours.size())
        capacity *= 2;
    FRing.resize(capacity);
}

void LayerLineWalk::Paint(const QRect& work)
{
    const int sx = FStep.x();
    const int sy = FStep.y();
    // Every line meets the work where the step enters it: along its first row, its first
    // column, or both. Neighbouring lines come one after another, so they share cached rows.
    const int entryRow = sy > 0 ? work.top() : work.bottom();
    const int entryColumn = sx > 0 ? work.left() : work.right();
    auto length = [&](QPoint entry) {
        int first = 0;
        int last = INT_MAX;
        ClipAxis(entry.x(), sx, work.left(), work.right(), first, last);
        ClipAxis(entry.y(), sy, work.top(), work.bottom(), first, last);
        return last;
    };
    if (sy != 0) {
        for (int x = work.left(); x <= work.right(); ++x)
            WalkLine({x, entryRow}, length({x, entryRow}));
    }
    if (sx != 0) {
        for (int y = work.top(); y <= work.bottom(); ++y) {
            if (sy == 0 || y != entryRow)
                WalkLine({entryColumn, y}, length({entryColumn, y}));
        }
    }
}

void LayerLineWalk::WalkLine(QPoint entry, int length)
{
    // The samples that can reach the work pixels start `Depth()` steps before the entry.
    const QPoint first = entry - FStep * Depth();
    FLength = Depth() + length;
    FWorkFrom = Depth();
    if (!GatherSamples(first, FLength))
        return;
    FFirstPixel = reinterpret_cast<std::uint32_t*>(FTarget.scanLine(entry.y())) + entry.x();
    FPixelStep = std::ptrdiff_t(FStep.y()) * (FTarget.bytesPerLine() / 4) + FStep.x();
    FSolid = Never;
    FHead = FTail = 0;
    int position = 0;
    while (position < FLength) {
        const int covered = NextCovered(position);
        PaintSpan(position, covered);
        if (covered == FLength)
            break;
        PaintSpan(covered, covered + 1);
        Push(covered, FSamples[std::size_t(covered)]);
        position = covered + 1;
    }
}

bool LayerLineWalk::GatherSamples(QPoint first, int count)
{
    // Where the line crosses the mask.
    const QPoint start = first - FMaskOrigin;
    int from = 0;
    int to = count;
    ClipAxis(start.x(), FStep.x(), 0, FMask.width() - 1, from, to);
    ClipAxis(start.y(), FStep.y(), 0, FMask.height() - 1, from, to);
    if (from >= to)
        return false;
    FSamples.assign(std::size_t(count), 0);
    // White on black: every channel holds the coverage.
    const QPoint at = start + FStep * from;
    const auto* source =
        reinterpret_cast<const std::uint32_t*>(FMask.constScanLine(at.y())) + at.x();
    const std::ptrdiff_t stride =
        std::ptrdiff_t(FStep.y()) * (FMask.bytesPerLine() / 4) + FStep.x();
    std::uint8_t* const samples = FSamples.data() + from;
    const int n = to - from;
    if (stride == 1) {
        // Along a row to the right: blocks of a fixed size vectorise.
        constexpr int Block = 16;
        int i = 0;
        for (; i + Block <= n; i += Block)
            for (int j = 0; j < Block; ++j)
                samples[i + j] = std::uint8_t(source[i + j]);
        for (; i < n; ++i)
            samples[i] = std::uint8_t(source[i]);
    } else {
        for (int i = 0; i < n; ++i)
            samples[i] = std::uint8_t(source[i * stride]);
    }
    return true;
}

// The first position from `from` on with a covered sample, or the line's length. Runs of
// uncovered samples are skipped a word at a time.
int LayerLineWalk::NextCovered(int from) const
{
    const std::uint8_t* const samples = FSamples.data();
    int position = from;
    constexpr int Word = int(sizeof(std::uint64_t));
    for (; position + Word <= FLength; position += Word) {
        std::uint64_t word;
        std::memcpy(&word, samples + position, sizeof word);
        if (word != 0)
            break;
    }
    while (position < FLength && samples[position] == 0)
        ++position;
    return position;
}

void LayerLineWalk::Push(int position, std::uint32_t sample)
{
    if (sample == 255) {
        FSolid = position;
        FHead = FTail;
        return;
    }
    // The ring never holds more than depth + 1 entries: a line starts `depth` positions before
    // its first work pixel, and from there on every covered position first drops what is out
    // of reach.
    FRing[FTail++ & (FRing.size() - 1)] = {position, sample};
}

// Paints the work pixels at positions [from, to), none of whose samples is covered.
void LayerLineWalk::PaintSpan(int from, int to)
{
    from = std::max(from, FWorkFrom);
    const int depth = Depth();
    const std::size_t wrap = FRing.size() - 1;
    while (from < to) {
        while (FHead != FTail && from - FRing[FHead & wrap].position > depth)
            ++FHead;
        const bool solidInReach = from - FSolid <= depth;
        if (FHead == FTail && !solidInReach)
            return;
        // Until the farthest layer in reach falls out of it, every pixel has the same layers.
        int until = to;
        if (solidInReach)
            until = std::min(until, FSolid + depth + 1);
        if (FHead != FTail)
            until = std::min(until, FRing[FHead & wrap].position + depth + 1);
        if (FHead == FTail)
            PaintSolid(from, until);
        else
            PaintBlended(from, until, solidInReach);
        from = until;
    }
}

std::uint32_t& LayerLineWalk::PixelAt(int position) const
{
    return FFirstPixel[std::ptrdiff_t(position - FWorkFrom) * FPixelStep];
}

// Pixels that show the nearest solid layer alone.
void LayerLineWalk::PaintSolid(int from, int to)
{
    for (int position = from; position < to; ++position)
        PixelAt(position) = FOpaque[std::size_t(position - FSolid - 1)];
}

// Pixels with partly covered layers in front of the solid one, or of what the pixel shows, a
// block at a time: the layers of neighbouring pixels lie side by side.
void LayerLineWalk::PaintBlended(int from, int to, bool solidInReach)
{
    const std::uint64_t* const spread = FSpread.data();
    const std::size_t wrap = FRing.size() - 1;
    for (int first = from; first < to; first += LaneBlend::Block::Pixels) {
        const int count = std::min(LaneBlend::Block::Pixels, to - first);
        LaneBlend::Block block;
        if (solidInReach) {
            block.Load(spread + (first - FSolid - 1));
        } else {
            for (int i = 0; i < count; ++i)
                block.Set(i, LaneBlend::Spread(PixelAt(first + i)));
        }
        for (std::size_t i = FHead; i != FTail; ++i) {
            const TPartial& layer = FRing[i & wrap];
            block.Blend(spread + (first - layer.position - 1), layer.coverage);
        }
        for (int i = 0; i < count; ++i)
            PixelAt(first + i) = LaneBlend::Gather(block.Get(i));
    }
}
