#include "render/LayerCompositor.h"

#include <algorithm>

namespace LayerCompositor {

namespace {

// x × a ÷ 255 per channel, rounded as the raster painter rounds it.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xff00ffu) * a;
    t = (t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8;
    t &= 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a;
    x = x + ((x >> 8) & 0xff00ffu) + 0x800080u;
    x &= 0xff00ff00u;
    return x | t;
}

// One antialiased text pixel of an opaque colour over an opaque pixel, as the painter blends it.
inline std::uint32_t Blend(std::uint32_t colour, std::uint32_t dst, std::uint32_t coverage)
{
    return ByteMul(colour, coverage) + ByteMul(dst, 255 - coverage);
}

QRect Bounding(const QRect& a, const QRect& b)
{
    return a.united(b);
}

} // namespace

QRect SourceRegion(const QRect& area, QPoint step, int depth)
{
    return Bounding(area, area.translated(-step * depth));
}

namespace {

// The coverage of one mask, read without a call per pixel.
class MaskSamples
{
public:
    MaskSamples(const QImage& mask, QPoint origin)
        : FBits(mask.constBits())
        , FStride(mask.bytesPerLine())
        , FWidth(mask.width())
        , FHeight(mask.height())
        , FOrigin(origin)
    { }

    // The mask row at target row y, or null outside the mask.
    const uchar* Row(int y) const
    {
        const int my = y - FOrigin.y();
        if (my < 0 || my >= FHeight)
            return nullptr;
        return FBits + qsizetype(my) * FStride;
    }

    // A sample known to lie inside the mask.
    std::uint32_t Inside(int x, int y) const
    {
        return FBits[qsizetype(y - FOrigin.y()) * FStride + (x - FOrigin.x())];
    }

