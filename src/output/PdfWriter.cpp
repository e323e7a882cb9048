// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PdfWriter.h"

#include "render/MaskBlur.h"
#include "render/VectorScene.h"

#include <QBuffer>
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <vector>

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

// The texture's tiles over the part of `area` in view, as one picture: readers lay a pattern's
// tiles at whole device pixels, so at a fractional scale its tiles drift away from the letters.
void PaintTexture(QPainter& painter, const QPainterPath& area, const QImage& texture, QPoint origin,
                  const QRect& view)
{
    const QRect box = area.boundingRect().toAlignedRect().intersected(view);
    if (box.isEmpty() || texture.isNull())
        return;
    QImage tiles(box.size(), QImage::Format_RGB32);
    {
        QPainter on(&tiles);
        on.setBrushOrigin(origin - box.topLeft());
        on.fillRect(tiles.rect(), QBrush(texture));
    }
    painter.save();
    painter.setClipPath(area, Qt::IntersectClip);
    painter.drawImage(box.topLeft(), tiles);
    painter.restore();
}

void PaintRegion(QPainter& painter, const LogoRegion& region, const QImage& texture, QPoint origin,
                 const QRect& view)
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
        PaintTexture(painter, region.path, texture, origin, view);
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

// Offsets in the cross-reference table and after startxref: ten digits each, Qt's layout.
void MoveOffsets(QByteArray& pdf, const std::vector<qsizetype>& inserted, qsizetype length)
{
    auto moved = [&](qsizetype offset) {
        const auto before = std::lower_bound(inserted.begin(), inserted.end(), offset);
        return offset + qsizetype(before - inserted.begin()) * length;
    };
    const qsizetype start = pdf.lastIndexOf("startxref\n");
    const qsizetype table = pdf.lastIndexOf("\nxref\n");
    if (start < 0 || table < 0)
        return;
    // "xref\n0 N\n" and then N entries of 20 bytes: "oooooooooo ggggg n \n"
    const qsizetype header = pdf.indexOf('\n', table + 6);
    for (qsizetype at = header + 1; at + 20 <= start && pdf.at(at + 17) != 't'; at += 20) {
        if (pdf.at(at + 17) != 'n')
            continue;
        const qsizetype offset = pdf.mid(at, 10).toLongLong();
        pdf.replace(at, 10, QByteArray::number(moved(offset)).rightJustified(10, '0'));
    }
    const qsizetype number = start + 10;
    const qsizetype end = pdf.indexOf('\n', number);
    const QByteArray digits = pdf.mid(number, end - number).trimmed();
    pdf.replace(number, end - number, QByteArray::number(moved(digits.toLongLong())) + ' ');
}

// Pictures are smoothed when a reader draws them larger or smaller than their pixels, as the
// raster smooths them; Qt does not say so in the pictures' dictionaries.
void Interpolate(QByteArray& pdf)
{
    static const QByteArray image = "/Subtype /Image\n";
    static const QByteArray interpolate = "/Interpolate true\n";
    std::vector<qsizetype> inserted; // where, in the bytes before any insertion
    for (qsizetype at = pdf.indexOf(image); at >= 0; at = pdf.indexOf(image, at + 1))
        inserted.push_back(at + image.size());
    if (inserted.empty())
        return;
    QByteArray out;
    out.reserve(pdf.size() + qsizetype(inserted.size()) * interpolate.size());
    qsizetype from = 0;
    for (const qsizetype at : inserted) {
        out += QByteArrayView(pdf).sliced(from, at - from);
        out += interpolate;
        from = at;
    }
    out += QByteArrayView(pdf).sliced(from);
    MoveOffsets(out, inserted, interpolate.size());
    pdf = out;
}

// A soft layer, regions [first, end), as a picture at `scale` device pixels per label pixel:
// PDF has no blur, so the layer is drawn, blurred and laid in as a lossless image whose alpha
// becomes its soft mask.
void PaintSoft(QPainter& painter, const std::vector<LogoRegion>& regions, std::size_t first,
               std::size_t end, const QImage& texture, double scale, QPoint origin,
               const QRect& view)
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
            PaintRegion(drawn, regions[i], texture, origin, view);
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
    const QRect view =
        scene.ClipsToLabel() ? scene.region.intersected(scene.labelRect) : scene.region;
    const QPoint origin = scene.labelRect.topLeft();
    const double scale = double(scene.outputSize.width()) / scene.region.width();
    const std::vector<LogoRegion>& regions = scene.regions;
    for (std::size_t i = 0; i < regions.size();) {
        if (regions[i].softLayer == 0) {
            PaintRegion(painter, regions[i++], scene.texture, origin, view);
            continue;
        }
        std::size_t end = i + 1;
        while (end < regions.size() && regions[end].softLayer == regions[i].softLayer)
            ++end;
        PaintSoft(painter, regions, i, end, scene.texture, scale, origin, view);
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
    StampDate(pdf);
    Interpolate(pdf);
    return pdf;
}

} // namespace PdfWriter
