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
    constexpr std::uint64_t kLow = 0x00ff00ff00ff00ffu;
    constexpr std::uint64_t kHalf = 0x0080008000800080u;
    const std::uint64_t t = lanes * a;
    return ((t + ((t >> 8) & kLow) + kHalf) >> 8) & kLow;
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
    constexpr std::uint64_t kColourLanes = 0x0000ffffffffffffu;
    const std::uint64_t shown =
        (Spread(pixel) & kColourLanes) + ByteMul(ground, 255 - (pixel >> 24));
    // 513 more than the ground's in every lane keeps each lane in [258, 1023], so none borrows
    // from the next; a near lane holds 512, 513 or 514.
    const std::uint64_t lanes = shown + 0x0000020102010201u - ground;
    return (lanes & 0x0000fffcfffcfffcu) == 0x0000020002000200u
        && (lanes & (lanes >> 1) & 0x0000000100010001u) == 0;
}

// The spread channels of a few neighbouring pixels and, over transparency, their alphas kept
// without rounding.
class Block
{
public:
    static constexpr int kPixels = 4;

private:
    static constexpr int kLanesPerPixel = 4;
    // Two pixels' lanes side by side, for arithmetic on all of them at once; the width of the
    // vector registers every x86-64 processor has.
    static constexpr int kPairLanes = 2 * kLanesPerPixel;
    using Unsigned = std::uint16_t __attribute__((vector_size(kPairLanes * 2)));
    using Signed = std::int16_t __attribute__((vector_size(kPairLanes * 2)));
    using Bytes = std::uint8_t __attribute__((vector_size(kPairLanes)));
    using Floats = float __attribute__((vector_size(kPixels * 4)));
    using Words = std::int32_t __attribute__((vector_size(kPixels * 4)));
    static constexpr int kPairs = kPixels / 2;
    static constexpr int kLanes = kPixels * kLanesPerPixel;

public:
    // An opaque ground as Unground() reads it: its lanes for two pixels, with 255 in the alpha
    // lane, so that beneath an alpha that lane holds 255 - alpha.
    class Ground
    {
    public:
        explicit Ground(std::uint64_t ground)
            : FSpread(ground)
        {
            const std::uint64_t opaque = ground | 0x00ff000000000000u;
            const std::uint64_t pair[2] = {opaque, opaque};
            std::memcpy(&FLanes, pair, sizeof FLanes);
        }

        std::uint64_t Spread() const { return FSpread; }

    private:
        friend class Block;
        std::uint64_t FSpread;
        Unsigned FLanes;
    };

    // `pixels` spread pixels, read whole.
    void Load(const std::uint64_t* pixels) { std::memcpy(FLanes, pixels, sizeof FLanes); }
    void LoadAlphas(const float* alphas) { std::memcpy(&FAlphas, alphas, sizeof FAlphas); }

    void Set(int pixel, std::uint64_t lanes, float alpha)
    {
        std::memcpy(FLanes + pixel * kLanesPerPixel, &lanes, sizeof lanes);
        FAlphas[pixel] = alpha;
    }

    std::uint64_t Get(int pixel) const
    {
        std::uint64_t lanes;
        std::memcpy(&lanes, FLanes + pixel * kLanesPerPixel, sizeof lanes);
        return lanes;
    }

    // Every pixel gets its own colour of `colours` (spread, read whole) at `coverage`, as
    // Blend() does it.
    void Blend(const std::uint64_t* colours, std::uint32_t coverage)
    {
        std::uint16_t colour[kLanes];
        std::memcpy(colour, colours, sizeof colour);
        const auto a = std::uint16_t(coverage);
        const auto b = std::uint16_t(255 - coverage);
        for (int i = 0; i < kLanes; ++i)
            FLanes[i] = std::uint16_t(ByteMul16(std::uint16_t(colour[i] * a))
                                      + ByteMul16(std::uint16_t(FLanes[i] * b)));
    }

