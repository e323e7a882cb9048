// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/FontTypeMarks.h"

#include <QRgb>

namespace FontTypeMarks {

const char* const kRows[kHeight] = {
    "3777777773333333330000000033", "37737737733333333307ffff7033", "3733700000000333330f0000f033",
    "37337003003003333307ffff7033", "3333703300330333330f0000f033", "33337033003303333307ffff7033",
    "3333773300333333300000000003", "3377777700333333088888888870", "3333333300333333077777799770",
    "3333330000003333300000000003",
};

namespace {

// The standard 16-colour palette.
constexpr QRgb kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

QImage Build()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            line[x] = 0xFF000000u | kPalette[HexDigit(kRows[y][x])];
        }
    }
    return image;
}

QImage BuildMasked()
{
    QImage image = Bitmap().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, kHeight - 1);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            if (line[x] == key)
                line[x] = 0;
        }
    }
    return image;
}

} // namespace

const QImage& Bitmap()
{
    static const QImage image = Build();
    return image;
}

const QImage& Masked()
{
    static const QImage image = BuildMasked();
    return image;
}

} // namespace FontTypeMarks
