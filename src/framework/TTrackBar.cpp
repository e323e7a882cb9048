// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TTrackBar.h"

#include "platform/PanelDrawing.h"
#include "platform/Property.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kChannelMargin = 8;

} // namespace

TTrackBar::TTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setPageStep(5);
    setSingleStep(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QSlider::valueChanged, this, [this] {
        if (!isSliderDown())
            FPressStart.reset();
        if (OnChange)
            OnChange(this);
    });
}

void TTrackBar::SetThumbLength(int value)
{
    if (StoreIfChanged(FThumbLength, value))
        update();
}

int TTrackBar::ChannelLeft()
{
    return kChannelMargin;
}

int TTrackBar::ChannelRight(int width)
{
    return width - 1 - kChannelMargin;
}

QRect TTrackBar::ThumbRect() const
{
    return ThumbRectFor(size(), FThumbLength, minimum(), maximum(), value());
}

QRect TTrackBar::ThumbRectFor(QSize size, int thumbLength, int minimum, int maximum, int value)
{
    const int span = std::max(1, maximum - minimum);
    const int channel = ChannelRight(size.width()) - ChannelLeft();
    const int x = ChannelLeft() + int(std::lround(double(value - minimum) * channel / span));
    const int w = std::max(5, thumbLength / 2 + 1);
    const int h = std::min(thumbLength, size.height());
    return QRect(x - w / 2, (size.height() - h) / 2, w, h);
}

int TTrackBar::PositionFor(int x, int width, int minimum, int maximum)
{
    const int span = std::max(1, ChannelRight(width) - ChannelLeft());
    const double fraction = std::clamp(double(x - ChannelLeft()) / span, 0.0, 1.0);
    return minimum + int(std::lround(fraction * (maximum - minimum)));
}

void TTrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // A sunken channel, 4 pixels high, across the middle.
    const int cy = height() / 2;
    const QRect channel(ChannelLeft() - 2, cy - 2, ChannelRight(width()) - ChannelLeft() + 5, 4);
    painter.fillRect(channel, ToQColor(0x00400000));
    PanelDrawing::Frame3D(painter, channel, clBtnShadow, clBtnHighlight, 1);
    const QRect thumb = ThumbRect();
    // The keyboard focus shows as an aqua thumb, plain to see on the black frame.
    painter.fillRect(thumb, ToQColor(hasFocus() ? clAqua : clSilver));
    PanelDrawing::Frame3D(painter, thumb, clWhite, clGray, 1);
}

void TTrackBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    FPressStart = value();
    // Down first, so the change of the press already counts as part of the drag.
    setSliderDown(true);
    setValue(PositionFor(int(event->position().x()), width(), minimum(), maximum()));
}

void TTrackBar::mouseMoveEvent(QMouseEvent* event)
{
    if (isSliderDown())
        setValue(PositionFor(int(event->position().x()), width(), minimum(), maximum()));
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isSliderDown())
        setSliderDown(false);
}
