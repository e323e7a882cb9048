// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSlider>

#include <functional>
#include <optional>

// A horizontal track bar painted as a slim sunken channel with a small raised thumb.
// Writing Position clamps it into Min..Max and fires OnChange only when the value changes.
class TTrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    void SetMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void SetMax(int value) { setMaximum(value); }
    int Position() const { return value(); }
    void SetPosition(int value) { setValue(value); }
    int PageSize() const { return pageStep(); }
    void SetPageSize(int value) { setPageStep(value); }
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int value);

    // The position before the mouse last went down on the bar and moved it to the pointer;
    // nothing once anything else has moved it since.
    std::optional<int> PressStart() const { return FPressStart; }

    // The thumb's rectangle for the current position.
    QRect ThumbRect() const;

    // Where the thumb of a bar of `size` lies at `value` of minimum..maximum: the channel runs
    // between the centres of its two end positions.
    static QRect ThumbRectFor(QSize size, int thumbLength, int minimum, int maximum, int value);
    // The position under column x of a bar `width` wide, clamped to minimum..maximum.
    static int PositionFor(int x, int width, int minimum, int maximum);

    std::function<void(QObject*)> OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static int ChannelLeft();
    static int ChannelRight(int width);

    int FThumbLength = 11;
    std::optional<int> FPressStart;
};
