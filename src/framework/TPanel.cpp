// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TPanel.h"

#include "framework/TAlign.h"
#include "platform/PanelDrawing.h"
#include "platform/Property.h"

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

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PanelDrawing::PaintPanel(painter, rect(), FColor, FBevelOuter, FBevelInner, FBevelWidth);
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
