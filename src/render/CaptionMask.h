// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/DecorationCache.h"
#include "render/TextPlacement.h"

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>

#include <optional>

// The coverage of a caption, drawn once as one byte per pixel (Format_Alpha8) and kept while the
// placement stays the same but for where it lies (text, font, baseline, turn, lead and bend): a
// change of colours, depth or direction then repaints without rasterising text again. A whole
// pixel's move of the placement draws the same coverage moved, so the mask is kept relative to the
// placement's origin. Not shared between threads.
class CaptionMask
{
public:
    // The caption's coverage over its extent within `reach` (device coordinates) at least, and
    // where its top-left corner lies in the placement's device coordinates. A long caption
    // reaches far beyond any picture, and the coverage of all of it would take seconds and
    // gigabytes.
    const QImage& Of(const TextPlacement& placement, const QRect& reach, QPoint& topLeft);

    // The caption's outline, TextPlacement::Path({}), kept while the mask is and the caption
    // does not move: an outlined label strokes it at every paint.
    const QPainterPath& Outline(const TextPlacement& placement);
    // The coverage of the letters filled even-odd and moved by `offset`, what a texture shows
    // through, and where its top-left corner lies; kept as the outline is.
    const QImage& Letters(const TextPlacement& placement, QPoint offset, QPoint& topLeft);

    // How often the caption has been drawn.
    int Draws() const { return FDraws; }

    // What the decorations keep between the same paints.
    DecorationCache& Decorations() { return FDecorations; }

    // The caption's coverage over `region` (device coordinates) only.
    static QImage Draw(const TextPlacement& placement, const QRect& region);

private:
    // Whether the placement is the one kept but for where it lies; when not, takes it and forgets
    // what was kept of the earlier caption.
    bool Keep(const TextPlacement& placement);

    // The placement kept, at the origin: every field of it (text, face, baseline, turn, lead,
    // bend and outlines) decides the coverage.
    std::optional<TextPlacement> FKey;
    QImage FMask;
    QPoint FTopLeft; // relative to the placement's origin
    QRect FCovered; // what the mask was drawn over, relative to the placement's origin
    int FDraws = 0;
    QPoint FOutlineOrigin;
    QPainterPath FOutline; // empty until asked for
    QPoint FLettersAt; // the placement's origin plus the offset they were drawn for
    QImage FLetters;
    QPoint FLettersTopLeft;
    DecorationCache FDecorations;
};
