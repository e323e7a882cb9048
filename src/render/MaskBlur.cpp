// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/MaskBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Below this sigma three boxes are too coarse a stand-in and the kernel is short anyway.
constexpr double kBoxSigma = 2.0;
// Rows blurred together along a row, and columns together down a column: enough lanes for the
// compiler's vector code, few enough that a strip stays in the cache.
constexpr int kRowLanes = 16;
constexpr int kColumnLanes = 64;
// Values between the passes keep 6 bits of fraction, so three roundings cost nothing visible,
// and a sum of the widest box (401 values) stays below 2^24, which floats add exactly.
constexpr int kFraction = 6;

// A box sum over [i - radius, i + radius] with the two samples just beyond it weighed by
// `ends` (0 to 1): whole boxes come in odd widths only, so their variances jump by steps of
// two thirds of the radius; the weighed ends make up the rest exactly.
struct Box
{
    int radius;
    float ends;
};

// One of three boxes whose variances add up to sigma squared.
Box BoxFor(double sigma)
{
    const double variance = sigma * sigma / 3;
    // the widest whole box whose variance r (r + 1) / 3 stays within it
    int r = int(std::floor(0.5 * std::sqrt(12 * variance + 1) - 0.5));
    while ((r + 1) * (r + 2) <= 3 * variance)
        ++r;
    while (r > 0 && r * (r + 1) > 3 * variance)
        --r;
    const double ends =
        (2 * r + 1) * (r * (r + 1) / 3.0 - variance) / (2 * (variance - (r + 1) * (r + 1)));
    return {r, float(std::clamp(ends, 0.0, 1.0))};
}

// The sampled Gaussian of `sigma`, summing to one, from -radius to radius.
std::vector<float> KernelFor(double sigma, int radius)
{
    std::vector<double> weights(std::size_t(2 * radius + 1));
    double total = 0;
    for (int k = -radius; k <= radius; ++k) {
        const double w = std::exp(-double(k * k) / (2 * sigma * sigma));
        weights[std::size_t(k + radius)] = w;
        total += w;
    }
    std::vector<float> kernel(weights.size());
    for (std::size_t i = 0; i < weights.size(); ++i)
        kernel[i] = float(weights[i] / total);
    return kernel;
}

// A strip of `Lanes` lines blurred side by side: `length` steps along the lines, each step
// `Lanes` values, with `pad` steps of zeros before and after. The lanes are a constant so that
// the compiler turns every step into vector code; a strip of fewer lines leaves the rest zero.
template<int Lanes> class Strip
{
public:
    Strip(int length, int pad)
        : FLength(length)
        , FPad(pad)
        , FA(std::size_t(length + 2 * pad) * Lanes, 0)
        , FB(FA.size(), 0)
    { }

    std::uint16_t* At(int step) { return FA.data() + std::ptrdiff_t(step + FPad) * Lanes; }

    void Boxes(const Box& box)
    {
        for (int pass = 0; pass < 3; ++pass) {
            BoxPass(box);
            std::swap(FA, FB);
        }
    }

    void Kernel(const std::vector<float>& kernel)
    {
        const int radius = int(kernel.size() / 2);
        for (int i = 0; i < FLength; ++i) {
            float sums[Lanes] = {};
            for (int k = -radius; k <= radius; ++k) {
                const std::uint16_t* __restrict in = At(i + k);
                const float w = kernel[std::size_t(k + radius)];
                for (int l = 0; l < Lanes; ++l)
                    sums[l] += w * float(in[l]);
            }
            std::uint16_t* __restrict out = Out(i);
            for (int l = 0; l < Lanes; ++l)
                out[l] = std::uint16_t(std::int32_t(sums[l] + 0.5f));
        }
        std::swap(FA, FB);
    }

private:
    std::uint16_t* Out(int step) { return FB.data() + std::ptrdiff_t(step + FPad) * Lanes; }

    // Running sums: one add and one subtract a value whatever the width.
    void BoxPass(const Box& box)
    {
        const int r = box.radius;
        const float ends = box.ends;
        const float scale = 1.0f / (float(2 * r + 1) + 2 * ends);
        float sums[Lanes] = {};
        for (int j = -r; j < r; ++j) {
            const std::uint16_t* __restrict in = At(j);
            for (int l = 0; l < Lanes; ++l)
                sums[l] += float(in[l]);
        }
        for (int i = 0; i < FLength; ++i) {
            const std::uint16_t* __restrict entering = At(i + r);
            const std::uint16_t* __restrict leaving = At(i - r);
            const std::uint16_t* __restrict before = At(i - r - 1);
            const std::uint16_t* __restrict after = At(i + r + 1);
            std::uint16_t* __restrict out = Out(i);
            for (int l = 0; l < Lanes; ++l) {
                const float sum = sums[l] + float(entering[l]);
                const float weighed = sum + ends * (float(before[l]) + float(after[l]));
                out[l] = std::uint16_t(std::int32_t(weighed * scale + 0.5f));
                sums[l] = sum - float(leaving[l]);
            }
        }
    }

    int FLength;
    int FPad;
    std::vector<std::uint16_t> FA;
    std::vector<std::uint16_t> FB;
};

