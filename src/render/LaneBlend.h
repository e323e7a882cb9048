// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
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

// The least alpha with which some colour over `under` shows `shown` (one channel), rounded up.
inline std::uint32_t LeastAlpha(std::uint32_t shown, std::uint32_t under)
{
    if (shown < under)
        return (255 * (under - shown) + under - 1) / under;
    if (shown > under)
        return (255 * (shown - under) + (255 - under) - 1) / (255 - under);
    return 0;
}

// The premultiplied pixel of `alpha` that composited over the opaque `ground` gives `painted`
// (both spread, without alpha): what lies over the ground beneath that alpha. Where rounding
// has carried `painted` further from the ground than `alpha` reaches, the alpha grows until over
// the ground the pixel comes within a level of `painted`; growing it all the way would carry
// the rounding of this one ground into the pixel over every other.
inline std::uint32_t Unground(std::uint64_t painted, std::uint32_t alpha, std::uint64_t ground)
{
    int colour[3];
    auto over = [&] {
        const std::uint64_t beneath = ByteMul(ground, 255 - alpha);
        bool near = true;
        for (int c = 0; c < 3; ++c) {
            colour[c] = int((painted >> (16 * c)) & 0xffu) - int((beneath >> (16 * c)) & 0xffu);
            near = near && colour[c] >= -1 && colour[c] <= int(alpha) + 1;
        }
        return near;
    };
    if (!over()) {
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t shown = std::uint32_t(painted >> (16 * c)) & 0xffu;
            const std::uint32_t under = std::uint32_t(ground >> (16 * c)) & 0xffu;
            const std::uint32_t nearer = shown + (shown < under) - (shown > under);
            const std::uint32_t least = LeastAlpha(nearer, under);
            alpha = least > alpha ? least : alpha;
        }
        over();
    }
    std::uint32_t pixel = alpha << 24;
    for (int c = 0; c < 3; ++c) {
        const int clamped = colour[c] < 0 ? 0 : (colour[c] > int(alpha) ? int(alpha) : colour[c]);
        pixel |= std::uint32_t(clamped) << (8 * c);
    }
    return pixel;
}

// Whether the premultiplied `pixel` composited over the opaque `ground` (spread, without alpha)
// shows the ground within a level in every channel.
inline bool ShowsGround(std::uint32_t pixel, std::uint64_t ground)
{
    constexpr std::uint64_t colourLanes = 0x0000ffffffffffffu;
    const std::uint64_t shown =
        (Spread(pixel) & colourLanes) + ByteMul(ground, 255 - (pixel >> 24));
    // 513 more than the ground's in every lane keeps each lane in [258, 1023], so none borrows
    // from the next; a near lane holds 512, 513 or 514.
    const std::uint64_t lanes = shown + 0x0000020102010201u - ground;
    return (lanes & 0x0000fffcfffcfffcu) == 0x0000020002000200u
        && (lanes & (lanes >> 1) & 0x0000000100010001u) == 0;
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

    // Every pixel over transparency, of alphas[i], as Unground() gives it over `ground`; a pixel
    // that rounding carried further from the ground than its alpha reaches is left to
    // Unground() itself.
    void Unground(const std::uint32_t* alphas, std::uint64_t ground, std::uint32_t* pixels) const
    {
        std::uint16_t under[LanesPerPixel];
        std::memcpy(under, &ground, sizeof under);
        std::int16_t colour[Lanes];
        std::uint16_t alpha[Lanes];
        std::uint8_t far[Lanes];
        for (int i = 0; i < Lanes; ++i) {
            alpha[i] = std::uint16_t(alphas[i / LanesPerPixel]);
            const auto beneath =
                ByteMul16(std::uint16_t(under[i % LanesPerPixel] * (255 - alpha[i])));
            colour[i] = std::int16_t(std::int16_t(FLanes[i]) - std::int16_t(beneath));
            // The alpha lane holds 255 over the ground and takes the alpha itself.
            colour[i] = i % LanesPerPixel == 3 ? std::int16_t(alpha[i]) : colour[i];
            far[i] = std::uint8_t(colour[i] < -1 || colour[i] > alpha[i] + 1);
            colour[i] = std::int16_t(std::clamp<int>(colour[i], 0, alpha[i]));
        }
        for (int p = 0; p < Pixels; ++p) {
            const int lane = p * LanesPerPixel;
            if (far[lane] | far[lane + 1] | far[lane + 2]) {
                pixels[p] = LaneBlend::Unground(Get(p), alphas[p], ground);
                continue;
            }
            pixels[p] = std::uint32_t(colour[lane]) | std::uint32_t(colour[lane + 1]) << 8
                | std::uint32_t(colour[lane + 2]) << 16 | std::uint32_t(colour[lane + 3]) << 24;
        }
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
