// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PanelDrawing.h"

#include <QPainter>

namespace PanelDrawing {

QRect Frame3D(QPainter& painter, QRect rect, TColor topLeft, TColor bottomRight, int width)
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

void PaintPanel(QPainter& painter, QRect rect, TColor color, TPanelBevel outer, TPanelBevel inner,
                int bevelWidth)
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

QRect CenteredRect(QSize area, QSize picture)
{
    return {QPoint((area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2),
            picture};
}

} // namespace PanelDrawing
