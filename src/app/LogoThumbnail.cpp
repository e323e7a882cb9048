// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoThumbnail.h"

#include "platform/PanelDrawing.h"
#include "render/LogoPainter.h"
#include "render/Workers.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <cmath>

namespace LogoThumbnail {

namespace {

int Scaled(int length, double factor)
{
    return std::max(1, int(std::lround(length * factor)));
}

LogoLook Reduced(const LogoLook& look, double factor)
{
    LogoLook reduced = look;
    if (look.font.pixelSize() > 0)
        reduced.font.setPixelSize(Scaled(look.font.pixelSize(), factor));
    else
        reduced.font.setPointSizeF(look.font.pointSizeF() * factor);
    if (look.depth > 0)
        reduced.depth = Scaled(look.depth, factor);
    LogoDecorations& decorations = reduced.decorations;
    for (LogoEdge& edge : decorations.edges) {
        if (edge.width > 0)
            edge.width = Scaled(edge.width, factor);
    }
    for (int* size : {&decorations.shadowBlur, &decorations.glowSize}) {
        if (*size > 0)
            *size = Scaled(*size, factor);
    }
    if (!look.texture.isNull())
        reduced.texture = look.texture.scaled(Scaled(look.texture.width(), factor),
                                              Scaled(look.texture.height(), factor),
                                              Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return reduced;
}

} // namespace

QImage Draw(const PreviewScene& scene, QSize box)
{
    const QRect region = DocumentRenderer::DefaultRegion();
    const QSize size = region.size().scaled(box, Qt::KeepAspectRatio);
    const double factor = double(size.width()) / region.width();
    const QSize label(Scaled(DocumentRenderer::kPreviewSize.width(), factor),
                      Scaled(DocumentRenderer::kPreviewSize.height(), factor));
    const QPoint origin(-int(std::lround(region.left() * factor)),
                        -int(std::lround(region.top() * factor)));
    const QRect labelRect = QRect(origin, label).intersected(QRect(QPoint(), size));
    const LogoPainter painter(Reduced(scene.look, factor), label);
    QImage thumbnail(size, QImage::Format_RGB32);
    if (!scene.labelTransparent) {
        painter.PaintOpaque(thumbnail, origin, labelRect);
        return thumbnail;
    }
    // The background picture behind the label, keyed as the renderer keys it.
    thumbnail.fill(ToQColor(DocumentRenderer::kPanelColor));
    QPainter on(&thumbnail);
    if (!scene.background.isNull()) {
        const QRect centred =
            PanelDrawing::CenteredRect(DocumentRenderer::kPreviewSize, scene.background.size());
        on.setRenderHint(QPainter::SmoothPixmapTransform);
        on.drawImage(
            QRectF(origin + QPointF(centred.topLeft()) * factor, QSizeF(centred.size()) * factor),
            scene.background);
    }
    QImage keyed(size, QImage::Format_ARGB32_Premultiplied);
    QImage opaque(size, QImage::Format_RGB32);
    painter.PaintKeyed(keyed, origin, labelRect, &opaque);
    on.drawImage(labelRect.topLeft(), keyed, labelRect);
    return thumbnail;
}

QThreadPool& Threads()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool(QCoreApplication::instance());
        threads->setMaxThreadCount(std::max(1, Workers::Count() - 1));
        threads->setExpiryTimeout(-1);
        return threads;
    }();
    return *pool;
}

} // namespace LogoThumbnail
