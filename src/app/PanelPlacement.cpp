// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PanelPlacement.h"

#include <algorithm>
#include <array>
#include <limits>

namespace PanelPlacement {

namespace {

// `rect` moved onto `screen` as far as it goes; a panel larger than the screen keeps its
// top-left corner on it.
QRect KeptOn(QRect rect, const QRect& screen)
{
    rect.moveLeft(
        std::max(screen.left(), std::min(rect.left(), screen.right() + 1 - rect.width())));
    rect.moveTop(std::max(screen.top(), std::min(rect.top(), screen.bottom() + 1 - rect.height())));
    return rect;
}

qint64 Area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

QPoint Beside(const QRect& preview, QSize size, const QRect& screen)
{
    const int x = preview.left() + (preview.width() - size.width()) / 2;
    const int y = preview.top() + (preview.height() - size.height()) / 2;
    const std::array<QPoint, 4> sides = {
        QPoint(x, preview.bottom() + 1),
        QPoint(x, preview.top() - size.height()),
        QPoint(preview.right() + 1, y),
        QPoint(preview.left() - size.width(), y),
    };
    QPoint best;
    qint64 hidden = std::numeric_limits<qint64>::max();
    for (const QPoint& side : sides) {
        const QRect placed = KeptOn(QRect(side, size), screen);
        const qint64 covered = Area(placed & preview);
        if (covered < hidden) {
            hidden = covered;
            best = placed.topLeft();
        }
    }
    return best;
}

} // namespace PanelPlacement
