#include "render/TextPlacement.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

QTransform TextPlacement::TransformAt(QPoint offset) const
{
    QTransform transform;
    transform.translate(origin.x() + offset.x(), origin.y() + offset.y());
    transform.rotate(-escapement);
    return transform;
}

void TextPlacement::Draw(QPainter& painter, QPoint offset, const QColor& colour) const
{
    painter.setWorldTransform(TransformAt(offset));
    painter.setPen(colour);
    painter.drawText(QPointF(0, baseline), text);
}

QPainterPath TextPlacement::Path(QPoint offset) const
{
    QPainterPath path;
    path.addText(QPointF(0, baseline), font, text);
    return TransformAt(offset).map(path);
}

QRect TextPlacement::Bounds(QPoint offset) const
{
    const QFontMetrics metrics(font);
    const QRect cell(0, 0, metrics.horizontalAdvance(text), metrics.height());
    QRect ink = metrics.boundingRect(text).translated(0, baseline).united(cell);
    ink.adjust(-2, -2, 2, 2);
    return TransformAt(offset).mapRect(QRectF(ink)).toAlignedRect().adjusted(-1, -1, 1, 1);
}
