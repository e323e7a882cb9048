#include "render/LayerLine.h"

#include "render/LaneBlend.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace {

// A position before every line, so that nothing there is within reach.
constexpr int Never = INT_MIN / 2;

// The first position from `from` on, before `to`, with a covered sample, or `to`. Runs of
// uncovered samples are skipped a word at a time; `samples` starts at `from`.
int NextCovered(const std::uint8_t* samples, int from, int to)
{
    int position = from;
    constexpr int Word = int(sizeof(std::uint64_t));
    for (; position + Word <= to; position += Word) {
        std::uint64_t word;
        std::memcpy(&word, samples + (position - from), sizeof word);
        if (word != 0)
            break;
    }
    while (position < to && samples[position - from] == 0)
        ++position;
    return position;
}

} // namespace

TLayerColours::TLayerColours(const std::vector<std::uint32_t>& colours, bool opaque,
                             std::optional<std::uint32_t> ground)
    : alphaBits(opaque ? 0xff000000u : 0u)
    , fine(!opaque)
{
    if (ground && fine) {
        groundSpread = LaneBlend::Spread(*ground | 0xff000000u);
        for (const std::uint32_t colour : colours)
            shown.push_back(
                LaneBlend::Spread(colour)
                + LaneBlend::ByteMul(*groundSpread & 0xff00ff00ffu, 255 - (colour >> 24)));
    }
    words.reserve(colours.size());
    spread.reserve(colours.size() + LaneBlend::Block::Pixels);
    for (const std::uint32_t colour : colours) {
        words.push_back(colour);
        spread.push_back(LaneBlend::Spread(colour));
    }
    // A block of pixels near the end of a span reads a few colours past the last layer's.
    spread.resize(colours.size() + LaneBlend::Block::Pixels);
}

void LayerLine::Begin(const TLayerColours& colours, int length, int workFrom,
                      std::uint32_t* firstPixel, std::ptrdiff_t pixelStep)
{
    FColours = &colours;
    FLength = length;
    FWorkFrom = workFrom;
    FFirstPixel = firstPixel;
    FPixelStep = pixelStep;
    FPosition = 0;
    FSolid = Never;
    // The ring never holds more than depth + 1 entries: the work starts `depth` positions into
    // the line, and from there on every covered position first drops what is out of reach.
    std::size_t capacity = 1;
    while (capacity <= std::size_t(colours.Depth()))
        capacity *= 2;
    if (FRing.size() != capacity)
        FRing.resize(capacity);
    FHead = FTail = 0;
}

void LayerLine::Advance(const std::uint8_t* samples, int to)
{
    const int from = FPosition;
    FPosition = to;
    if (!samples) {
        PaintSpan(from, to);
        return;
    }
    int position = from;
    while (position < to) {
        const int covered = NextCovered(samples + (position - from), position, to);
        PaintSpan(position, covered);
        if (covered == to)
            break;
        PaintSpan(covered, covered + 1);
        Push(covered, samples[covered - from]);
        position = covered + 1;
    }
}

void LayerLine::Push(int position, std::uint32_t sample)
{
    if (sample == 255) {
        FSolid = position;
        FHead = FTail;
        return;
    }
    FRing[FTail++ & (FRing.size() - 1)] = {position, sample};
}

// Paints the work pixels at positions [from, to), none of whose samples is covered.
void LayerLine::PaintSpan(int from, int to)
{
    from = std::max(from, FWorkFrom);
    const int depth = FColours->Depth();
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

std::uint32_t& LayerLine::PixelAt(int position) const
{
    return FFirstPixel[std::ptrdiff_t(position - FWorkFrom) * FPixelStep];
}

// Pixels that show the nearest solid layer alone.
void LayerLine::PaintSolid(int from, int to)
{
    const std::uint32_t* const words = FColours->words.data();
    for (int position = from; position < to; ++position)
        PixelAt(position) = words[position - FSolid - 1];
}

// Pixels with partly covered layers in front of the solid one, or of what the pixel shows, a
// block at a time: the layers of neighbouring pixels lie side by side.
void LayerLine::PaintBlended(int from, int to, bool solidInReach)
{
    if (FColours->fine) {
        PaintBlendedFinely(from, to, solidInReach);
        return;
    }
    const std::uint64_t* const spread = FColours->spread.data();
    const std::uint32_t alphaBits = FColours->alphaBits;
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
            PixelAt(first + i) = LaneBlend::Gather(block.Get(i)) | alphaBits;
    }
}

