// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/THintWindow.h"

#include "platform/Property.h"
#include "platform/TextOutput.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// The desktop that a window at `point` must stay inside: all screens together.
QRect DesktopAt(const QPoint& point)
{
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect();
}

} // namespace

THintWindow::THintWindow(QWidget* parent)
    : QWidget(parent,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                  | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
{
    // Some hint shapes leave parts of the window unpainted so the screen shows through.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    FCanvasFont.SetColor(clInfoText);
}

QRect THintWindow::CalcHintRect(int maxWidth, const QString& hint) const
{
    QRect result(0, 0, maxWidth, 0);
    DrawText(nullptr, FCanvasFont.ToQFont(), hint, result,
             DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    // Room for the border and a margin of two pixels around the text.
    result.setWidth(result.width() + 6);
    result.setHeight(result.height() + 2);
    return result;
}

void THintWindow::ActivateHint(QRect rect, const QString& hint)
{
    FCaption = hint;
    rect.setHeight(rect.height() + 4);
    setGeometry(KeepInside(rect, DesktopAt(rect.topLeft())));
    // A tool-tip window shows on top of the others by itself.
    show();
    update();
}

QRect THintWindow::KeepInside(QRect rect, const QRect& desktop)
{
    if (!desktop.isValid())
        return rect;
    if (rect.bottom() > desktop.bottom())
        rect.moveBottom(desktop.bottom());
    if (rect.right() > desktop.right())
        rect.moveRight(desktop.right());
    if (rect.left() < desktop.left())
        rect.moveLeft(desktop.left());
    if (rect.top() < desktop.top())
        rect.moveTop(desktop.top());
    return rect;
}

void THintWindow::DestroyWindowHandle()
{
    hide();
    destroy();
}

void THintWindow::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        update();
}

QRect THintWindow::ClientRect() const
{
    const int border = HasBorder() ? 1 : 0;
    return QRect(0, 0, std::max(0, width() - 2 * border), std::max(0, height() - 2 * border));
}

void THintWindow::PaintTo(QPainter& painter)
{
    const int border = HasBorder() ? 1 : 0;
    if (border) {
        painter.save();
        painter.setPen(ToQColor(clWindowFrame));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.restore();
    }
    painter.save();
    painter.translate(border, border);
    painter.setClipRect(ClientRect(), Qt::IntersectClip);
    EraseBackground(painter);
    Paint(painter);
    painter.restore();
}

void THintWindow::EraseBackground(QPainter& canvas)
{
    canvas.fillRect(ClientRect(), ToQColor(FColor));
}

void THintWindow::Paint(QPainter& canvas)
{
    QRect r = ClientRect().adjusted(2, 2, 0, 0);
    canvas.setPen(ToQColor(FCanvasFont.Color()));
    DrawText(&canvas, FCanvasFont.ToQFont(), FCaption, r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
