// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TPanelBevel.h"

#include <QRect>
#include <QSize>

class QPainter;

// How a panel paints itself, without the widget: the panel control, the track bar's channel
// and the renderer's pictures of the preview draw the same frames.
namespace PanelDrawing {

// Draws a 3-D frame of `width` pixels inside `rect`: light top-left and dark bottom-right for a
// raised look, the other way round for a lowered one. Returns the rectangle inside.
QRect Frame3D(QPainter& painter, QRect rect, TColor topLeft, TColor bottomRight, int width);

// Paints a panel of the given colour and bevels into `rect`.
void PaintPanel(QPainter& painter, QRect rect, TColor color, TPanelBevel outer, TPanelBevel inner,
                int bevelWidth);

// Where a picture of `picture`'s size sits centred in `area` (it may hang over every edge).
QRect CenteredRect(QSize area, QSize picture);

} // namespace PanelDrawing
