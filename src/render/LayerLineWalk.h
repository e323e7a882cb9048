#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

// Paints the stacked layers of LayerCompositor one line at a time. The layers a pixel shows come
// from the mask samples behind it on its line parallel to the step, so each line is walked in the
// step's direction, remembering the nearest solid sample and the partly covered ones in front of
// it. Between two covered samples nothing changes but which layers fall out of reach, so the
// pixels there are painted in spans.
class LayerLineWalk
{
public:
    // As LayerCompositor::Composite() takes them; `step` has components -1, 0 or 1.
    LayerLineWalk(QImage& target, const QImage& mask, QPoint maskOrigin, QPoint step,
                  const std::vector<std::uint32_t>& colours);

    // Paints every pixel of `work`, which lies inside the target.
    void Paint(const QRect& work);

private:
    struct TPartial
    {
        int position;
        std::uint32_t coverage;
    };

    void WalkLine(QPoint entry, int length);
    // The coverage along the line from `first` on, `count` samples; false when none is covered.
    bool GatherSamples(QPoint first, int count);
    int NextCovered(int from) const;
    void Push(int position, std::uint32_t sample);
    void PaintSpan(int from, int to);
    void PaintSolid(int from, int to);
    void PaintBlended(int from, int to, bool solidInReach);
    std::uint32_t& PixelAt(int position) const;
    int Depth() const { return int(FOpaque.size()); }

    QImage& FTarget;
    const QImage& FMask;
    QPoint FMaskOrigin;
    QPoint FStep;
    std::vector<std::uint32_t> FOpaque; // layer k's colour at k - 1
    std::vector<std::uint64_t> FSpread; // the same spread, and a block's worth past the end
    std::vector<TPartial> FRing; // a power of two above the depth
    std::vector<std::uint8_t> FSamples; // the line's coverage by position

    // The line being walked: positions count along it from where its samples start; the work
    // pixels are those from FWorkFrom on, the first at FFirstPixel.
    int FLength = 0;
    int FWorkFrom = 0;
    std::uint32_t* FFirstPixel = nullptr;
    std::ptrdiff_t FPixelStep = 0;
    int FSolid = 0;
    std::size_t FHead = 0;
    std::size_t FTail = 0;
};