std::uint8_t ToByte(std::uint16_t value)
{
    return std::uint8_t((value + (1 << (kFraction - 1))) >> kFraction);
}

// Blurs along one axis, `Lanes` lines at a time. `along` is the step between neighbours in a
// line, `across` the step between lines.
template<int Lanes, class Run>
void BlurLines(std::uint8_t* bytes, int length, int lines, qsizetype along, qsizetype across,
               int pad, const Run& run)
{
    for (int first = 0; first < lines; first += Lanes) {
        const int lanes = std::min(Lanes, lines - first);
        Strip<Lanes> strip(length, pad);
        std::uint8_t* origin = bytes + first * across;
        for (int i = 0; i < length; ++i) {
            std::uint16_t* to = strip.At(i);
            const std::uint8_t* from = origin + i * along;
            for (int l = 0; l < lanes; ++l)
                to[l] = std::uint16_t(from[l * across] << kFraction);
        }
        run(strip);
        for (int i = 0; i < length; ++i) {
            const std::uint16_t* from = strip.At(i);
            std::uint8_t* to = origin + i * along;
            for (int l = 0; l < lanes; ++l)
                to[l * across] = ToByte(from[l]);
        }
    }
}

// Every one of `channels` interleaved bytes of a pixel blurred on its own: the rows channel by
// channel, the columns as columns of bytes, which lie side by side.
template<class Run>
void BlurChannels(std::uint8_t* bytes, int width, int height, qsizetype stride, int channels,
                  int pad, const Run& run)
{
    for (int c = 0; c < channels; ++c)
        BlurLines<kRowLanes>(bytes + c, width, height, channels, stride, pad, run);
    BlurLines<kColumnLanes>(bytes, height, width * channels, stride, 1, pad, run);
}

void BlurInterleaved(std::uint8_t* bytes, int width, int height, qsizetype stride, int channels,
                     double sigma)
{
    if (sigma <= 0 || width <= 0 || height <= 0)
        return;
    if (sigma < kBoxSigma) {
        const int radius = int(std::ceil(3 * sigma));
        const std::vector<float> kernel = KernelFor(sigma, radius);
        BlurChannels(bytes, width, height, stride, channels, radius,
                     [&](auto& strip) { strip.Kernel(kernel); });
        return;
    }
    const Box box = BoxFor(sigma);
    BlurChannels(bytes, width, height, stride, channels, box.radius + 1,
                 [&](auto& strip) { strip.Boxes(box); });
}

} // namespace

namespace MaskBlur {

int Reach(double sigma)
{
    if (sigma <= 0)
        return 0;
    if (sigma < kBoxSigma)
        return int(std::ceil(3 * sigma));
    return 3 * (BoxFor(sigma).radius + 1);
}

void Blur(std::uint8_t* bytes, int width, int height, qsizetype stride, double sigma)
{
    BlurInterleaved(bytes, width, height, stride, 1, sigma);
}

void Blur(QImage& mask, double sigma)
{
    Q_ASSERT(mask.format() == QImage::Format_Alpha8 || mask.format() == QImage::Format_Grayscale8);
    if (mask.isNull())
        return;
    Blur(mask.bits(), mask.width(), mask.height(), mask.bytesPerLine(), sigma);
}

void BlurPremultiplied(QImage& picture, double sigma)
{
    Q_ASSERT(picture.format() == QImage::Format_ARGB32_Premultiplied);
    if (sigma <= 0 || picture.isNull())
        return;
    const int w = picture.width();
    const int h = picture.height();
    BlurInterleaved(picture.bits(), w, h, picture.bytesPerLine(), 4, sigma);
    for (int y = 0; y < h; ++y) {
        auto* words = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = words[x] >> 24;
            std::uint32_t word = a << 24;
            for (int shift = 0; shift < 24; shift += 8)
                word |= std::min((words[x] >> shift) & 0xFFu, a) << shift;
            words[x] = word;
        }
    }
}

} // namespace MaskBlur
