#pragma once

#include <QImage>
#include <QPainter>

// The colour of a pixel without its alpha.
inline quint32 Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// A colour no control paints, so every pixel a control leaves alone shows it.
inline constexpr quint32 kMagenta = 0xFF00FF;

// The control painted through its PaintTo hook onto a picture of its size filled with
// `background`.
template<class Control> QImage RenderOver(Control& control, quint32 background = kMagenta)
{
    QImage image(control.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    control.PaintTo(painter);
    return image;
}
