// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QWidget>

#include <functional>

class QPainter;

// A small framed patch of one colour that reports a click: the face of a colour choice. A
// swatch without a colour (an optional colour left out) is crossed through.
class TColorSwatch : public QWidget
{
    Q_OBJECT

public:
    explicit TColorSwatch(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool HasColor() const { return FHasColor; }
    void SetHasColor(bool value);
    // The frame's colour; the inner ring is drawn darker when the pointer is over the swatch.
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor value);

    // Paints the swatch at (0, 0) of `painter`, as a paint event does.
    void PaintTo(QPainter& painter) const;

    std::function<void(QObject*)> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Click();

    TColor FColor = clBlack;
    TColor FFrameColor = clGray;
    bool FHasColor = true;
    bool FHot = false;
};
