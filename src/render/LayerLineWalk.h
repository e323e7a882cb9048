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
// stay in the cache. The lines are independent of each other, so groups of neighbouring lines may
// be painted on several threads and give the same bytes.
class LayerLineWalk
{
public:
    // As LayerCompositor::Composite() takes them: `target` Format_RGB32 or
    // Format_ARGB32_Premultiplied, `mask` one byte of coverage per pixel (Format_Alpha8 or
    // Format_Grayscale8), `step` not null with components -1, 0 or 1 (asserted).
    LayerLineWalk(QImage& target, const QImage& mask, QPoint maskOrigin, QPoint step,
                  const TLayerColours& colours);

    // Paints every pixel of `work`, which lies inside the target (asserted), on up to `threads`
    // threads.
    void Paint(const QRect& work, int threads = 1);

private:
    // Where each line meets the work first, neighbours one after another, and how many of its
    // pixels lie in the work.
    struct TEntry
    {
        QPoint point;
        int length;
    };

    // What one thread walks with.
    struct TScratch
    {
        std::vector<LayerLine> lines; // a bundle
        std::vector<QPoint> firstPoints; // each line's position 0
        std::vector<std::uint8_t> samples; // one piece of one line
    };

    std::vector<TEntry> Entries(const QRect& work) const;
    void PaintBundle(TScratch& scratch, const TEntry* entries, int count) const;
    // The coverage of `band` positions from `from` on of `count` lines side by side along a row,
    // the first at `first` at position 0, line after line; false when none lies in the mask.
    bool GatherTile(TScratch& scratch, QPoint first, int from, int band, int count) const;
    // The coverage of `count` positions along the line whose position 0 is at `first` in
    // target coordinates, from position `from` on; false when none lies in the mask.
    bool GatherSamples(std::vector<std::uint8_t>& samples, QPoint first, int from, int count) const;

    // The target's words, taken once: threads must not detach the picture.
    std::uint32_t* FPixels;
    std::ptrdiff_t FWordsPerLine;
    const QImage& FMask;
    QPoint FMaskOrigin;
    QPoint FStep;
    TLayerColours FColours;
    QRect FTargetRect;
};
