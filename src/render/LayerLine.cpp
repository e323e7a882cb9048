// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LayerLine.h"

#include "render/LaneBlend.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <functional>

namespace {

// A position before every line, so that nothing there is within reach.
constexpr int kNever = INT_MIN / 2;

// The first position from `from` on, before `to`, whose sample is not `skipped`, or `to`. Runs
// of `skipped` are passed over a word at a time; `samples` starts at `from`.
int NextNot(std::uint8_t skipped, const std::uint8_t* samples, int from, int to)
{
    const std::uint64_t run = skipped * 0x0101010101010101ull;
    int position = from;
    constexpr int kWord = int(sizeof(std::uint64_t));
    for (; position + kWord <= to; position += kWord) {
        std::uint64_t word;
        std::memcpy(&word, samples + (position - from), sizeof word);
        if (word != run)
            break;
    }
    while (position < to && samples[position - from] == skipped)
        ++position;
    return position;
}

bool IsUniform(const std::vector<std::uint32_t>& colours)
{
    return std::adjacent_find(colours.begin(), colours.end(), std::not_equal_to<>())
        == colours.end();
}

// Each coverage over 255, for blending alphas without a division per layer.
const std::array<float, 256> kWeights = [] {
    std::array<float, 256> weights;
    for (std::size_t i = 0; i < weights.size(); ++i)
        weights[i] = float(i) / 255.0f;
    return weights;
}();

} // namespace

TLayerColours::TLayerColours(const std::vector<std::uint32_t>& colours)
{
    words.reserve(colours.size());
    spread.reserve(colours.size() + LaneBlend::Block::kPixels);
    for (const std::uint32_t colour : colours) {
        words.push_back(colour | 0xff000000u);
        spread.push_back(LaneBlend::Spread(colour | 0xff000000u));
    }
    // A block of pixels near the end of a span reads a few colours past the last layer's.
    spread.resize(colours.size() + LaneBlend::Block::kPixels);
    uniform = IsUniform(colours);
}

TLayerColours::TLayerColours(const std::vector<std::uint32_t>& colours, std::uint32_t groundColour)
    : words(colours)
    , ground(LaneBlend::Block::Ground(LaneBlend::Spread(groundColour & 0x00ffffffu)))
{
    spread.reserve(colours.size() + LaneBlend::Block::kPixels);
    alphas.reserve(colours.size() + LaneBlend::Block::kPixels);
    for (const std::uint32_t colour : colours) {
        spread.push_back(LaneBlend::Spread(colour | 0xff000000u)
                         + LaneBlend::ByteMul(ground->Spread(), 255 - (colour >> 24)));
        alphas.push_back(float(colour >> 24));
    }
    spread.resize(colours.size() + LaneBlend::Block::kPixels);
    alphas.resize(colours.size() + LaneBlend::Block::kPixels);
    for (std::uint32_t& word : words)
        word = LaneBlend::ShowsGround(word, ground->Spread()) ? 0u : word;
    uniform = IsUniform(colours);
}

void LayerLine::Begin(const TLayerColours& colours, int length, int workFrom,
                      std::uint32_t* firstPixel, std::ptrdiff_t pixelStep)
{
    // A work pixel nearer the line's start would miss samples that reach it.
    Q_ASSERT(workFrom >= colours.Depth() && workFrom <= length);
    Q_ASSERT(firstPixel || workFrom == length);
    Q_ASSERT(pixelStep != 0);
    // BlendBlock loads a block's worth of colours (and alphas) from any layer on.
    Q_ASSERT(colours.words.size() == std::size_t(colours.Depth()));
    Q_ASSERT(colours.spread.size() >= std::size_t(colours.Depth() + LaneBlend::Block::kPixels));
    Q_ASSERT(!colours.OverGround()
             || colours.alphas.size() >= std::size_t(colours.Depth() + LaneBlend::Block::kPixels));
    FColours = &colours;
    FLength = length;
    FWorkFrom = workFrom;
    FFirstPixel = firstPixel;
    FPixelStep = pixelStep;
    FPosition = 0;
    FSolid = kNever;
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
        const int covered = NextNot(0, samples + (position - from), position, to);
        PaintSpan(position, covered);
        if (covered == to)
            break;
        PaintSpan(covered, covered + 1);
        Push(covered, samples[covered - from]);
        position = covered + 1;
        if (samples[covered - from] == 255)
            position = PaintSolidRun(samples + (position - from), position, to);
    }
}

// Behind each of a run of solid samples from `from` on, the pixel shows the nearest layer alone:
// paints those pixels and returns where the run ends.
int LayerLine::PaintSolidRun(const std::uint8_t* samples, int from, int to)
{
    const int end = NextNot(255, samples, from, to);
    if (end == from)
        return from;
    const std::uint32_t nearest = FColours->words[0];
    for (int position = std::max(from, FWorkFrom); position < end; ++position)
        PixelAt(position) = nearest;
    FSolid = end - 1;
    return end;
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
// block at a time: the layers of neighbouring pixels lie side by side. Over the ground, the
// alpha is blended alongside without rounding between layers, so that a long stack of faint
// layers does not stall short of it.
void LayerLine::PaintBlended(int from, int to, bool solidInReach)
{
    constexpr int kPixels = LaneBlend::Block::kPixels;
    std::uint32_t pixels[kPixels];
    // Layers all of one colour give every pixel of the span the same blend.
    if (solidInReach && FColours->uniform) {
        BlendBlock(from, 1, solidInReach, pixels);
        for (int position = from; position < to; ++position)
            PixelAt(position) = pixels[0];
        return;
    }
    for (int first = from; first < to; first += kPixels) {
        const int count = std::min(kPixels, to - first);
        BlendBlock(first, count, solidInReach, pixels);
        for (int i = 0; i < count; ++i)
            PixelAt(first + i) = pixels[i];
    }
}

// The `count` pixels (a block at most) from position `first` on.
void LayerLine::BlendBlock(int first, int count, bool solidInReach, std::uint32_t* pixels) const
{
    const std::uint64_t* const spread = FColours->spread.data();
    const float* const alphas = FColours->alphas.data();
    const bool overGround = FColours->OverGround();
    const std::size_t wrap = FRing.size() - 1;
    LaneBlend::Block block;
    if (solidInReach) {
        block.Load(spread + (first - FSolid - 1));
        if (overGround)
            block.LoadAlphas(alphas + (first - FSolid - 1));
    } else {
        for (int i = 0; i < count; ++i) {
            const std::uint32_t pixel = PixelAt(first + i);
            block.Set(i, Painted(pixel), float(pixel >> 24));
        }
    }
    for (std::size_t i = FHead; i != FTail; ++i) {
        const TPartial& layer = FRing[i & wrap];
        const int nearest = first - layer.position - 1;
        block.Blend(spread + nearest, layer.coverage);
        if (overGround)
            block.BlendAlphas(alphas + nearest, kWeights[layer.coverage]);
    }
    if (overGround)
        block.Unground(*FColours->ground, pixels);
    else
        block.StoreOpaque(pixels);
}

// A pixel as painted: over the ground when there is one.
std::uint64_t LayerLine::Painted(std::uint32_t pixel) const
{
    const std::uint64_t lanes = LaneBlend::Spread(pixel);
    if (!FColours->OverGround())
        return lanes;
    return lanes + LaneBlend::ByteMul(FColours->ground->Spread(), 255 - (pixel >> 24));
}
