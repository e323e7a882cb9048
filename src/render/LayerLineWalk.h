// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LayerLine.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

// Paints the stacked layers of LayerCompositor line by line: every line of pixels parallel to
// the step that meets the work area is a LayerLine. Lines across rows are walked a bundle of
// neighbours at a time, a band of rows at a time, so that the mask and picture rows they read
// stay in the cache.
class LayerLineWalk
{
public:
    // As LayerCompositor::Composite() takes them, with `mask` one byte of coverage per pixel;
    // `step` has components -1, 0 or 1.
    LayerLineWalk(QImage& target, const QImage& mask, QPoint maskOrigin, QPoint step,
                  const TLayerColours& colours);

    // Paints every pixel of `work`, which lies inside the target.
    void Paint(const QRect& work);

private:
    // Where each line meets the work first, neighbours one after another, and how many of its
    // pixels lie in the work.
    struct TEntry
    {
        QPoint point;
        int length;
    };

    std::vector<TEntry> Entries(const QRect& work) const;
    void PaintBundle(const TEntry* entries, int count);
    // The coverage of `count` positions along the line whose position 0 is at `first` in
    // target coordinates, from position `from` on; false when none lies in the mask.
    bool GatherSamples(QPoint first, int from, int count);

    QImage& FTarget;
    const QImage& FMask;
    QPoint FMaskOrigin;
    QPoint FStep;
    TLayerColours FColours;
    std::vector<LayerLine> FLines; // a bundle
    std::vector<QPoint> FFirstPoints; // each line's position 0
    std::vector<std::uint8_t> FSamples; // one piece of one line
};
