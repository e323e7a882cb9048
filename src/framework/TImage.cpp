#include "framework/TImage.h"

#include "framework/Property.h"

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
    QRect r(QPoint(0, 0), FPicture.size());
    if (FCenter)
        r.moveTopLeft(QPoint((width() - r.width()) / 2, (height() - r.height()) / 2));
    return r;
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
