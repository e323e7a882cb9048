// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLook.h"
#include "render/TextWarp.h"

#include <QFont>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QColor;
class QPainter;
class QTransform;
class TextBlock;

// Where and how a caption is drawn: the text cell's top-left corner in device pixels (the pivot
// of the rotation), the baseline below it and the rotation, shared by every layer of one paint.
// Offsets move a layer on the screen and do not turn with the text.
struct TextPlacement
{
    // Captions up to this length are drawn whole; a longer one only where it can show, since
    // every glyph drawn costs its rasterisation however far outside the picture it lies.
    static constexpr int kDrawnWhole = 1024;
    // Bending costs more than drawing: a warped caption longer than this bends only where it can
    // show.
    static constexpr int kBentWhole = 64;

    QString text;
    QFont font;
    int baseline = 0;
    int escapement = 0; // degrees, counter-clockwise
    QPoint origin;
    // Where `text` starts along the baseline from the cell's left edge, when it is a part cut
    // from a longer caption.
    qreal lead = 0;
    // The bend of a warped caption, in the text's frame. Its outline is made by Within, for the
    // part kept only, since bending and filling every letter of a long caption costs seconds.
    std::optional<TextWarp> warp;
    // A warped caption is filled from these outlines (in the text's frame, like the cell)
    // instead of drawn as text: the letters, and the underline or strike-out apart, because
    // filling them as one outline would cut holes where they overlap. Draw, Path and Bounds
    // show a warped caption only once Within has made them.
    bool warped = false;
    QPainterPath warpedLetters;
    QPainterPath warpedLines;
    // A caption with a tagline, or set top to bottom, is laid out as a TextBlock whose cell is
    // the text cell, and filled from its outlines as a warped one is; Within makes them. A
    // vertical block bends along its columns.
    LogoTagline tagline;
    bool vertical = false;
    // The block already laid out in `font`, or null to lay it out anew.
    std::shared_ptr<const TextBlock> laidOut;
    bool Block() const;

    bool operator==(const TextPlacement&) const = default;

    QTransform TransformAt(QPoint offset) const;

    // The part of the caption whose letters can reach `reach` (device pixels) when drawn moved
    // by offsets up to `spread` pixels, placed where the whole caption puts it, with the
    // outline of a warped part made. Cuts fall on grapheme boundaries and keep right-to-left
    // runs in their order. Captions of up to kDrawnWhole characters (kBentWhole when warped) are
    // kept whole.
    TextPlacement Within(const QRect& reach, int spread) const;

    // One text draw of the caption in `colour`, moved by `offset`.
    void Draw(QPainter& painter, QPoint offset, const QColor& colour) const;

    // The outline of the letters (with their underline or strike-out, where Draw puts them) in
    // device coordinates.
    QPainterPath Path(QPoint offset) const;

    // The underline and strike-out of `font` as a text draw paints them for a run of `width`
    // pixels from `x` along `baseline`, in the text's frame: a pen of the font's line width
    // (at least a pixel) centred half a pixel below the whole pixel under the underline position,
    // or a third of the ascent above the baseline, from floor(x) to floor(x + width). The pen
    // paints without smoothing the pixels whose centres it covers: when the text is turned by a
    // multiple of 90 degrees the lines are those whole pixels, else the pen's own rectangles.
    static QPainterPath Lines(const QFont& font, qreal x, qreal width, qreal baseline,
                              int escapement = 0);

    // Whether a text draw lays a line of `text` out right to left: its first strong letter is.
    static bool LineRightToLeft(const QString& text);

    // The letters' extent in device coordinates, generously rounded out.
    QRect Bounds(QPoint offset) const;

private:
    // Keeps the graphemes between `from` and `to` along the baseline (the cell's frame).
    void CutTo(qreal from, qreal to);
    // Makes the bent outline of the text kept.
    void Bend();
    // Makes the outline of the block's glyphs that can reach `reach` moved by up to `spread`.
    void SetBlock(const QRect& reach, int spread);
};
