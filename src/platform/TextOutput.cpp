// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TextOutput.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace {

const QString kEllipsis = QStringLiteral("...");

struct TextLine
{
    QString text;
    int underlined = -1; // index into text, or -1
};

class Layout
{
public:
    Layout(const QFont& font, unsigned format)
        : FMetrics(font)
        , FFormat(format)
        , FTabWidth(8 * FMetrics.averageCharWidth())
    { }

    int Width(QStringView text) const
    {
        if (!(FFormat & DT_EXPANDTABS) || !text.contains(u'\t'))
            return FMetrics.horizontalAdvance(text.toString());
        int x = 0;
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = text.indexOf(u'\t', start);
            x += FMetrics.horizontalAdvance(text.mid(start, tab < 0 ? -1 : tab - start).toString());
            if (tab < 0)
                return x;
            x = FTabWidth > 0 ? (x / FTabWidth + 1) * FTabWidth : x;
            start = tab + 1;
        }
    }

    std::vector<TextLine> Lines(const QString& text, int maxWidth) const
    {
        int underlined = -1;
        const QString plain = (FFormat & DT_NOPREFIX) ? text : StripAccelerator(text, &underlined);
        std::vector<TextLine> lines;
        if (FFormat & DT_SINGLELINE) {
            QString single = plain;
            single.replace(u'\r', u' ').replace(u'\n', u' ');
            lines.push_back({single, underlined});
        } else {
            qsizetype start = 0;
            for (;;) {
                qsizetype end = plain.indexOf(u'\n', start);
                const qsizetype next = end < 0 ? -1 : end + 1;
                if (end < 0)
                    end = plain.size();
                qsizetype lineEnd = end;
                if (lineEnd > start && plain.at(lineEnd - 1) == u'\r')
                    --lineEnd;
                AppendParagraph(lines, plain, start, lineEnd, underlined, maxWidth);
                if (next < 0)
                    break;
                start = next;
            }
        }
        if (FFormat & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) {
            for (TextLine& line : lines)
                Shorten(line, maxWidth);
        }
        return lines;
    }

    const QFontMetrics& Metrics() const { return FMetrics; }

private:
    void AppendParagraph(std::vector<TextLine>& lines, const QString& text, qsizetype start,
                         qsizetype end, int underlined, int maxWidth) const
    {
        auto push = [&](qsizetype from, qsizetype to) {
            const int mark = (underlined >= from && underlined < to) ? int(underlined - from) : -1;
            lines.push_back({text.mid(from, to - from), mark});
        };
        if (!(FFormat & DT_WORDBREAK)
            || Width(QStringView(text).mid(start, end - start)) <= maxWidth) {
            push(start, end);
            return;
        }
        // Break at the platform's line-break opportunities (spaces, and between CJK characters).
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.mid(start, end - start));
        qsizetype lineStart = 0;
        qsizetype lastFit = -1;
        const qsizetype length = end - start;
        finder.setPosition(0);
        for (qsizetype pos = finder.toNextBoundary(); pos > 0; pos = finder.toNextBoundary()) {
            const QStringView candidate = QStringView(text).mid(start + lineStart, pos - lineStart);
            const bool fits = Width(TrimmedRight(candidate)) <= maxWidth;
            if (!fits && lastFit > lineStart) {
                push(start + lineStart, start + TrimEnd(text, start + lineStart, start + lastFit));
                lineStart = lastFit;
                lastFit = -1;
                const QStringView rest = QStringView(text).mid(start + lineStart, pos - lineStart);
                if (Width(TrimmedRight(rest)) <= maxWidth)
                    lastFit = pos;
                else if (pos < length) {
                    // A single word wider than the rectangle stays whole on its own line.
                    push(start + lineStart, start + TrimEnd(text, start + lineStart, start + pos));
                    lineStart = pos;
                }
            } else if (!fits) {
                push(start + lineStart, start + TrimEnd(text, start + lineStart, start + pos));
                lineStart = pos;
                lastFit = -1;
            } else {
                lastFit = pos;
            }
        }
        if (lineStart < length)
            push(start + lineStart, end);
    }

    static QStringView TrimmedRight(QStringView s)
    {
        while (!s.isEmpty() && s.back() == u' ')
            s.chop(1);
        return s;
    }

    static qsizetype TrimEnd(const QString& text, qsizetype from, qsizetype to)
    {
        while (to > from && text.at(to - 1) == u' ')
            --to;
        return to;
    }

    void Shorten(TextLine& line, int maxWidth) const
    {
        if (Width(line.text) <= maxWidth)
            return;
        line.underlined = -1;
        if (FFormat & DT_PATH_ELLIPSIS) {
            const qsizetype sep =
                std::max(line.text.lastIndexOf(u'\\'), line.text.lastIndexOf(u'/'));
            if (sep > 0) {
                const QString tail = line.text.mid(sep);
                QString head = line.text.left(sep);
                while (!head.isEmpty() && Width(QString(head + kEllipsis + tail)) > maxWidth)
                    head.chop(1);
                line.text = head + kEllipsis + tail;
                if (!head.isEmpty())
                    return;
            }
        }
        QString head = line.text;
        while (!head.isEmpty() && Width(QString(head + kEllipsis)) > maxWidth)
            head.chop(1);
        line.text = head + kEllipsis;
    }

    QFontMetrics FMetrics;
    unsigned FFormat;
    int FTabWidth;
};

