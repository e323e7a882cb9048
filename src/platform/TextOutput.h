// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

// Format flags of the text output, with the values the Windows text-drawing call gives them.
enum TextFormat : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
};

// Draws `text` into `rect` with `font` in the painter's pen colour, laid out by `format`.
// With DT_CALCRECT nothing is drawn (the painter may be null): `rect` gets the right and bottom
// edges that bound the laid-out text. Returns the height of the text.
// Without DT_NOPREFIX, "&x" underlines x and "&&" stands for "&".
int DrawText(QPainter* painter, const QFont& font, const QString& text, QRect& rect,
             unsigned format);

// The text with its accelerator prefixes resolved ("&&" -> "&", lone "&" dropped), and the
// index of the underlined character or -1.
QString StripAccelerator(const QString& text, int* underlinedIndex = nullptr);

// The accelerator character of a caption ("&x"), lower-cased, or a null QChar.
QChar AcceleratorOf(const QString& caption);
