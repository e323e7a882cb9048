// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TBevel.h"

#include "platform/PanelDrawing.h"

#include <QPainter>

TBevel::TBevel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PanelDrawing::Frame3D(painter, rect(), clBtnShadow, clBtnHighlight, 1);
}
