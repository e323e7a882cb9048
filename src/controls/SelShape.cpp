// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/SelShape.h"

#include "platform/Property.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

// Dash patterns of the one-pixel cosmetic pens, in pixels (on, off, ...).
QList<qreal> DashPattern(TPenStyle style)
{
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

// Moves the top or left edge of a span by d, not past minPos. All or nothing: an edge that
// would leave less than minSize stays where it is.
bool MoveNearEdge(int& pos, int& size, int d, int minPos, int minSize)
{
    if (pos + d < minPos)
        d = minPos - pos;
    if (size - d < minSize)
        return false;
    pos += d;
    size -= d;
    return true;
}

// Moves the bottom or right edge by d, not past limit; d becomes the distance moved.
bool MoveFarEdge(int pos, int& size, int& d, int limit, int minSize)
{
    if (size + d < minSize)
        return false;
    if (pos + size + d > limit)
        d = limit - pos - size;
    // A span already past the limit would otherwise be pulled below its minimum size.
    if (size + d < minSize)
        return false;
    size += d;
    return true;
}

// The part of a move by d that keeps the span within [minPos, limit]; the far-edge clamp comes
// second, so it wins when the span is larger than the range.
int ClampedMove(int pos, int size, int d, int minPos, int limit)
{
    if (pos + d < minPos)
        d = minPos - pos;
    if (pos + size + d > limit)
        d = limit - pos - size;
    return d;
}

} // namespace

TSelShape::TSelShape(QWidget* parent)
    : QWidget(parent)
{
    // Moves without a button choose the zone and cursor.
    setMouseTracking(true);
}

void TSelShape::SetPenColor(TColor value)
{
    if (StoreIfChanged(FPenColor, value))
        update();
}

void TSelShape::SetPenStyle(TPenStyle value)
{
    if (StoreIfChanged(FPenStyle, value))
        update();
}

void TSelShape::SetPenWidth(int value)
{
    if (StoreIfChanged(FPenWidth, value))
        update();
}

void TSelShape::SetBrushColor(TColor value)
{
    if (StoreIfChanged(FBrushColor, value))
        update();
}

void TSelShape::SetBrushStyle(TBrushStyle value)
{
    if (StoreIfChanged(FBrushStyle, value))
        update();
}

TSelMode TSelShape::ZoneAt(QPoint pos) const
{
    const int s = FSizeSense;
    enum { Left, Right, Centre } column = Centre;
    enum { Top, Bottom, Middle } row = Middle;
    // Left and top are tested first, so they win on a shape narrower than both bands.
    if (pos.x() <= s)
        column = Left;
    else if (width() - pos.x() <= s)
        column = Right;
    if (pos.y() <= s)
        row = Top;
    else if (height() - pos.y() <= s)
        row = Bottom;

    switch (column) {
    case Left:
        return row == Top ? SelNW : row == Bottom ? SelSW : SelW;
    case Right:
        return row == Top ? SelNE : row == Bottom ? SelSE : SelE;
    default:
        return row == Top ? SelN : row == Bottom ? SelS : SelM;
    }
}

TSelMode TSelShape::FilterMode(TSelMode mode, TSelOpt options)
{
    if (!(options & SelOpt(ResizeX))) {
        if (mode == SelW || mode == SelE)
            mode = SelM;
        else if (mode == SelNE || mode == SelNW)
            mode = SelN;
        else if (mode == SelSE || mode == SelSW)
            mode = SelS;
    }
    if (!(options & SelOpt(ResizeY))) {
        if (mode == SelN || mode == SelS)
            mode = SelM;
        else if (mode == SelNE || mode == SelSE)
            mode = SelE;
        else if (mode == SelNW || mode == SelSW)
            mode = SelW;
    }
    return mode;
}

