// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ColorSwatch.h"

#include "platform/Property.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TColorSwatch::TColorSwatch(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void TColorSwatch::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        update();
}

void TColorSwatch::SetHasColor(bool value)
{
    if (StoreIfChanged(FHasColor, value))
        update();
}

void TColorSwatch::SetFrameColor(TColor value)
{
    if (StoreIfChanged(FFrameColor, value))
        update();
}

void TColorSwatch::PaintTo(QPainter& painter) const
{
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    const QColor frame = ToQColor(FFrameColor);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer);
    // a dark ring inside the frame keeps a colour close to the frame's apart from it
    const QRect ring = outer.adjusted(1, 1, -1, -1);
    painter.setPen(FHot || hasFocus() ? frame.lighter(160) : QColor(Qt::black));
    painter.drawRect(ring);
    const QRect patch = ring.adjusted(1, 1, 0, 0);
    painter.fillRect(patch, QColor(Qt::black));
    if (FHasColor) {
        // out of reach, the colour still shows, dimmed
        QColor color = ToQColor(FColor);
        if (!isEnabled())
            color.setAlpha(90);
        painter.fillRect(patch, color);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(frame, 1.5));
    painter.drawLine(QPointF(patch.left() + 2, patch.bottom() - 1),
                     QPointF(patch.right() - 1, patch.top() + 2));
}

void TColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TColorSwatch::Click()
{
    if (OnClick)
        OnClick(this);
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

void TColorSwatch::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter) {
        Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TColorSwatch::enterEvent(QEnterEvent*)
{
    FHot = true;
    update();
}

void TColorSwatch::leaveEvent(QEvent*)
{
    FHot = false;
    update();
}
