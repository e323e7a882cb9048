// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextPlacement.h"

#include "render/TextBlock.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>

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

// How finely a warped caption's cell is cut when looking for the part that can show: enough
// that within one strip the bend is close to straight.
constexpr int kWarpStrips = 4096;

QChar::Direction DirectionAt(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::direction(QChar::surrogateToUcs4(c, text.at(i + 1)));
    if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
        return QChar::direction(QChar::surrogateToUcs4(text.at(i - 1), c));
    return c.direction();
}

bool RightToLeft(QChar::Direction d)
{
    return d == QChar::DirR || d == QChar::DirAL;
}

bool LeftToRight(QChar::Direction d)
{
    return d == QChar::DirL;
}

bool HasRightToLeft(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (RightToLeft(DirectionAt(text, i)))
            return true;
    }
    return false;
}

// Moves the cut [first, last) of a caption holding right-to-left text so that, laid out on its
// own in the line's direction, the part orders and places its letters as the whole caption
// does: it starts and ends on strong letters (neutral characters at its ends would take the
// line's direction), and a cut that holds both directions splits no run against the line's.
void KeepBidiOrder(const QString& text, bool rightToLeft, qsizetype& first, qsizetype& last)
{
    const qsizetype size = text.size();
    auto strong = [&](qsizetype i) {
        const QChar::Direction d = DirectionAt(text, i);
        return LeftToRight(d) || RightToLeft(d);
    };
    auto along = [&](qsizetype i) {
        const QChar::Direction d = DirectionAt(text, i);
        return rightToLeft ? RightToLeft(d) : LeftToRight(d);
    };
    // letters that join keep the shape they have in the whole word
    auto joined = [&](qsizetype i) {
        return DirectionAt(text, i - 1) == QChar::DirAL && DirectionAt(text, i) == QChar::DirAL;
    };
    while (first > 0 && (!strong(first) || joined(first)))
        --first;
    while (last < size && (last == 0 || !strong(last - 1) || joined(last)))
        ++last;
    bool left = false;
    bool right = false;
    for (qsizetype i = first; i < last && !(left && right); ++i) {
        left = left || LeftToRight(DirectionAt(text, i));
        right = right || RightToLeft(DirectionAt(text, i));
    }
    if (!left || !right)
        return;
    while (first > 0 && !along(first))
        --first;
    while (last < size && !along(last - 1))
        ++last;
}

// The span of the unbent cell [0, width] whose letters, bent, can reach `local` (the text's
// frame); empty when none can.
std::pair<qreal, qreal> WarpedSpan(const TextWarp& warp, qreal width, qreal height,
                                   const QRectF& local)
{
    const int strips = std::clamp(int(std::ceil(width)), 1, kWarpStrips);
    const qreal step = width / strips;
    qreal low = qInf();
    qreal high = -qInf();
    for (int i = 0; i < strips; ++i) {
        const qreal x0 = i * step;
        QPointF least(qInf(), qInf());
        QPointF most(-qInf(), -qInf());
        // The strip's sides and middle, from a cell's height above the cell to one below it.
        for (const qreal x : {x0, x0 + step / 2, x0 + step}) {
            for (const qreal y : {-height, height / 2, 2 * height}) {
                const QPointF p = warp.Map({x, y});
                least = {std::min(least.x(), p.x()), std::min(least.y(), p.y())};
                most = {std::max(most.x(), p.x()), std::max(most.y(), p.y())};
            }
        }
        const QRectF box = QRectF(least, most).adjusted(-step, -step, step, step);
        if (box.intersects(local)) {
            low = std::min(low, x0);
            high = std::max(high, x0 + step);
        }
    }
    return {low, high};
}

} // namespace

bool TextPlacement::LineRightToLeft(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar::Direction d = DirectionAt(text, i);
        if (LeftToRight(d) || RightToLeft(d))
            return RightToLeft(d);
    }
    return false;
}

QTransform TextPlacement::TransformAt(QPoint offset) const
{
    QTransform transform;
    transform.translate(origin.x() + offset.x(), origin.y() + offset.y());
    transform.rotate(-escapement);
    return transform;
}

bool TextPlacement::Block() const
{
    return TextBlock::Needed(tagline, vertical);
}

