// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LaneBlend.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The colours of the stacked layers, nearest first: premultiplied ARGB32 words (0xFFRRGGBB for an
// opaque colour), and spread for LaneBlend with a block's worth of padding past the last.
struct TLayerColours
{
    // Over opaque pixels: every pixel a layer touches comes out with alpha 255.
    explicit TLayerColours(const std::vector<std::uint32_t>& colours);
    // Over transparency, as the picture that composited over the opaque `ground` (0x00RRGGBB)
    // gives what painting the layers over that colour gives; what shows the ground within a
    // level is cleared.
    TLayerColours(const std::vector<std::uint32_t>& colours, std::uint32_t ground);

    int Depth() const { return int(words.size()); }
    bool OverGround() const { return ground.has_value(); }

    std::vector<std::uint32_t> words;
    // Spread as painted: over the ground when there is one.
    std::vector<std::uint64_t> spread;
    std::optional<LaneBlend::Block::Ground> ground; // spread without its alpha lane
    // Each layer's alpha, padded as `spread` is; only over the ground.
    std::vector<float> alphas;
    // Every layer of one colour.
    bool uniform = false;
};

// One line of pixels parallel to the shadow's step, walked in the step's direction, a piece at a
// time, over 32-bit pixels (Format_RGB32 or Format_ARGB32_Premultiplied). The layers a pixel shows
// come from the mask samples behind it on its line: the nearest solid one and the partly covered
// ones in front of that, kept in a ring. Between two covered samples nothing changes but which
// layers fall out of reach, so those pixels are painted in spans.
class LayerLine
{
public:
    // Starts a line of `length` positions whose pixels from position `workFrom` on are painted,
    // the first at `firstPixel` and each next `pixelStep` further on. `workFrom` is at least the
    // depth, so that every pixel sees all the samples that reach it, and `colours` are padded
    // past the last layer as TLayerColours pads them (asserted).
    void Begin(const TLayerColours& colours, int length, int workFrom, std::uint32_t* firstPixel,
               std::ptrdiff_t pixelStep);

    // Walks on to position `to`; `samples` holds the coverage from Position() on, or is null
    // where nothing is covered.
    void Advance(const std::uint8_t* samples, int to);

    int Position() const { return FPosition; }
    int Length() const { return FLength; }

private:
    struct TPartial
    {
        int position;
        std::uint32_t coverage;
    };

    void Push(int position, std::uint32_t sample);
    void PaintSpan(int from, int to);
    int PaintSolidRun(const std::uint8_t* samples, int from, int to);
    void PaintSolid(int from, int to);
    void PaintBlended(int from, int to, bool solidInReach);
    void BlendBlock(int first, int count, bool solidInReach, std::uint32_t* pixels) const;
    std::uint64_t Painted(std::uint32_t pixel) const;
    std::uint32_t& PixelAt(int position) const;

    const TLayerColours* FColours = nullptr;
    int FLength = 0;
    int FWorkFrom = 0;
    std::uint32_t* FFirstPixel = nullptr;
    std::ptrdiff_t FPixelStep = 0;
    int FPosition = 0;
    int FSolid = 0; // the nearest solid sample
    std::vector<TPartial> FRing; // the partly covered ones in front of it; a power of two long
    std::size_t FHead = 0;
    std::size_t FTail = 0;
};
