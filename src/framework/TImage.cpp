// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TImage.h"

#include "platform/PanelDrawing.h"
#include "platform/Property.h"

#include <QPainter>

TImage::TImage(QWidget* parent)
    : QWidget(parent)
{ }

void TImage::SetPicture(const QImage& value)
{
    // Pictures are not compared pixel by pixel: a new one always repaints.
    FPicture = value;
    update();
}

void TImage::SetStretch(bool value)
{
    if (StoreIfChanged(FStretch, value))
        update();
}

void TImage::SetCenter(bool value)
{
    if (StoreIfChanged(FCenter, value))
        update();
}

QRect TImage::PictureRect() const
{
    if (FStretch)
        return rect();
    return FCenter ? PanelDrawing::CenteredRect(size(), FPicture.size())
                   : QRect(QPoint(0, 0), FPicture.size());
}

void TImage::PaintTo(QPainter& painter, QPoint origin) const
{
    if (FPicture.isNull())
        return;
    painter.save();
    painter.setClipRect(QRect(origin, size()), Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, FStretch);
    painter.drawImage(PictureRect().translated(origin), FPicture);
    painter.restore();
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