Qt::CursorShape TSelShape::CursorFor(TSelMode mode)
{
    switch (mode) {
    case SelN:
    case SelS:
        return Qt::SizeVerCursor;
    case SelW:
    case SelE:
        return Qt::SizeHorCursor;
    case SelNE:
    case SelSW:
        return Qt::SizeBDiagCursor;
    case SelNW:
    case SelSE:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int TSelShape::BottomLimit() const
{
    if (FMaxBottom > FMinTop)
        return FMaxBottom;
    return parentWidget() ? parentWidget()->height() : INT_MAX / 2;
}

int TSelShape::RightLimit() const
{
    if (FMaxRight > FMinLeft)
        return FMaxRight;
    return parentWidget() ? parentWidget()->width() : INT_MAX / 2;
}

void TSelShape::MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    // The zone of the last move stays: a press never re-chooses it.
    FDragging = true;
    FAnchorX = X;
    FAnchorY = Y;
}

void TSelShape::MouseMove(Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
    if (FDragging) {
        if (FMode == SelN || FMode == SelNE || FMode == SelNW)
            SelChgTop(Y - FAnchorY);
        else if (FMode == SelS || FMode == SelSE || FMode == SelSW)
            SelChgBot(Y - FAnchorY);
        if (FMode == SelW || FMode == SelNW || FMode == SelSW)
            SelChgLft(X - FAnchorX);
        else if (FMode == SelE || FMode == SelNE || FMode == SelSE)
            SelChgRit(X - FAnchorX);
        if (FMode == SelM)
            SelChgMov(X - FAnchorX, Y - FAnchorY);
    } else {
        FMode = ZoneAt({X, Y});
    }
    FMode = FilterMode(FMode, FSelOption);
    // Replaces any cursor the layout gave the shape, also during a drag.
    setCursor(CursorFor(FMode));
}

void TSelShape::MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    FDragging = false;
}

void TSelShape::SelChgTop(int d)
{
    int top = y(), h = height();
    if (MoveNearEdge(top, h, d, FMinTop, FMinHeight))
        setGeometry(x(), top, width(), h);
}

void TSelShape::SelChgBot(int d)
{
    int h = height();
    if (!MoveFarEdge(y(), h, d, BottomLimit(), FMinHeight))
        return;
    resize(width(), h);
    FAnchorY += d;
}

void TSelShape::SelChgLft(int d)
{
    int left = x(), w = width();
    if (MoveNearEdge(left, w, d, FMinLeft, FMinWidth))
        setGeometry(left, y(), w, height());
}

void TSelShape::SelChgRit(int d)
{
    int w = width();
    if (!MoveFarEdge(x(), w, d, RightLimit(), FMinWidth))
        return;
    resize(w, height());
    FAnchorX += d;
}

void TSelShape::SelChgMov(int dx, int dy)
{
    if (FSelOption & SelOpt(MoveY))
        move(x(), y() + ClampedMove(y(), height(), dy, FMinTop, BottomLimit()));
    if (FSelOption & SelOpt(MoveX))
        move(x() + ClampedMove(x(), width(), dx, FMinLeft, RightLimit()), y());
}

void TSelShape::PaintTo(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (FPenStyle == psClear) {
        painter.setPen(Qt::NoPen);
    } else {
        QPen pen(ToQColor(FPenColor));
        pen.setWidth(std::max(1, FPenWidth));
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setCapStyle(Qt::FlatCap);
        if (FPenStyle != psSolid)
            pen.setDashPattern(DashPattern(FPenStyle));
        painter.setPen(pen);
    }
    painter.setBrush(FBrushStyle == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(FBrushColor)));
    // Right and bottom edges are exclusive: the outline covers columns 0..Width-1.
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    painter.restore();
}

void TSelShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

QPoint TSelShape::ConfinedPosition(QPoint pos) const
{
    // Qt cannot hold the real pointer inside a rectangle on every platform, so while dragging
    // the position the shape acts on is held within the parent's client area instead.
    const QWidget* parent = parentWidget();
    if (!parent || !FDragging)
        return pos;
    const QPoint inParent = mapToParent(pos);
    const QPoint held(std::clamp(inParent.x(), 0, std::max(0, parent->width() - 1)),
                      std::clamp(inParent.y(), 0, std::max(0, parent->height() - 1)));
    return mapFromParent(held);
}

void TSelShape::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TSelShape::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = ConfinedPosition(event->position().toPoint());
    MouseMove(event->modifiers(), pos.x(), pos.y());
}

void TSelShape::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = ConfinedPosition(event->position().toPoint());
    MouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}
