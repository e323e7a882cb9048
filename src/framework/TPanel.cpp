// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TPanel.h"

#include "framework/Property.h"
#include "framework/TAlign.h"

#include <QMouseEvent>
#include <QPainter>

TPanel::TPanel(QWidget* parent)
    : QWidget(parent)
{ }

void TPanel::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        update();
}

void TPanel::SetBevelOuter(TPanelBevel value)
{
    if (StoreIfChanged(FBevelOuter, value))
        update();
}

void TPanel::SetBevelInner(TPanelBevel value)
{
    if (StoreIfChanged(FBevelInner, value))
        update();
}

void TPanel::SetBevelWidth(int value)
{
    if (StoreIfChanged(FBevelWidth, value))
        update();
}

QRect TPanel::Frame3D(QPainter& painter, QRect rect, TColor topLeft, TColor bottomRight, int width)
{
    for (int i = 0; i < width && rect.width() > 1 && rect.height() > 1; ++i) {
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), ToQColor(topLeft));
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), ToQColor(topLeft));
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), ToQColor(bottomRight));
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), ToQColor(bottomRight));
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

void TPanel::PaintPanel(QPainter& painter, QRect rect, TColor color, TPanelBevel outer,
                        TPanelBevel inner, int bevelWidth)
{
    painter.fillRect(rect, ToQColor(color));
    auto frame = [&](QRect r, TPanelBevel bevel) {
        if (bevel == bvNone)
            return r;
        const bool raised = bevel == bvRaised;
        return Frame3D(painter, r, raised ? clBtnHighlight : clBtnShadow,
                       raised ? clBtnShadow : clBtnHighlight, bevelWidth);
    };
    frame(frame(rect, outer), inner);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintPanel(painter, rect(), FColor, FBevelOuter, FBevelInner, FBevelWidth);
}

QRect TPanel::ClientRect() const
{
    const int border = ((FBevelOuter != bvNone) + (FBevelInner != bvNone)) * FBevelWidth;
    return rect().adjusted(border, border, -border, -border);
}

void TPanel::resizeEvent(QResizeEvent*)
{
    Align::Arrange(this, ClientRect());
}

void TPanel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
