// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextPlacement.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// The grapheme boundary at or before `position`.
qsizetype BoundaryBefore(QTextBoundaryFinder& graphemes, qsizetype position)
{
    graphemes.setPosition(position);
    if (graphemes.isAtBoundary())
        return position;
    return std::max<qsizetype>(0, graphemes.toPreviousBoundary());
}

// The grapheme boundary at or after `position`.
qsizetype BoundaryAfter(QTextBoundaryFinder& graphemes, qsizetype position, qsizetype end)
{
    graphemes.setPosition(position);
    if (graphemes.isAtBoundary())
        return position;
    const qsizetype next = graphemes.toNextBoundary();
    return next < 0 ? end : next;
}

} // namespace

QTransform TextPlacement::TransformAt(QPoint offset) const
{
    QTransform transform;
    transform.translate(origin.x() + offset.x(), origin.y() + offset.y());
    transform.rotate(-escapement);
    return transform;
}

TextPlacement TextPlacement::Within(const QRect& reach, int spread) const
{
    // a warped caption is one bent outline, filled whole
    if (warped || text.size() <= kDrawnWhole)
        return *this;
    const QFontMetricsF metrics(font);
    // room for letters that reach out of their cells (italics, wide marks) and for the offsets
    const qreal margin = spread + 2 * (metrics.height() + metrics.maxWidth());
    const QRectF local = TransformAt({}).inverted().mapRect(QRectF(reach));
    TextPlacement part = *this;
    if (local.bottom() + margin < 0 || local.top() - margin > metrics.height()) {
        part.text.clear();
        return part;
    }
    // One layout of the whole caption, as a text draw shapes it: shaping looks for a face for
    // every character, so it is done once and the cuts read their places from it.
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const int left = line.xToCursor(local.left() - margin);
    const int right = line.xToCursor(local.right() + margin);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const qsizetype first = BoundaryBefore(graphemes, std::min(left, right));
    const qsizetype last = BoundaryAfter(graphemes, std::max(left, right), text.size());
    if (last <= first) {
        part.text.clear();
        return part;
    }
    part.lead = lead + line.cursorToX(int(first));
    part.text = text.mid(first, last - first);
    return part;
}

void TextPlacement::Draw(QPainter& painter, QPoint offset, const QColor& colour) const
{
    painter.setWorldTransform(TransformAt(offset));
    if (warped) {
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(warpedLetters, colour);
        painter.fillPath(warpedLines, colour);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        return;
    }
    painter.setPen(colour);
    painter.drawText(QPointF(lead, baseline), text);
}

QPainterPath TextPlacement::Path(QPoint offset) const
{
    QPainterPath path;
    if (warped) {
        path = warpedLetters;
        path.addPath(warpedLines);
    } else {
        // A path's own lines lie lower than and can be thicker than the text draw's.
        QFont plain = font;
        plain.setUnderline(false);
        plain.setStrikeOut(false);
        path.addText(QPointF(lead, baseline), plain, text);
        if (font.underline() || font.strikeOut())
            path.addPath(Lines(font, lead, QFontMetricsF(font).horizontalAdvance(text), baseline,
                               escapement));
    }
    return TransformAt(offset).map(path);
}

QPainterPath TextPlacement::Lines(const QFont& font, qreal x, qreal width, qreal baseline,
                                  int escapement)
{
    const QFontMetricsF metrics(font);
    const qreal pen = std::max(metrics.lineWidth(), qreal(1));
    const bool onGrid = escapement % 90 == 0;
    const qreal left = std::floor(x);
    const qreal right = std::floor(x + width);
    QPainterPath lines;
    auto add = [&](qreal centre) {
        qreal top = centre - pen / 2;
        qreal bottom = centre + pen / 2;
        if (onGrid) {
            // the rows whose centres the pen covers, one at least
            top = std::ceil(top - 0.5);
            bottom = std::max(std::ceil(bottom - 0.5), top + 1);
        }
        lines.addRect(QRectF(left, top, right - left, bottom - top));
    };
    if (font.underline())
        add(baseline + std::ceil(metrics.underlinePos()) + 0.5);
    if (font.strikeOut())
        add(baseline - metrics.ascent() / 3);
    return lines;
}

QRect TextPlacement::Bounds(QPoint offset) const
{
    if (warped) {
        const QRectF ink = warpedLetters.boundingRect().united(warpedLines.boundingRect());
        return TransformAt(offset).mapRect(ink).toAlignedRect().adjusted(-2, -2, 2, 2);
    }
    const QFontMetrics metrics(font);
    const QRect cell(0, 0, metrics.horizontalAdvance(text), metrics.height());
    QRect ink = metrics.boundingRect(text).translated(0, baseline).united(cell);
    ink.adjust(-2, -2, 2, 2);
    // a part of a longer caption starts part way along; one more pixel covers the fraction
    if (lead != 0) {
        ink.translate(int(std::floor(lead)), 0);
        ink.adjust(0, 0, 1, 0);
    }
    return TransformAt(offset).mapRect(QRectF(ink)).toAlignedRect().adjusted(-1, -1, 1, 1);
}
