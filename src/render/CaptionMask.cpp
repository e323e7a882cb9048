// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/CaptionMask.h"

#include "render/TextPlacement.h"

#include <QPainter>

QImage CaptionMask::Draw(const TextPlacement& placement, const QRect& region)
{
    if (region.isEmpty())
        return {};
    // White on black in RGB32 gives the same coverage as an alpha mask, and the raster engine
    // fills RGB32 several times faster.
    QImage mask(region.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setFont(placement.font);
    // An integer shift keeps the rasterised coverage identical to a draw in place.
    TextPlacement shifted = placement;
    shifted.origin -= region.topLeft();
    shifted.Draw(painter, {}, Qt::white);
    return mask;
}

const QImage& CaptionMask::Of(const TextPlacement& placement, QPoint& topLeft)
{
    const bool same = !FMask.isNull() && FText == placement.text && FFont == placement.font
        && FBaseline == placement.baseline && FEscapement == placement.escapement
        && FWarped == placement.warped
        && (!FWarped
            || (FWarpedLetters == placement.warpedLetters
                && FWarpedLines == placement.warpedLines));
    if (!same) {
        FText = placement.text;
        FFont = placement.font;
        FBaseline = placement.baseline;
        FEscapement = placement.escapement;
        FWarped = placement.warped;
        FWarpedLetters = placement.warpedLetters;
        FWarpedLines = placement.warpedLines;
        const QRect bounds = placement.Bounds({});
        FMask = Draw(placement, bounds);
        FTopLeft = bounds.topLeft() - placement.origin;
        ++FDraws;
    }
    topLeft = placement.origin + FTopLeft;
    return FMask;
}