void DrawLine(QPainter& painter, const Layout& layout, const QFont& font, const TextLine& line,
              int x, int baseline, unsigned format)
{
    auto drawSegment = [&](int& pos, const QString& segment, bool underline) {
        QFont f = font;
        if (underline)
            f.setUnderline(true);
        painter.setFont(f);
        painter.drawText(pos, baseline, segment);
        pos += layout.Width(segment);
    };
    auto drawPiece = [&](int& pos, const QString& piece, bool underline) {
        if (!(format & DT_EXPANDTABS)) {
            drawSegment(pos, piece, underline);
            return;
        }
        const QStringList parts = piece.split(u'\t');
        const int origin = x;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                const int advance = layout.Width(QStringLiteral("\t"));
                pos = advance > 0 ? origin + ((pos - origin) / advance + 1) * advance : pos;
            }
            drawSegment(pos, parts.at(i), underline);
        }
    };
    int pos = x;
    if (line.underlined < 0) {
        drawPiece(pos, line.text, false);
        return;
    }
    drawPiece(pos, line.text.left(line.underlined), false);
    drawPiece(pos, line.text.mid(line.underlined, 1), true);
    drawPiece(pos, line.text.mid(line.underlined + 1), false);
}

} // namespace

QString StripAccelerator(const QString& text, int* underlinedIndex)
{
    QString result;
    result.reserve(text.size());
    int underlined = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'&' && i + 1 < text.size()) {
            ++i;
            if (text.at(i) != u'&')
                underlined = int(result.size());
            result.append(text.at(i));
        } else if (c != u'&') {
            result.append(c);
        }
    }
    if (underlinedIndex)
        *underlinedIndex = underlined;
    return result;
}

QChar AcceleratorOf(const QString& caption)
{
    int index = -1;
    const QString plain = StripAccelerator(caption, &index);
    return index < 0 ? QChar() : plain.at(index).toLower();
}

int DrawText(QPainter* painter, const QFont& font, const QString& text, QRect& rect,
             unsigned format)
{
    const Layout layout(font, format);
    const int maxWidth = rect.width();
    const std::vector<TextLine> lines = layout.Lines(text, maxWidth);
    const int lineHeight = layout.Metrics().height();
    const int textHeight = lineHeight * int(lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, layout.Width(line.text));
        rect.setRight(rect.left() + widest - 1);
        rect.setBottom(rect.top() + textHeight - 1);
        return textHeight;
    }
    if (!painter)
        return textHeight;

    int y = rect.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.top() + (rect.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom() + 1 - lineHeight;
    }
    painter->save();
    if (!(format & DT_NOCLIP))
        painter->setClipRect(rect, Qt::IntersectClip);
    for (const TextLine& line : lines) {
        const int width = layout.Width(line.text);
        int x = rect.left();
        if (format & DT_CENTER)
            x = rect.left() + (rect.width() - width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right() + 1 - width;
        DrawLine(*painter, layout, font, line, x, y + layout.Metrics().ascent(), format);
        y += lineHeight;
    }
    painter->restore();
    return textHeight;
}
