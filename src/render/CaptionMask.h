// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>

struct TextPlacement;

// The coverage of a caption, drawn once as one byte per pixel (Format_Alpha8) and kept while the
// text, the font, the baseline and the turn stay the same: a change of colours, depth or direction
// then repaints without rasterising text again. A whole pixel's move of the placement draws the
// same coverage moved, so the mask is kept relative to the placement's origin. Not shared between
// threads.
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

    // The caption's coverage over `region` (device coordinates) only.
    static QImage Draw(const TextPlacement& placement, const QRect& region);

private:
    // Whether the caption's text, face, baseline, turn and bend are those kept; when not, takes
    // them and forgets what was kept of the earlier caption.
    bool Keep(const TextPlacement& placement);

    bool FKept = false;
    QString FText;
    QFont FFont;
    int FBaseline = 0;
    int FEscapement = 0;
    // A warped caption's outline is part of what it looks like.
    bool FWarped = false;
    QPainterPath FWarpedLetters;
    QPainterPath FWarpedLines;
    QImage FMask;
    QPoint FTopLeft; // relative to the placement's origin
    QRect FCovered; // what the mask was drawn over, relative to the placement's origin
    int FDraws = 0;
    QPoint FOutlineOrigin;
    QPainterPath FOutline; // empty until asked for
    QPoint FLettersAt; // the placement's origin plus the offset they were drawn for
    QImage FLetters;
    QPoint FLettersTopLeft;
};
