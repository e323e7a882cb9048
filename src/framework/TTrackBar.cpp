#include "framework/TTrackBar.h"

#include "framework/Property.h"
#include "framework/TPanel.h"

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
        if (OnChange)
            OnChange(this);
    });
}

void TTrackBar::SetThumbLength(int value)
{
    if (StoreIfChanged(FThumbLength, value))
        update();
}

int TTrackBar::ThumbWidth() const
{
    return std::max(5, FThumbLength / 2 + 1);
}

int TTrackBar::ChannelLeft() const
{
    return kChannelMargin;
}

int TTrackBar::ChannelRight() const
{
    return width() - 1 - kChannelMargin;
}

QRect TTrackBar::ThumbRect() const
{
    const int span = std::max(1, maximum() - minimum());
    const int x = ChannelLeft()
        + int(std::lround(double(value() - minimum()) * (ChannelRight() - ChannelLeft()) / span));
    const int w = ThumbWidth();
    const int h = std::min(FThumbLength, height());
    return QRect(x - w / 2, (height() - h) / 2, w, h);
}

int TTrackBar::PositionAt(int x) const
{
    const int span = std::max(1, ChannelRight() - ChannelLeft());
    const double fraction = std::clamp(double(x - ChannelLeft()) / span, 0.0, 1.0);
    return minimum() + int(std::lround(fraction * (maximum() - minimum())));
}

void TTrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // A sunken channel, 4 pixels high, across the middle.
    const int cy = height() / 2;
    const QRect channel(ChannelLeft() - 2, cy - 2, ChannelRight() - ChannelLeft() + 5, 4);
    painter.fillRect(channel, ToQColor(0x00400000));
    TPanel::Frame3D(painter, channel, clBtnShadow, clBtnHighlight, 1);
    const QRect thumb = ThumbRect();
    // The keyboard focus shows as an aqua thumb, plain to see on the black frame.
    painter.fillRect(thumb, ToQColor(hasFocus() ? clAqua : clSilver));
    TPanel::Frame3D(painter, thumb, clWhite, clGray, 1);
}

void TTrackBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    // Down first, so the change of the press already counts as part of the drag.
    setSliderDown(true);
    setValue(PositionAt(int(event->position().x())));
}

void TTrackBar::mouseMoveEvent(QMouseEvent* event)
{
    if (isSliderDown())
        setValue(PositionAt(int(event->position().x())));
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isSliderDown())
        setSliderDown(false);
}