TextPlacement TextPlacement::Within(const QRect& reach, int spread) const
{
    TextPlacement part = *this;
    if (Block()) {
        part.SetBlock(reach, spread);
        return part;
    }
    if (text.size() > (warp ? kBentWhole : kDrawnWhole)) {
        const QFontMetricsF metrics(font);
        // room for letters that reach out of their cells (italics, wide marks) and for the
        // offsets
        const qreal margin = spread + 2 * (metrics.height() + metrics.maxWidth());
        const QRectF local = TransformAt({}).inverted().mapRect(QRectF(reach));
        qreal from = local.left() - margin;
        qreal to = local.right() + margin;
        if (warp) {
            const qreal width = std::max(warp->Frame().width(), metrics.horizontalAdvance(text));
            const auto [low, high] = WarpedSpan(*warp, width, metrics.height(),
                                                local.adjusted(-margin, -margin, margin, margin));
            from = low - margin;
            to = high + margin;
        } else if (local.bottom() + margin < 0 || local.top() - margin > metrics.height()) {
            from = to = qInf();
        }
        part.CutTo(from, to);
    }
    if (warp)
        part.Bend();
    return part;
}

void TextPlacement::CutTo(qreal from, qreal to)
{
    if (!(from <= to)) {
        text.clear();
        return;
    }
    // One layout of the whole caption, as a text draw shapes it: shaping looks for a face for
    // every character, so it is done once and the cuts read their places from it.
    QTextLayout layout(text, font);
    // A text draw takes its direction from the first strong letter.
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(LineRightToLeft(text) ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (to < 0 || from > line.naturalTextWidth()) {
        text.clear();
        return;
    }
    // within the line, as positions are kept in fixed point
    const int left = line.xToCursor(std::max(from, qreal(-1)));
    const int right = line.xToCursor(std::min(to, line.naturalTextWidth() + 1));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype first = BoundaryBefore(graphemes, std::min(left, right));
    qsizetype last = BoundaryAfter(graphemes, std::max(left, right), text.size());
    if (last <= first) {
        text.clear();
        return;
    }
    if (first == 0 && last == text.size())
        return;
    if (!HasRightToLeft(text)) {
        lead += line.cursorToX(int(first));
        text = text.mid(first, last - first);
        return;
    }
    const bool rightToLeft = LineRightToLeft(text);
    KeepBidiOrder(text, rightToLeft, first, last);
    first = BoundaryBefore(graphemes, first);
    last = BoundaryAfter(graphemes, last, text.size());
    // The part starts where its leftmost letter stands in the whole line, which in a
    // right-to-left run is its last; a mark of the line's direction lays the part out as the
    // line is.
    lead += std::min(line.cursorToX(int(first)), line.cursorToX(int(last)));
    text = QChar(rightToLeft ? 0x200F : 0x200E) + text.mid(first, last - first);
}

void TextPlacement::Bend()
{
    const TextWarp::Outline outline = TextWarp::TextOutline(text, font, baseline, lead);
    warped = true;
    warpedLetters = warp->MapPath(outline.letters);
    warpedLines = warp->MapPath(outline.lines);
}

void TextPlacement::SetBlock(const QRect& reach, int spread)
{
    const std::shared_ptr<const TextBlock> block =
        laidOut ? laidOut : TextBlock::Of(text, font, tagline, vertical);
    // A column bends as a line does: the warp's frame is the block turned a quarter
    // counter-clockwise, its top to the left and its right edge up.
    QTransform toLine;
    if (vertical && warp)
        toLine = QTransform(0, -1, 1, 0, 0, warp->Frame().height());
    const QTransform fromLine = toLine.inverted();
    std::function<bool(const QRectF&)> keep;
    if (block->Glyphs().size() > std::size_t(warp ? kBentWhole : kDrawnWhole)) {
        // room for the offsets, for ink beyond a glyph's em box and for what bends farther
        // than its corners
        const qreal margin = spread + 3 * QFontMetricsF(font).height();
        const QRectF local = TransformAt({})
                                 .inverted()
                                 .mapRect(QRectF(reach))
                                 .adjusted(-margin, -margin, margin, margin);
        keep = [&](const QRectF& box) {
            if (!warp)
                return box.intersects(local);
            QRectF bent;
            const QPointF points[] = {box.topLeft(), box.topRight(), box.bottomLeft(),
                                      box.bottomRight(), box.center()};
            for (const QPointF& point : points) {
                const QPointF p = fromLine.map(warp->Map(toLine.map(point)));
                bent = bent.isNull() ? QRectF(p, QSizeF(0, 0)) : bent.united(QRectF(p, p));
            }
            const qreal grow = std::max(box.width(), box.height());
            return bent.adjusted(-grow, -grow, grow, grow).intersects(local);
        };
    }
    warped = true;
    warpedLetters = block->Letters(keep);
    warpedLines = block->Lines();
    if (warp) {
        warpedLetters = fromLine.map(warp->MapPath(toLine.map(warpedLetters)));
        warpedLines = fromLine.map(warp->MapPath(toLine.map(warpedLines)));
    }
}

void TextPlacement::Draw(QPainter& painter, QPoint offset, const QColor& colour) const
{
    painter.setWorldTransform(TransformAt(offset));
    if (warped || warp || Block()) {
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
    if (warped || warp || Block()) {
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
    if (warped || warp || Block()) {
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