    // The same for the alphas of `alphas` (read whole), without rounding; `weight` is the
    // coverage over 255.
    void BlendAlphas(const float* alphas, float weight)
    {
        Floats alpha;
        std::memcpy(&alpha, alphas, sizeof alpha);
        FAlphas += (alpha - FAlphas) * weight;
    }

    // The pixels as painted over an opaque ground, alpha 255.
    void StoreOpaque(std::uint32_t* pixels) const
    {
        for (int p = 0; p < kPixels; ++p)
            pixels[p] = Gather(Get(p)) | 0xff000000u;
    }

    // Every pixel over transparency, of its alpha rounded, as Unground() gives it over `ground`,
    // and 0 where that shows the ground within a level, as ShowsGround() tells; a pixel that
    // rounding carried further from the ground than its alpha reaches is left to Unground()
    // itself.
    void Unground(const Ground& ground, std::uint32_t* pixels) const
    {
        Floats rounded = FAlphas + 0.5f;
        rounded = rounded > 255.0f ? Floats {} + 255.0f : rounded;
        const auto words = Unsigned(__builtin_convertvector(rounded, Words));
        const Unsigned alphas[kPairs] = {
            __builtin_shufflevector(words, words, 0, 0, 0, 0, 2, 2, 2, 2),
            __builtin_shufflevector(words, words, 4, 4, 4, 4, 6, 6, 6, 6)};
        const Unsigned alphaLane = {0, 0, 0, 0xffff, 0, 0, 0, 0xffff};
        Unsigned lanes[kPairs];
        std::memcpy(lanes, FLanes, sizeof lanes);
        for (int h = 0; h < kPairs; ++h) {
            const Unsigned alpha = alphas[h];
            const Unsigned painted = (lanes[h] & ~alphaLane) | (alphaLane & 255);
            const Unsigned beneath = ByteMul16(ground.FLanes * (255 - alpha));
            const auto reach = Signed(alpha);
            const Signed difference = Signed(painted) - Signed(beneath);
            const Signed far = (difference < -1) | (difference > reach + 1);
            Signed clamped = difference < 0 ? 0 : difference;
            clamped = clamped > reach ? reach : clamped;
            const Signed shown = clamped + Signed(beneath - ground.FLanes);
            const Signed near = (shown > -2) & (shown < 2);

            const auto colour = __builtin_convertvector(clamped, Bytes);
            std::memcpy(pixels + 2 * h, &colour, sizeof colour);
            std::uint64_t farPixels[2];
            std::uint64_t nearPixels[2];
            std::memcpy(farPixels, &far, sizeof farPixels);
            std::memcpy(nearPixels, &near, sizeof nearPixels);
            for (int i = 0; i < 2; ++i) {
                const int p = 2 * h + i;
                if (farPixels[i] != 0) [[unlikely]]
                    pixels[p] = UngroundFar(Get(p), std::uint32_t(words[2 * p]), ground.Spread());
                else if (nearPixels[i] == ~std::uint64_t(0))
                    pixels[p] = 0;
            }
        }
    }

private:
    // A product of a channel and a coverage divided by 255 as ByteMul() does, in every lane; the
    // sum stays below 65 408, so 16 bits hold it.
    static Unsigned ByteMul16(Unsigned product) { return (product + (product >> 8) + 0x80) >> 8; }
    static std::uint16_t ByteMul16(std::uint16_t product)
    {
        return std::uint16_t(std::uint16_t(product + (product >> 8) + 0x80) >> 8);
    }

    [[gnu::noinline]] static std::uint32_t UngroundFar(std::uint64_t painted, std::uint32_t alpha,
                                                       std::uint64_t ground)
    {
        const std::uint32_t pixel = LaneBlend::Unground(painted, alpha, ground);
        return ShowsGround(pixel, ground) ? 0u : pixel;
    }

    std::uint16_t FLanes[kLanes] = {};
    Floats FAlphas = {};
};

} // namespace LaneBlend
