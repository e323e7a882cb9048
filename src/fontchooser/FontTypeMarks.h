// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>

// The 28 x 10 bitmap of the two font-type marks: a TrueType mark in columns 0 to 13 and a
// device (printer) font mark in columns 15 to 27, over a dark-yellow key colour.
namespace FontTypeMarks {

constexpr int kWidth = 28;
constexpr int kHeight = 10;

// One 16-colour palette index per pixel, top row first.
extern const char* const kRows[kHeight];

// The bitmap as RGB32 pixels (0x00RRGGBB), key colour included.
const QImage& Bitmap();

// The bitmap with every pixel of the key colour (its lower-left pixel) made transparent.
const QImage& Masked();

} // namespace FontTypeMarks
