#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The colours of the stacked layers, nearest first: premultiplied ARGB32 words (0xFFRRGGBB for an
// opaque colour), and spread for LaneBlend with a block's worth of padding past the last.
struct TLayerColours
{
    // `opaque`: every pixel a layer touches comes out with alpha 255, whatever lies beneath.
    // `ground`: over transparency, the opaque colour (0x00RRGGBB) whose picture the result is to
    // give exactly when composited over it.
    explicit TLayerColours(const std::vector<std::uint32_t>& colours, bool opaque = false,
                           std::optional<std::uint32_t> ground = {});

    int Depth() const { return int(words.size()); }

    std::vector<std::uint32_t> words;
    std::vector<std::uint64_t> spread;
    std::uint32_t alphaBits = 0; // or'ed into every blended pixel
    // Blends the layers over a pixel with eight more bits, rounding once at the end: a picture
    // over transparency is to give, over any colour, what painting over that colour gives, and
    // rounding at every layer of a long stack would part the two.
    bool fine = false;
    // The ground spread, and each layer as painted over it, when there is a ground.
    std::optional<std::uint64_t> groundSpread;
    std::vector<std::uint64_t> shown;
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
    // depth, so that every pixel sees all the samples that reach it.
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
    void PaintSolid(int from, int to);
    void PaintBlended(int from, int to, bool solidInReach);
    void PaintBlendedFinely(int from, int to, bool solidInReach);
    std::uint32_t OverGroundAsPainted(std::uint32_t pixel, int position, bool solidInReach) const;
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
