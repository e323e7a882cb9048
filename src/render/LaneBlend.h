// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <cstring>

// The painter's blend of a colour over a pixel at some coverage, both premultiplied ARGB32 words
// (an opaque colour over an opaque pixel as a special case), with each channel in a 16-bit lane so
// that one multiplication scales all four, and blocks of neighbouring pixels blended lane by lane
// in arithmetic the compiler turns into vector instructions.
namespace LaneBlend {

// 0xAARRGGBB as 0x00AA00RR00GG00BB.
inline std::uint64_t Spread(std::uint32_t pixel)
{
    const std::uint64_t p = pixel;
    return (p & 0xffu) | ((p & 0xff00u) << 8) | ((p & 0xff0000u) << 16) | ((p & 0xff000000u) << 24);
}

// Back to a pixel word.
inline std::uint32_t Gather(std::uint64_t lanes)
{
    return std::uint32_t((lanes & 0xffu) | ((lanes >> 8) & 0xff00u) | ((lanes >> 16) & 0xff0000u)
                         | ((lanes >> 24) & 0xff000000u));
}

// x × a ÷ 255 per channel, rounded as the raster painter rounds it.
inline std::uint64_t ByteMul(std::uint64_t lanes, std::uint32_t a)
{
    constexpr std::uint64_t low = 0x00ff00ff00ff00ffu;
    constexpr std::uint64_t half = 0x0080008000800080u;
    const std::uint64_t t = lanes * a;
    return ((t + ((t >> 8) & low) + half) >> 8) & low;
}

// One antialiased text pixel of `colour` over `under`, where `colour` is opaque or, premultiplied,
// has no more of any channel than its alpha. The two rounded products of a channel never sum
// past 255, so no lane carries into the next.
inline std::uint64_t Blend(std::uint64_t colour, std::uint64_t under, std::uint32_t coverage)
{
    return ByteMul(colour, coverage) + ByteMul(under, 255 - coverage);
}

// The premultiplied pixel of `alpha` that composited over the opaque `ground` gives `painted`
// (both spread, without alpha), as far as the colour can: what lies over the ground beneath that
// alpha.
inline std::uint32_t Unground(std::uint64_t painted, std::uint32_t alpha, std::uint64_t ground)
{
    const std::uint64_t beneath = ByteMul(ground, 255 - alpha);
    std::uint32_t pixel = alpha << 24;
    for (int c = 0; c < 3; ++c) {
        const int channel = int((painted >> (16 * c)) & 0xffu) - int((beneath >> (16 * c)) & 0xffu);
        const int clamped = channel < 0 ? 0 : (channel > int(alpha) ? int(alpha) : channel);
        pixel |= std::uint32_t(clamped) << (8 * c);
    }
    return pixel;
}

// The spread channels of a few neighbouring pixels.
class Block
{
public:
    static constexpr int Pixels = 4;

    // `pixels` spread pixels, read whole.
    void Load(const std::uint64_t* pixels) { std::memcpy(FLanes, pixels, sizeof FLanes); }

    void Set(int pixel, std::uint64_t lanes)
    {
        std::memcpy(FLanes + pixel * LanesPerPixel, &lanes, sizeof lanes);
    }

    std::uint64_t Get(int pixel) const
    {
        std::uint64_t lanes;
        std::memcpy(&lanes, FLanes + pixel * LanesPerPixel, sizeof lanes);
        return lanes;
    }

    // Every pixel gets its own colour of `colours` (spread, read whole) at `coverage`, as
    // Blend() does it.
    void Blend(const std::uint64_t* colours, std::uint32_t coverage)
    {
        std::uint16_t colour[Lanes];
        std::memcpy(colour, colours, sizeof colour);
        const auto a = std::uint16_t(coverage);
        const auto b = std::uint16_t(255 - coverage);
        for (int i = 0; i < Lanes; ++i)
            FLanes[i] = std::uint16_t(ByteMul16(std::uint16_t(colour[i] * a))
                                      + ByteMul16(std::uint16_t(FLanes[i] * b)));
    }

private:
    static constexpr int LanesPerPixel = 4;
    static constexpr int Lanes = Pixels * LanesPerPixel;

    // A product of a channel and a coverage divided by 255 as ByteMul() does; the sum stays
    // below 65 408, so 16 bits hold it.
    static std::uint16_t ByteMul16(std::uint16_t product)
    {
        return std::uint16_t(std::uint16_t(product + (product >> 8) + 0x80) >> 8);
    }

    std::uint16_t FLanes[Lanes] = {};
};

} // namespace LaneBlend
