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
    if (warped) {
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(warpedLetters, colour);
        painter.fillPath(warpedLines, colour);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        return;
    }
    painter.setPen(colour);
    painter.drawText(QPointF(0, baseline), text);
}

QPainterPath TextPlacement::Path(QPoint offset) const
{
    QPainterPath path;
    if (warped) {
        path = warpedLetters;
        path.addPath(warpedLines);
    } else {
        path.addText(QPointF(0, baseline), font, text);
    }
    return TransformAt(offset).map(path);
}

QRect TextPlacement::Bounds(QPoint offset) const
{
    if (warped) {
        const QRectF ink = warpedLetters.boundingRect().united(warpedLines.boundingRect());
        return TransformAt(offset).mapRect(ink).toAlignedRect().adjusted(-2, -2, 2, 2);
    }
    const QFontMetrics metrics(font);
    const QRect cell(0, 0, metrics.horizontalAdvance(text), metrics.height());
    QRect ink = metrics.boundingRect(text).translated(0, baseline).united(cell);
    ink.adjust(-2, -2, 2, 2);
    return TransformAt(offset).mapRect(QRectF(ink)).toAlignedRect().adjusted(-1, -1, 1, 1);
}