// The same a pixel at a time, every channel in 8.8 fixed point until the last layer: blue and
// red in the 32-bit lanes of one word, green and alpha in those of another.
void LayerLine::PaintBlendedFinely(int from, int to, bool solidInReach)
{
    constexpr std::uint64_t lanes = 0x00ffffff00ffffffu;
    constexpr std::uint64_t half = 0x0000008000000080u;
    auto fine = [](std::uint32_t word) {
        const std::uint64_t w = word;
        return std::pair<std::uint64_t, std::uint64_t>(
            ((w & 0xffu) | ((w & 0xff0000u) << 16)) << 8,
            (((w >> 8) & 0xffu) | ((w & 0xff000000u) << 8)) << 8);
    };
    // x ÷ 255 per lane, rounded; off by one unit of the lowest eight bits now and then, in
    // either direction, so that a stack of hundreds of layers does not drift.
    auto divide = [](std::uint64_t x) {
        const std::uint64_t t = x + half;
        return ((t + ((t >> 8) & 0x0000ffff0000ffffu) + ((t >> 16) & 0x000000ff000000ffu)) >> 8)
            & lanes;
    };
    auto level = [](std::uint64_t lane) {
        return std::min<std::uint64_t>((lane + 0x80) >> 8, 255);
    };
    const std::uint32_t* const words = FColours->words.data();
    const std::size_t wrap = FRing.size() - 1;
    for (int position = from; position < to; ++position) {
        auto [low, high] = fine(solidInReach ? words[position - FSolid - 1] : PixelAt(position));
        for (std::size_t i = FHead; i != FTail; ++i) {
            const TPartial& layer = FRing[i & wrap];
            const auto [colourLow, colourHigh] = fine(words[position - layer.position - 1]);
            const std::uint64_t a = layer.coverage;
            low = divide(colourLow * a + low * (255 - a));
            high = divide(colourHigh * a + high * (255 - a));
        }
        std::uint32_t pixel = std::uint32_t(level(low & 0xffffffu) | (level(high & 0xffffffu) << 8)
                                            | (level(low >> 32) << 16) | (level(high >> 32) << 24));
        if (FColours->groundSpread)
            pixel = OverGroundAsPainted(pixel, position, solidInReach);
        PixelAt(position) = pixel;
    }
}

// The pixel's colour set so that over the ground it gives exactly what painting the same layers
// over the ground gives, rounded at every layer: a transparent picture and the opaque one then
// agree pixel for pixel over the background colour. Only the rounding moves; the alpha stays.
std::uint32_t LayerLine::OverGroundAsPainted(std::uint32_t pixel, int position,
                                             bool solidInReach) const
{
    const std::uint64_t ground = *FColours->groundSpread;
    const std::uint64_t* const shown = FColours->shown.data();
    const std::size_t wrap = FRing.size() - 1;
    std::uint64_t painted;
    if (solidInReach) {
        painted = shown[position - FSolid - 1];
    } else {
        const std::uint32_t under = PixelAt(position);
        painted = LaneBlend::Spread(under)
            + LaneBlend::ByteMul(ground & 0xff00ff00ffu, 255 - (under >> 24));
    }
    for (std::size_t i = FHead; i != FTail; ++i) {
        const TPartial& layer = FRing[i & wrap];
        painted = LaneBlend::Blend(shown[position - layer.position - 1], painted, layer.coverage);
    }
    const std::uint32_t alpha = pixel >> 24;
    const std::uint64_t beneath = LaneBlend::ByteMul(ground & 0xff00ff00ffu, 255 - alpha);
    std::uint32_t result = alpha << 24;
    for (int c = 0; c < 3; ++c) {
        const int channel = int((painted >> (16 * c)) & 0xffu) - int((beneath >> (16 * c)) & 0xffu);
        result |= std::uint32_t(std::clamp(channel, 0, int(alpha))) << (8 * c);
    }
    return result;
}