    // The coverage of target row y from column x on, `count` values, zero outside the mask.
    void Line(int y, int x, int count, std::uint8_t* out) const
    {
        std::fill(out, out + count, std::uint8_t(0));
        const uchar* row = Row(y);
        if (!row)
            return;
        const int begin = std::max(x, FOrigin.x());
        const int end = std::min(x + count, FOrigin.x() + FWidth);
        for (int at = begin; at < end; ++at)
            out[at - x] = row[at - FOrigin.x()];
    }

private:
    const uchar* FBits;
    qsizetype FStride;
    int FWidth;
    int FHeight;
    QPoint FOrigin;
};

// Table `which` (0 or 1) of at least `size` entries. The tables stay with the thread between
// calls: fresh ones for every paint of a large picture would spend much of the time having the
// system clear new pages.
template<typename Count> Count* Scratch(int which, std::size_t size)
{
    thread_local std::vector<Count> tables[2];
    std::vector<Count>& table = tables[which];
    if (table.size() < size)
        table.resize(size);
    return table.data();
}

// `Count` holds layer indices up to depth + 1; the narrowest type that does keeps the two
// tables small enough to stay in the cache.
template<typename Count>
void CompositeWith(QImage& target, const QRect& work, const QRect& domain, const MaskSamples& mask,
                   QPoint step, const std::vector<std::uint32_t>& colours)
{
    const int depth = int(colours.size());
    const int gw = domain.width();
    const int gh = domain.height();
    const std::uint32_t cap = std::uint32_t(depth) + 1;

    // For each point p: the nearest layer index k >= 1 whose sample p - k*step is solid
    // (solid), and the nearest whose sample is covered at all (covered); cap = none within depth.
    // Both follow from the same values at p - step, so one pass in step order fills them.
    // Every entry is written before it is read, so the tables start uninitialised.
    const std::size_t points = std::size_t(gw) * std::size_t(gh);
    Count* const solid = Scratch<Count>(0, points);
    Count* const covered = Scratch<Count>(1, points);
    const int sx = step.x();
    const int sy = step.y();
    // The coverage each point of a row looks at, zero outside the mask, so the recurrence
    // below reads it without bounds checks.
    std::vector<std::uint8_t> sampleLine(static_cast<std::size_t>(gw));
    std::uint8_t* const samples = sampleLine.data();
    for (int j = 0; j < gh; ++j) {
        const int row = sy < 0 ? gh - 1 - j : j;
        Count* solidRow = solid + std::size_t(row) * gw;
        Count* coveredRow = covered + std::size_t(row) * gw;
        mask.Line(domain.top() + row - sy, domain.left() - sx, gw, samples);
        auto next = [&](std::uint32_t m, std::uint32_t& solidBehind, std::uint32_t& coveredBehind,
                        int col) {
            solidBehind = m == 255 ? 1 : std::min(solidBehind + 1, cap);
            coveredBehind = m > 0 ? 1 : std::min(coveredBehind + 1, cap);
            solidRow[col] = Count(solidBehind);
            coveredRow[col] = Count(coveredBehind);
        };
        if (sy == 0) {
            // The point behind is the one just filled: carry it instead of reading it back.
            std::uint32_t solidBehind = cap;
            std::uint32_t coveredBehind = cap;
            if (sx < 0) {
                for (int col = gw - 1; col >= 0; --col)
                    next(samples[col], solidBehind, coveredBehind, col);
            } else {
                for (int col = 0; col < gw; ++col)
                    next(samples[col], solidBehind, coveredBehind, col);
            }
            continue;
        }
        // The point behind lies in the row filled before, or outside the domain.
        if (row - sy < 0 || row - sy >= gh) {
            for (int col = 0; col < gw; ++col) {
                std::uint32_t solidBehind = cap;
                std::uint32_t coveredBehind = cap;
                next(samples[col], solidBehind, coveredBehind, col);
            }
            continue;
        }
        const Count* solidBack = solidRow - std::ptrdiff_t(sy) * gw - sx;
        const Count* coveredBack = coveredRow - std::ptrdiff_t(sy) * gw - sx;
        // Only the edge column that the step leaves has nothing behind it.
        const int from = sx > 0 ? 1 : 0;
        const int to = sx < 0 ? gw - 1 : gw;
        for (int col = from; col < to; ++col) {
            std::uint32_t solidBehind = solidBack[col];
            std::uint32_t coveredBehind = coveredBack[col];
            next(samples[col], solidBehind, coveredBehind, col);
        }
        if (sx != 0) {
            const int col = sx > 0 ? 0 : gw - 1;
            std::uint32_t solidBehind = cap;
            std::uint32_t coveredBehind = cap;
            next(samples[col], solidBehind, coveredBehind, col);
        }
    }

    // The chain of partly covered layers of one pixel, collected nearest first.
    struct TLayerSample
    {
        std::uint32_t layer;
        std::uint32_t coverage;
    };
    std::vector<TLayerSample> partial(static_cast<std::size_t>(depth));
    const std::ptrdiff_t behind = std::ptrdiff_t(sy) * gw + sx;
    for (int y = work.top(); y <= work.bottom(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const std::size_t rowBase = std::size_t(y - domain.top()) * gw;
        for (int x = work.left(); x <= work.right(); ++x) {
            const std::size_t p = rowBase + std::size_t(x - domain.left());
            const std::uint32_t nearest = covered[p];
            if (nearest > std::uint32_t(depth))
                continue;
            const std::uint32_t front = solid[p];
            if (nearest == front) {
                line[x] = colours[front - 1] | 0xff000000u;
                continue;
            }
            std::uint32_t pixel = line[x];
            if (front <= std::uint32_t(depth))
                pixel = colours[front - 1] | 0xff000000u;
            // The partly covered layers in front of the solid one, farthest blended first.
            // A covered sample lies inside the mask, so it is read without bounds checks.
            std::size_t count = 0;
            std::uint32_t k = nearest;
            while (k < front && k <= std::uint32_t(depth)) {
                partial[count++] = {k, mask.Inside(x - int(k) * sx, y - int(k) * sy)};
                k += covered[std::size_t(std::ptrdiff_t(p) - std::ptrdiff_t(k) * behind)];
            }
            while (count > 0) {
                const TLayerSample& s = partial[--count];
                pixel = Blend(colours[s.layer - 1] | 0xff000000u, pixel, s.coverage);
            }
            line[x] = pixel;
        }
    }
}

} // namespace

void Composite(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
               QPoint step, const std::vector<std::uint32_t>& colours)
{
    const int depth = int(colours.size());
    if (depth == 0 || mask.isNull() || step.isNull())
        return;
    const QRect maskRect(maskOrigin, mask.size());
    const QRect reach = Bounding(maskRect, maskRect.translated(step * depth));
    const QRect work = reach.intersected(area).intersected(target.rect());
    if (work.isEmpty())
        return;
    // Every sample a pixel of `work` looks at lies here.
    const QRect domain = reach.intersected(SourceRegion(work, step, depth));
    const MaskSamples samples(mask, maskOrigin);
    if (depth < 0xff)
        CompositeWith<std::uint8_t>(target, work, domain, samples, step, colours);
    else if (depth < 0xffff)
        CompositeWith<std::uint16_t>(target, work, domain, samples, step, colours);
    else
        CompositeWith<std::uint32_t>(target, work, domain, samples, step, colours);
}

} // namespace LayerCompositor
