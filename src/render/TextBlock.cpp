// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextBlock.h"

#include "render/TextPlacement.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Where a line of `length` starts along `room` for an alignment.
qreal Aligned(TLogoTaglineAlign align, qreal room, qreal length)
{
    switch (align) {
    case TLogoTaglineAlign::Left:
        return 0;
    case TLogoTaglineAlign::Centre:
        return (room - length) / 2;
    case TLogoTaglineAlign::Right:
        return room - length;
    }
    return 0;
}

qreal Em(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontMetricsF(font).height();
}

} // namespace

QFont TextBlock::TaglineFont(const QFont& font, int percent)
{
    QFont tagline = font;
    const qreal share = std::clamp(percent, 1, 100) / 100.0;
    if (font.pixelSize() > 0)
        tagline.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * share))));
    else
        tagline.setPointSizeF(std::max(1.0, font.pointSizeF() * share));
    if (font.letterSpacingType() == QFont::AbsoluteSpacing)
        tagline.setLetterSpacing(QFont::AbsoluteSpacing, font.letterSpacing() * share);
    return tagline;
}

TextBlock::TextBlock(const QString& caption, const QFont& font, const LogoTagline& tagline,
                     bool vertical)
    : FVertical(vertical)
{
    if (vertical)
        SetDown(caption, font, tagline);
    else
        SetAcross(caption, font, tagline);
}

std::shared_ptr<const TextBlock> TextBlock::Of(const QString& caption, const QFont& font,
                                               const LogoTagline& tagline, bool vertical)
{
    // Glyphs belong to the thread whose fonts made them, so each thread keeps its own.
    struct Kept
    {
        QString caption;
        QFont font;
        LogoTagline tagline;
        bool vertical = false;
        std::shared_ptr<const TextBlock> block;
    };
    thread_local Kept kept;
    if (!kept.block || kept.caption != caption || kept.font != font || kept.tagline != tagline
        || kept.vertical != vertical || kept.font.letterSpacing() != font.letterSpacing()) {
        kept.block.reset();
        kept.block = std::make_shared<const TextBlock>(caption, font, tagline, vertical);
        kept.caption = caption;
        kept.font = font;
        kept.tagline = tagline;
        kept.vertical = vertical;
    }
    return kept.block;
}

void TextBlock::AddLine(const QString& text, const QFont& font, qreal x, qreal baseline)
{
    if (text.isEmpty())
        return;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(TextPlacement::LineRightToLeft(text) ? Qt::RightToLeft
                                                                 : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // a right-to-left line is aligned to the right of the layout; its letters start at x
    const QPointF at(x - line.naturalTextRect().left(), baseline - line.ascent());
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < indexes.size(); ++g) {
            QTransform place;
            place.translate(at.x() + positions[g].x(), at.y() + positions[g].y());
            FGlyphs.push_back({run.rawFont(), indexes[g], place});
        }
    }
    // where a text draw puts its lines: the underline centred half a pixel below the whole pixel
    // under its position, the strike-out a third of the ascent above the baseline
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal thickness = std::max(metrics.lineWidth(), qreal(1));
    if (font.underline())
        FLines.addRect(x, baseline + std::ceil(metrics.underlinePos()) + 0.5 - thickness / 2, width,
                       thickness);
    if (font.strikeOut())
        FLines.addRect(x, baseline - metrics.ascent() / 3 - thickness / 2, width, thickness);
}

void TextBlock::SetAcross(const QString& caption, const QFont& font, const LogoTagline& tagline)
{
    const QFontMetricsF main(font);
    const qreal mainWidth = main.horizontalAdvance(caption);
    if (tagline.text.isEmpty()) {
        FSize = {mainWidth, main.height()};
        FBaseline = main.ascent();
        AddLine(caption, font, 0, FBaseline);
        return;
    }
    const QFont small = TaglineFont(font, tagline.size);
    const QFontMetricsF second(small);
    const qreal secondWidth = second.horizontalAdvance(tagline.text);
    const qreal gap = Em(small) * std::clamp(tagline.gap, 0, 100) / 100.0;
    const qreal width = std::max(mainWidth, secondWidth);
    FSize = {width, main.height() + gap + second.height()};
    const bool under = tagline.place == TLogoTaglinePlace::Under;
    FBaseline = (under ? 0 : second.height() + gap) + main.ascent();
    const qreal secondBaseline = (under ? main.height() + gap : 0) + second.ascent();
    AddLine(caption, font, Aligned(tagline.align, width, mainWidth), FBaseline);
    AddLine(tagline.text, small, Aligned(tagline.align, width, secondWidth), secondBaseline);
}

void TextBlock::SetDown(const QString& caption, const QFont& font, const LogoTagline& tagline)
{
    VerticalText::Column columns[2];
    columns[0] = VerticalText::Shape(caption, font);
    const bool second = !tagline.text.isEmpty();
    const QFont small = TaglineFont(font, tagline.size);
    if (second)
        columns[1] = VerticalText::Shape(tagline.text, small);
    const qreal mainWidth = std::max(columns[0].width, Em(font));
    const qreal secondWidth = second ? std::max(columns[1].width, Em(small)) : 0;
    const qreal gap = second ? Em(small) * std::clamp(tagline.gap, 0, 100) / 100.0 : 0;
    const qreal width = mainWidth + gap + secondWidth;
    const qreal height = std::max(columns[0].length, columns[1].length);
    FGlyphs.reserve(columns[0].glyphs.size() + columns[1].glyphs.size());
    FSize = {width, height};
    // lines run right to left: a tagline under the caption follows it, on its left
    const bool under = tagline.place == TLogoTaglinePlace::Under;
    const qreal mainMiddle = under ? width - mainWidth / 2 : mainWidth / 2;
    const qreal secondMiddle = under ? secondWidth / 2 : width - secondWidth / 2;
    FBaseline = width - mainMiddle;
    auto place = [&](VerticalText::Column& column, const QFont& face, qreal middle) {
        const qreal top = Aligned(tagline.align, height, column.length);
        const QTransform move = QTransform::fromTranslate(middle, top);
        for (PlacedGlyph& glyph : column.glyphs) {
            glyph.at *= move;
            FGlyphs.push_back(std::move(glyph));
        }
        // 傍線 on the column's right, the strike-out down its middle
        const QFontMetricsF metrics(face);
        const qreal thickness = std::max(metrics.lineWidth(), qreal(1));
        const qreal em = std::max(column.width, Em(face));
        if (face.underline())
            FLines.addRect(middle + em / 2 + std::max(metrics.underlinePos(), thickness), top,
                           thickness, column.length);
        if (face.strikeOut())
            FLines.addRect(middle - thickness / 2, top, thickness, column.length);
    };
    place(columns[0], font, mainMiddle);
    if (second)
        place(columns[1], small, secondMiddle);
}

QPainterPath TextBlock::Letters(const std::function<bool(const QRectF&)>& keep) const
{
    QPainterPath letters;
    letters.setFillRule(Qt::WindingFill);
    for (const PlacedGlyph& glyph : FGlyphs) {
        if (!keep || keep(glyph.Cell()))
            letters.addPath(glyph.Outline());
    }
    return letters;
}
