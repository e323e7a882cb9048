// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLook.h"
#include "render/VerticalText.h"

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A caption set with its tagline, or top to bottom: both lines as glyphs placed in the text
// cell's frame, filled from their outlines as a warped caption is. Across, the tagline lies
// under or above the caption, aligned to its left, centre or right, its gap a share of its own
// size. Down (縦書き), each line is a column and the lines run right to left: the tagline lies
// to the caption's left (under) or right (above), aligned to its top, middle or bottom.
class TextBlock
{
public:
    // Whether a caption needs setting as a block rather than drawn as one line of text.
    static bool Needed(const LogoTagline& tagline, bool vertical)
    {
        return vertical || !tagline.text.isEmpty();
    }

    // The frame a warp bends for a cell of `size`: down, the cell turned a quarter, so that
    // the warp bends the columns along their length.
    static QRectF WarpFrame(QSizeF size, bool vertical)
    {
        return {QPointF(), vertical ? size.transposed() : size};
    }

    // The face of the tagline: the caption's at its share of the size, spacing scaled alike.
    static QFont TaglineFont(const QFont& font, int percent);

    TextBlock(const QString& caption, const QFont& font, const LogoTagline& tagline, bool vertical);

    // The same block, kept from the last one laid out on this thread when it was of the same
    // lines: the preview repaints one caption over and over, and a long one takes tens of
    // milliseconds to shape.
    static std::shared_ptr<const TextBlock> Of(const QString& caption, const QFont& font,
                                               const LogoTagline& tagline, bool vertical);

    // The cell: the lines' advance boxes joined.
    QSizeF Size() const { return FSize; }
    // The caption's baseline below the cell's top; down, the middle of its column from the
    // cell's right edge.
    qreal Baseline() const { return FBaseline; }
    bool Vertical() const { return FVertical; }

    const std::vector<PlacedGlyph>& Glyphs() const { return FGlyphs; }
    // The outline of the glyphs whose em box (PlacedGlyph::Cell) `keep` accepts (all without
    // it); glyph outlines fill by the non-zero rule.
    QPainterPath Letters(const std::function<bool(const QRectF&)>& keep = {}) const;
    // The underlines or strike-outs of both lines: beside a column, on its right.
    const QPainterPath& Lines() const { return FLines; }

private:
    void SetAcross(const QString& caption, const QFont& font, const LogoTagline& tagline);
    void SetDown(const QString& caption, const QFont& font, const LogoTagline& tagline);
    // One line across, its pen's origin at (x, baseline).
    void AddLine(const QString& text, const QFont& font, qreal x, qreal baseline);

    bool FVertical = false;
    QSizeF FSize;
    qreal FBaseline = 0;
    std::vector<PlacedGlyph> FGlyphs;
    QPainterPath FLines;
};
