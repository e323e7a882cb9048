// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/MaskBlur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
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
// From twice this sigma up the blur is worked out on a grid of points two or more pixels apart,
// at most this far.
constexpr double kCoarseSigma = 1.5;
constexpr int kMostCoarse = 16;
constexpr int kMostChannels = 4;

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
            const std::uint16_t* __restrict centre = At(i);
            for (int l = 0; l < Lanes; ++l)
                sums[l] = kernel[std::size_t(radius)] * float(centre[l]);
            // the kernel is even: each weight once for the two samples it takes
            for (int k = 1; k <= radius; ++k) {
                const std::uint16_t* __restrict before = At(i - k);
                const std::uint16_t* __restrict after = At(i + k);
                const float w = kernel[std::size_t(radius + k)];
                for (int l = 0; l < Lanes; ++l)
                    sums[l] += w * float(before[l] + after[l]);
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

// Rows of four-byte pixels blurred along, each byte on its own: the lanes of a strip are the
// four bytes of a pixel in each of kRowLanes / 4 rows, read together.
template<class Run>
void BlurPixelRows(std::uint8_t* bytes, int width, int height, qsizetype stride, int pad,
                   const Run& run)
{
    constexpr int kRows = kRowLanes / kMostChannels;
    for (int first = 0; first < height; first += kRows) {
        const int rows = std::min(kRows, height - first);
        Strip<kRowLanes> strip(width, pad);
        std::uint8_t* origin = bytes + first * stride;
        for (int i = 0; i < width; ++i) {
            std::uint16_t* to = strip.At(i);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < kMostChannels; ++c)
                    to[r * kMostChannels + c] =
                        std::uint16_t(origin[r * stride + i * kMostChannels + c] << kFraction);
        }
        run(strip);
        for (int i = 0; i < width; ++i) {
            const std::uint16_t* from = strip.At(i);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < kMostChannels; ++c)
                    origin[r * stride + i * kMostChannels + c] =
                        ToByte(from[r * kMostChannels + c]);
        }
    }
}

// Every one of `channels` interleaved bytes of a pixel blurred on its own: the rows a line at a
// time or, for four-byte pixels, a pixel at a time; the columns as columns of bytes, which lie
// side by side.
template<class Run>
void BlurChannels(std::uint8_t* bytes, int width, int height, qsizetype stride, int channels,
                  int pad, const Run& run)
{
    if (channels == kMostChannels)
        BlurPixelRows(bytes, width, height, stride, pad, run);
    else
        for (int c = 0; c < channels; ++c)
            BlurLines<kRowLanes>(bytes + c, width, height, channels, stride, pad, run);
    BlurLines<kColumnLanes>(bytes, height, width * channels, stride, 1, pad, run);
}

