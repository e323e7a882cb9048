#include "render/LayerCompositor.h"

#include "render/LayerLineWalk.h"

namespace LayerCompositor {

QRect SourceRegion(const QRect& area, QPoint step, int depth)
{
    return area.united(area.translated(-step * depth));
}

void Composite(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
               QPoint step, const std::vector<std::uint32_t>& colours)
{
    const int depth = int(colours.size());
    if (depth == 0 || mask.isNull() || step.isNull())
        return;
    const QRect maskRect(maskOrigin, mask.size());
    const QRect reach = maskRect.united(maskRect.translated(step * depth));
    const QRect work = reach.intersected(area).intersected(target.rect());
    if (work.isEmpty())
        return;
    // The lines read a 32-bit word per sample, whose low byte is blue.
    const QImage words = mask.depth() == 32 ? mask : mask.convertToFormat(QImage::Format_RGB32);
    LayerLineWalk(target, words, maskOrigin, step, colours).Paint(work);
}

} // namespace LayerCompositor
