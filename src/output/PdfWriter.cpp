// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PdfWriter.h"

#include "render/MaskBlur.h"
#include "render/VectorScene.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

// One device pixel to a point: page sizes in whole points keep the pictures unscaled.
constexpr int kDpi = 72;

// Qt's PDF writer cannot mask, so the bands' reaches are stacked see-through, farthest first:
// where a band is the nearest, what shows through the stack is 1 - its opacity, the product of
// what each reach over it lets through. The writer keeps opacities in 255ths; each is chosen
// from what the stack beneath really lets through, so that the rounding does not add up.
void PaintFade(QPainter& painter, const LogoRegion& region)
{
    double through = 1; // what the reaches painted so far let through
    for (const LogoRegion::FadeBand& band : region.bands) {
        const double wanted = std::clamp(1 - band.opacity, 0.0, through);
        const int alpha = through > 0 ? int(std::lround(255 * (1 - wanted / through))) : 0;
        if (alpha == 0)
            continue;
        QColor colour = region.colour;
        colour.setAlpha(alpha);
        painter.fillPath(band.reach, colour);
        through *= 1 - alpha / 255.0;
    }
}

void PaintRegion(QPainter& painter, const LogoRegion& region, const QImage& texture)
{
    switch (region.kind) {
    case LogoRegion::Fill:
        if (region.gradient)
            painter.fillPath(region.path, QBrush(*region.gradient));
        else
            painter.fillPath(region.path, region.colour);
        break;
    case LogoRegion::Stroke:
        painter.strokePath(region.path,
                           QPen(region.gradient ? QBrush(*region.gradient) : QBrush(region.colour),
                                region.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        break;
    case LogoRegion::Texture:
        if (!texture.isNull())
            painter.fillPath(region.path, QBrush(texture));
        break;
    case LogoRegion::Fade:
        PaintFade(painter, region);
        break;
    }
}

// A soft layer, regions [first, end), as a picture at `scale` device pixels per label pixel:
// PDF has no blur, so the layer is drawn, blurred and laid in as a lossless image whose alpha
// becomes its soft mask.
void PaintSoft(QPainter& painter, const std::vector<LogoRegion>& regions, std::size_t first,
               std::size_t end, const QImage& texture, double scale)
{
    const LogoRegion& layer = regions[first];
    QRectF bounds;
    for (std::size_t i = first; i < end; ++i)
        bounds |= regions[i].path.boundingRect();
    if (bounds.isEmpty())
        return;
    const double reach = 3 * layer.blur + 2;
    const QRect box = bounds.adjusted(-reach, -reach, reach, reach).toAlignedRect();
    QImage picture((QSizeF(box.size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter drawn(&picture);
        drawn.setRenderHint(QPainter::Antialiasing);
        drawn.scale(scale, scale);
        drawn.translate(-box.topLeft());
        drawn.setBrushOrigin(painter.brushOrigin());
        for (std::size_t i = first; i < end; ++i)
            PaintRegion(drawn, regions[i], texture);
    }
    MaskBlur::BlurPremultiplied(picture, layer.blur * scale);
    painter.save();
    painter.setOpacity(layer.opacity);
    painter.drawImage(QRectF(box), picture);
    painter.restore();
}

} // namespace

namespace PdfWriter {

void Paint(QPainter& painter, const VectorScene& scene)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.translate(-scene.region.topLeft());
    // the texture's tiles start at the label's corner
    painter.setBrushOrigin(scene.labelRect.topLeft());
    if (!scene.panel.isNull())
        painter.drawImage(scene.region.topLeft(), scene.panel);
    if (scene.backdrop)
        painter.fillRect(scene.backdropRect, *scene.backdrop);
    if (scene.ClipsToLabel())
        painter.setClipRect(scene.labelRect);
    if (!scene.picture.isNull())
        painter.drawImage(scene.pictureRect, scene.picture);
    const double scale = double(scene.outputSize.width()) / scene.region.width();
    const std::vector<LogoRegion>& regions = scene.regions;
    for (std::size_t i = 0; i < regions.size();) {
        if (regions[i].softLayer == 0) {
            PaintRegion(painter, regions[i++], scene.texture);
            continue;
        }
        std::size_t end = i + 1;
        while (end < regions.size() && regions[end].softLayer == regions[i].softLayer)
            ++end;
        PaintSoft(painter, regions, i, end, scene.texture, scale);
        i = end;
    }
    painter.restore();
}

QByteArray Write(const VectorScene& scene)
{
    if (scene.IsNull())
        return {};
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setTitle(scene.title);
        writer.setCreator(QStringLiteral("Quilvoro"));
        const QSizeF points = QSizeF(scene.outputSize) * 72.0 / kDpi;
        writer.setPageLayout(
            QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        const double scale = double(scene.outputSize.width()) / scene.region.width();
        painter.scale(scale, scale);
        Paint(painter, scene);
    }
    return pdf;
}

} // namespace PdfWriter