// The blur on the pixels themselves: three boxes, or a kernel below kBoxSigma.
void BlurFine(std::uint8_t* bytes, int width, int height, qsizetype stride, int channels,
              double sigma)
{
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

int FloorHalf(int value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

// Points `factor` (a power of two) pixels apart over a line of `length` pixels, the first as far
// before the line as the last lies beyond it, so that the grid of a mirrored line is the mirror
// of its grid. Positions are in half pixels, pixel x at 2x.
class CoarseGrid
{
public:
    CoarseGrid(int length, int factor)
        : FFactor(factor)
        , FCount((length - 1 + factor - 1) / factor + 1)
        , FOrigin(length - 1 - factor * (FCount - 1))
    {
        // Each point's cell reaches half a point either side; a pixel the cell's edge halves
        // weighs 1, a whole one 2, so the weights add up to 2 × factor.
        const int low = FOrigin - factor;
        const int high = FOrigin + factor;
        for (int x = FloorHalf(low - 1); x <= FloorHalf(high + 1); ++x) {
            const int weight = std::min(2 * x + 1, high) - std::max(2 * x - 1, low);
            if (weight <= 0)
                continue;
            if (FWeights.empty())
                FFirst = x;
            FWeights.push_back(std::uint32_t(weight));
        }
        while ((1 << FSpanShift) < 2 * factor)
            ++FSpanShift;
    }

    int Count() const { return FCount; }
    // Where the first point's cell begins, in pixels from the line's start (pixel x spans x to
    // x + 1): the grid's origin as a drawing on the coarse picture sees it.
    double CellStart() const { return (FOrigin + 1 - FFactor) / 2.0; }
    // The first pixel of point j's cell (it may lie before the line), and the weights of its
    // pixels from there.
    int First(int j) const { return FFirst + FFactor * j; }
    const std::vector<std::uint32_t>& Weights() const { return FWeights; }
    // Half pixels between two points, as a power of two, which is also what a cell's weights
    // add up to.
    int SpanShift() const { return FSpanShift; }
    // The point at or before pixel `x`, and how many half pixels past it the pixel lies.
    std::pair<int, int> Between(int x) const
    {
        const int past = 2 * x - FOrigin;
        return {past >> FSpanShift, past & ((1 << FSpanShift) - 1)};
    }

private:
    int FFactor;
    int FCount;
    int FOrigin;
    int FFirst = 0;
    int FSpanShift = 0;
    std::vector<std::uint32_t> FWeights;
};

// A coarse picture: `columns` × `rows` points of `channels` bytes, with a row and a column of
// zeros beyond the last so that reading between points never needs a test.
struct CoarsePicture
{
    int columns;
    int rows;
    int channels;
    std::vector<std::uint8_t> bytes;

    qsizetype Stride() const { return qsizetype(columns + 1) * channels; }
    std::uint8_t* Row(int j) { return bytes.data() + j * Stride(); }
};

// Every point of the coarse grid takes the mean of the pixels in its cell: the rows of a cell
// summed, then the sums across. The sums have room for a cell's width of zeros either side.
template<int Channels>
CoarsePicture Coarsen(const std::uint8_t* bytes, int width, int height, qsizetype stride,
                      const CoarseGrid& across, const CoarseGrid& down)
{
    constexpr int channels = Channels;
    CoarsePicture coarse {across.Count(), down.Count(), channels, {}};
    coarse.bytes.assign(std::size_t(coarse.Stride() * (down.Count() + 1)), 0);
    const int values = width * channels;
    const int pad = int(across.Weights().size()) * channels;
    const int shift = across.SpanShift() + down.SpanShift();
    const std::uint32_t half = 1u << (shift - 1);
    std::vector<std::uint32_t> padded(static_cast<std::size_t>(values + 2 * pad), 0u);
    std::uint32_t* sums = padded.data() + pad;
    const std::vector<std::uint32_t>& rowWeights = down.Weights();
    const std::vector<std::uint32_t>& columnWeights = across.Weights();
    for (int j = 0; j < down.Count(); ++j) {
        std::fill_n(sums, values, 0u);
        for (std::size_t t = 0; t < rowWeights.size(); ++t) {
            const int y = down.First(j) + int(t);
            if (y < 0 || y >= height)
                continue;
            const std::uint8_t* __restrict row = bytes + y * stride;
            const std::uint32_t weight = rowWeights[t];
            for (int i = 0; i < values; ++i)
                sums[i] += weight * row[i];
        }
        std::uint8_t* out = coarse.Row(j);
        for (int k = 0; k < across.Count(); ++k) {
            const std::uint32_t* from = sums + across.First(k) * channels;
            for (int c = 0; c < channels; ++c) {
                std::uint32_t cell = half;
                for (std::size_t t = 0; t < columnWeights.size(); ++t)
                    cell += columnWeights[t] * from[int(t) * channels + c];
                out[k * channels + c] = std::uint8_t(cell >> shift);
            }
        }
    }
    return coarse;
}

// Every pixel read back between the four coarse points around it, in sums of type `Sum`, which
// hold 255 × the squared span between points.
template<int Channels, class Sum>
void Refine(const std::uint8_t* coarse, qsizetype coarseStride, std::uint8_t* bytes, int width,
            int firstRow, int rows, qsizetype stride, const CoarseGrid& across,
            const CoarseGrid& down)
{
    constexpr int channels = Channels;
    const Sum spanDown = Sum(1u << down.SpanShift());
    const Sum spanAcross = Sum(1u << across.SpanShift());
    const int shift = across.SpanShift() + down.SpanShift();
    const Sum half = Sum(1u << (shift - 1));
    std::vector<Sum> between(static_cast<std::size_t>((across.Count() + 1) * channels));
    const auto [firstPoint, firstPast] = across.Between(0);
    // how far past its point each pixel lies repeats from point to point
    std::vector<Sum> pasts;
    for (int past = firstPast % 2; past < int(spanAcross); past += 2)
        pasts.push_back(Sum(past));
    const int cycle = int(pasts.size());
    const int firstIndex = firstPast / 2;
    std::vector<std::uint8_t> run(static_cast<std::size_t>((width / cycle + 1) * channels));
    for (int y = firstRow; y < firstRow + rows; ++y) {
        const auto [j, pastRow] = down.Between(y);
        const std::uint8_t* __restrict above = coarse + j * coarseStride;
        const std::uint8_t* __restrict below = above + coarseStride;
        const Sum toBelow = Sum(pastRow);
        const Sum toAbove = Sum(spanDown - toBelow);
        for (std::size_t i = 0; i < between.size(); ++i)
            between[i] = Sum(above[i] * toAbove + below[i] * toBelow);
        std::uint8_t* row = bytes + (y - firstRow) * stride;
        // A pixel of each point's run at a time: every point's pixel at the same place in its
        // run is read back alike, in one straight pass, then put in its place.
        for (int i = 0; i < cycle; ++i) {
            const int firstX = (i - firstIndex + cycle) % cycle;
            if (firstX >= width)
                continue;
            const int count = (width - firstX + cycle - 1) / cycle;
            const Sum* __restrict left =
                between.data() + (firstPoint + (firstIndex + firstX) / cycle) * channels;
            const Sum toRight = pasts[std::size_t(i)];
            const Sum toLeft = Sum(spanAcross - toRight);
            for (int v = 0; v < count * channels; ++v)
                run[std::size_t(v)] = std::uint8_t(
                    Sum(left[v] * toLeft + left[v + channels] * toRight + half) >> shift);
            for (int m = 0; m < count; ++m)
                std::memcpy(row + (firstX + m * cycle) * channels, run.data() + m * channels,
                            channels);
        }
    }
}

template<int Channels>
void Refine(const std::uint8_t* coarse, qsizetype coarseStride, std::uint8_t* bytes, int width,
            int firstRow, int rows, qsizetype stride, const CoarseGrid& across,
            const CoarseGrid& down)
{
    if (across.SpanShift() + down.SpanShift() <= 8)
        Refine<Channels, std::uint16_t>(coarse, coarseStride, bytes, width, firstRow, rows, stride,
                                        across, down);
    else
        Refine<Channels, std::uint32_t>(coarse, coarseStride, bytes, width, firstRow, rows, stride,
                                        across, down);
}

// Averaged into the coarse grid `factor` pixels apart, blurred there and read back.
template<int Channels>
void BlurCoarse(std::uint8_t* bytes, int width, int height, qsizetype stride, double sigma,
                int factor)
{
    const CoarseGrid across(width, factor);
    const CoarseGrid down(height, factor);
    CoarsePicture coarse = Coarsen<Channels>(bytes, width, height, stride, across, down);
    BlurFine(coarse.bytes.data(), coarse.columns, coarse.rows, coarse.Stride(), Channels,
             MaskBlur::CoarseSigma(sigma, factor));
    Refine<Channels>(coarse.bytes.data(), coarse.Stride(), bytes, width, 0, height, stride, across,
                     down);
}

void BlurInterleaved(std::uint8_t* bytes, int width, int height, qsizetype stride, int channels,
                     double sigma)
{
    if (sigma <= 0 || width <= 0 || height <= 0)
        return;
    const int factor = MaskBlur::CoarseFactor(sigma);
    if (factor == 1) {
        BlurFine(bytes, width, height, stride, channels, sigma);
        return;
    }
    Q_ASSERT(channels == 1 || channels == kMostChannels);
    if (channels == 1)
        BlurCoarse<1>(bytes, width, height, stride, sigma, factor);
    else
        BlurCoarse<kMostChannels>(bytes, width, height, stride, sigma, factor);
}

} // namespace

namespace MaskBlur {

int CoarseFactor(double sigma)
{
    int factor = 1;
    while (factor < kMostCoarse && sigma / (2 * factor) >= kCoarseSigma)
        factor *= 2;
    return factor;
}

double CoarseSigma(double sigma, int factor)
{
    if (factor == 1)
        return sigma;
    return std::sqrt(sigma * sigma / (factor * factor) - 0.25);
}

QSize CoarseSize(QSize size, int factor)
{
    return {CoarseGrid(size.width(), factor).Count() + 1,
            CoarseGrid(size.height(), factor).Count() + 1};
}

QTransform ToCoarse(QSize size, int factor)
{
    const CoarseGrid across(size.width(), factor);
    const CoarseGrid down(size.height(), factor);
    return QTransform::fromTranslate(-across.CellStart(), -down.CellStart())
        * QTransform::fromScale(1.0 / factor, 1.0 / factor);
}

void Refine(const QImage& coarse, QImage& fine, int factor)
{
    Refine(coarse, fine.size(), factor, 0, fine);
}

void Refine(const QImage& coarse, QSize size, int factor, int firstRow, QImage& rows)
{
    Q_ASSERT(coarse.format() == rows.format());
    Q_ASSERT(coarse.size() == CoarseSize(size, factor));
    Q_ASSERT(rows.width() == size.width() && firstRow >= 0
             && firstRow + rows.height() <= size.height());
    const CoarseGrid across(size.width(), factor);
    const CoarseGrid down(size.height(), factor);
    if (coarse.depth() == 8)
        Refine<1>(coarse.constBits(), coarse.bytesPerLine(), rows.bits(), rows.width(), firstRow,
                  rows.height(), rows.bytesPerLine(), across, down);
    else
        Refine<kMostChannels>(coarse.constBits(), coarse.bytesPerLine(), rows.bits(), rows.width(),
                              firstRow, rows.height(), rows.bytesPerLine(), across, down);
}

int Reach(double sigma)
{
    if (sigma <= 0)
        return 0;
    const int factor = CoarseFactor(sigma);
    if (factor > 1)
        // a cell reaches half a point beyond its point and reading back one point further
        return factor * (Reach(CoarseSigma(sigma, factor)) + 2);
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
