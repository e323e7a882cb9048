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
    const int gw = domain.width();
    const int gh = domain.height();
    const std::uint32_t cap = std::uint32_t(depth) + 1;

    auto coverageAt = [&](int x, int y) -> std::uint32_t {
        const int mx = x - maskOrigin.x();
        const int my = y - maskOrigin.y();
        if (mx < 0 || my < 0 || mx >= mask.width() || my >= mask.height())
            return 0;
        return reinterpret_cast<const std::uint32_t*>(mask.constScanLine(my))[mx] & 0xffu;
    };

    // For each point p: the nearest layer index k >= 1 whose sample p - k*step is solid
    // (solid), and the nearest whose sample is covered at all (covered); cap = none within depth.
    // Both follow from the same values at p - step, so one pass in step order fills them.
    std::vector<std::uint32_t> solid(std::size_t(gw) * std::size_t(gh));
    std::vector<std::uint32_t> covered(solid.size());
    const int sx = step.x();
    const int sy = step.y();
    for (int j = 0; j < gh; ++j) {
        const int row = sy < 0 ? gh - 1 - j : j;
        const int y = domain.top() + row;
        for (int i = 0; i < gw; ++i) {
            const int col = sx < 0 ? gw - 1 - i : i;
            const int x = domain.left() + col;
            const std::uint32_t m = coverageAt(x - sx, y - sy);
            std::uint32_t solidBehind = cap;
            std::uint32_t coveredBehind = cap;
            const int pr = row - sy;
            const int pc = col - sx;
            if (pr >= 0 && pr < gh && pc >= 0 && pc < gw) {
                const std::size_t q = std::size_t(pr) * gw + std::size_t(pc);
                solidBehind = solid[q];
                coveredBehind = covered[q];
            }
            const std::size_t p = std::size_t(row) * gw + std::size_t(col);
            solid[p] = m == 255 ? 1 : std::min(solidBehind + 1, cap);
            covered[p] = m > 0 ? 1 : std::min(coveredBehind + 1, cap);
        }
    }

    std::vector<int> partial;
    partial.reserve(std::size_t(depth));
    for (int y = work.top(); y <= work.bottom(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const std::size_t rowBase = std::size_t(y - domain.top()) * gw;
        for (int x = work.left(); x <= work.right(); ++x) {
            const std::size_t p = rowBase + std::size_t(x - domain.left());
            if (covered[p] > std::uint32_t(depth))
                continue;
            const std::uint32_t front = solid[p];
            std::uint32_t pixel = line[x];
            if (front <= std::uint32_t(depth))
                pixel = colours[front - 1] | 0xff000000u;
            // The partly covered layers in front of the solid one, nearest first.
            partial.clear();
            std::uint32_t k = covered[p];
            while (k < front && k <= std::uint32_t(depth)) {
                partial.push_back(int(k));
                const std::size_t q = std::size_t(y - int(k) * sy - domain.top()) * gw
                    + std::size_t(x - int(k) * sx - domain.left());
                k += covered[q];
            }
            for (auto it = partial.rbegin(); it != partial.rend(); ++it) {
                const int layer = *it;
                const std::uint32_t a = coverageAt(x - layer * sx, y - layer * sy);
                pixel = Blend(colours[std::size_t(layer) - 1] | 0xff000000u, pixel, a);
            }
            line[x] = pixel;
        }
    }
}

} // namespace LayerCompositor
