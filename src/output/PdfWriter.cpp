// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PdfWriter.h"

#include "render/VectorScene.h"

#include <QBuffer>
#include <QDateTime>
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
        painter.fillPath(region.path, region.colour);
        break;
    case LogoRegion::Stroke:
        painter.strokePath(
            region.path,
            QPen(region.colour, region.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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

// The date the writer stamps its document with, as the PDF string of SOURCE_DATE_EPOCH, or
// nothing when that is not a time.
QByteArray SourceDate()
{
    bool valid = false;
    const qint64 seconds = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&valid);
    if (!valid || seconds < 0)
        return {};
    const QDateTime date = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return "(D:" + date.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
}

// The same logo gives the same bytes: the creation date becomes SOURCE_DATE_EPOCH's, or is
// left out, in the same number of bytes so that every offset in the file stays right.
void StampDate(QByteArray& pdf)
{
    static const QByteArray key = "/CreationDate ";
    const qsizetype at = pdf.indexOf(key);
    const qsizetype end = at < 0 ? -1 : pdf.indexOf(')', at);
    if (end < 0)
        return;
    const qsizetype length = end + 1 - at;
    QByteArray entry = SourceDate();
    if (!entry.isEmpty())
        entry.prepend(key);
    if (entry.size() > length)
        entry.clear();
    pdf.replace(at, length, entry.leftJustified(length, ' '));
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
    if (!scene.picture.isNull()) {
        // a photograph read from JPEG is embedded as JPEG again
        painter.setRenderHint(QPainter::LosslessImageRendering, scene.pictureFormat != "jpeg");
        painter.drawImage(scene.pictureRect, scene.picture);
        painter.setRenderHint(QPainter::LosslessImageRendering);
    }
    for (const LogoRegion& region : scene.regions)
        PaintRegion(painter, region, scene.texture);
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
    StampDate(pdf);
    return pdf;
}

} // namespace PdfWriter
