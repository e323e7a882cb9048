// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/CaptionMask.h"

#include "render/TextPlacement.h"

#include <QPainter>

#include <cstdint>

namespace {

// Up to this many pixels the caption is drawn in RGB32 and packed to bytes: the raster engine
// draws cached glyphs into RGB32 fastest. Larger captions are drawn as paths, which it fills
// faster straight into bytes, and the whole caption in RGB32 would take four times the memory.
constexpr qint64 kPackedLimit = 2 * 1024 * 1024;

void DrawWhite(QImage& target, const TextPlacement& placement, QPoint regionTopLeft)
{
    QPainter painter(&target);
    painter.setFont(placement.font);
    // An integer shift keeps the rasterised coverage identical to a draw in place.
    TextPlacement shifted = placement;
    shifted.origin -= regionTopLeft;
    shifted.Draw(painter, {}, Qt::white);
}

// White on black: every channel holds the coverage; the low byte is blue.
QImage Packed(const QImage& drawn)
{
    QImage coverage(drawn.size(), QImage::Format_Alpha8);
    const int width = drawn.width();
    const int height = drawn.height();
    for (int y = 0; y < height; ++y) {
        const auto* words = reinterpret_cast<const std::uint32_t*>(drawn.constScanLine(y));
        std::uint8_t* bytes = coverage.scanLine(y);
        for (int x = 0; x < width; ++x)
            bytes[x] = std::uint8_t(words[x]);
    }
    return coverage;
}

} // namespace

QImage CaptionMask::Draw(const TextPlacement& placement, const QRect& region)
{
    if (region.isEmpty())
        return {};
    if (qint64(region.width()) * region.height() > kPackedLimit) {
        QImage coverage(region.size(), QImage::Format_Alpha8);
        coverage.fill(0);
        DrawWhite(coverage, placement, region.topLeft());
        return coverage;
    }
    QImage drawn(region.size(), QImage::Format_RGB32);
    drawn.fill(Qt::black);
    DrawWhite(drawn, placement, region.topLeft());
    return Packed(drawn);
}

bool CaptionMask::Keep(const TextPlacement& placement)
{
    // A whole pixel's move draws the same coverage moved; any other change is another caption.
    TextPlacement key = placement;
    key.origin = {};
    if (FKey && *FKey == key)
        return true;
    FKey = std::move(key);
    FMask = QImage();
    FOutline = QPainterPath();
    FLetters = QImage();
    return false;
}

const QImage& CaptionMask::Of(const TextPlacement& placement, const QRect& reach, QPoint& topLeft)
{
    const QRect wanted = placement.Bounds({}).intersected(reach);
    if (!Keep(placement) || FMask.isNull()
        || !FCovered.contains(wanted.translated(-placement.origin))) {
        // all of the caption that the reach meets, and no more
        FMask = Draw(placement, wanted);
        FTopLeft = wanted.topLeft() - placement.origin;
        FCovered = reach.translated(-placement.origin);
        ++FDraws;
    }
    topLeft = placement.origin + FTopLeft;
    return FMask;
}

const QPainterPath& CaptionMask::Outline(const TextPlacement& placement)
{
    // Made anew for another origin rather than moved, so that it is the path exactly.
    if (!Keep(placement) || FOutline.isEmpty() || FOutlineOrigin != placement.origin) {
        FOutline = placement.Path({});
        FOutlineOrigin = placement.origin;
    }
    return FOutline;
}

const QImage& CaptionMask::Letters(const TextPlacement& placement, QPoint offset, QPoint& topLeft)
{
    if (!Keep(placement) || FLetters.isNull() || FLettersAt != placement.origin + offset) {
        QPainterPath letters = placement.Path(offset);
        letters.setFillRule(Qt::OddEvenFill);
        const QRect bounds = letters.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        FLetters = QImage(bounds.size().expandedTo(QSize(1, 1)), QImage::Format_Alpha8);
        FLetters.fill(0);
        QPainter painter(&FLetters);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-bounds.topLeft());
        painter.fillPath(letters, Qt::white);
        FLettersAt = placement.origin + offset;
        FLettersTopLeft = bounds.topLeft();
    }
    topLeft = FLettersTopLeft;
    return FLetters;
}
