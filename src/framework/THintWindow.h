// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QPointer>
#include <QWidget>

class QPainter;

// What the application knows about a hint that is about to show. A show-hint handler may
// change any of it, most often the position.
struct THintInfo
{
    QPointer<QWidget> HintControl;
    QPoint HintPos; // screen position of the hint window's top-left corner
    int HintMaxWidth = 0; // the text wraps at this width
    TColor HintColor = clInfoBk;
    QRect CursorRect; // screen area in which the mouse keeps this hint
    QPoint CursorPos; // the mouse, in the hint control's coordinates
    int HideTimeout = 0; // hide after this many milliseconds; 0 or less keeps the hint up
    QString HintStr;
};

// The application's hint window: a bordered popup that shows the hint text on the hint colour.
// It never takes focus or mouse input. Subclasses replace its shape and look; the application
// makes it through its replaceable hint window class.
class THintWindow : public QWidget
{
    Q_OBJECT

public:
    explicit THintWindow(QWidget* parent = nullptr);

    // The window rectangle (at 0, 0) for `hint` wrapped at `maxWidth` in the canvas font.
    virtual QRect CalcHintRect(int maxWidth, const QString& hint) const;

    // Shows `hint` in a window 4 pixels taller than `rect`, moved inside the desktop, on top of
    // every window and without activating it.
    virtual void ActivateHint(QRect rect, const QString& hint);

    // `rect` moved, not resized, so that it lies inside `desktop`; when it is larger, its left
    // and top edges stay inside. An invalid desktop leaves it where it is.
    static QRect KeepInside(QRect rect, const QRect& desktop);

    // Gives up the native window; the application calls it before it discards the hint window.
    virtual void DestroyWindowHandle();

    QString Caption() const { return FCaption; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    TFont& CanvasFont() { return FCanvasFont; }
    const TFont& CanvasFont() const { return FCanvasFont; }

    // The drawing area in canvas coordinates: the window without its border.
    QRect ClientRect() const;

    // Erases and paints the whole window onto `painter`, which is in window coordinates.
    void PaintTo(QPainter& painter);

protected:
    // Whether the window has the one-pixel frame; a subclass without it draws its own outline.
    virtual bool HasBorder() const { return true; }
    // Fills the client area with the window colour before Paint.
    virtual void EraseBackground(QPainter& canvas);
    // Draws the client area; the painter is in canvas coordinates and clipped to the client.
    virtual void Paint(QPainter& canvas);

    void paintEvent(QPaintEvent* event) override;

private:
    QString FCaption;
    TColor FColor = clInfoBk;
    TFont FCanvasFont;
};
