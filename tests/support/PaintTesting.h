// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <functional>

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

// The smallest rectangle holding every pixel that `pick` accepts.
inline QRect Extent(const QImage& image, const std::function<bool(QColor)>& pick)
{
    QRect extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pick(image.pixelColor(x, y)))
                extent |= QRect(x, y, 1, 1);
    return extent;
}

// A texture of red and yellow squares `cell` pixels wide.
inline QImage Checkers(QSize size, int cell)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                           ((x / cell + y / cell) % 2) ? qRgb(230, 60, 40) : qRgb(250, 220, 40));
    return image;
}

// The average difference of the channels of two pictures of one size, in levels.
inline double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}
