// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <vector>

// One glyph of a laid-out line: its outline (QRawFont::pathForGlyph) carried into the line's
// frame by `at`.
struct PlacedGlyph
{
    QRawFont font;
    quint32 index = 0;
    QTransform at;

    QPainterPath Outline() const { return at.map(font.pathForGlyph(index)); }
    // The glyph's ink box in the line's frame.
    QRectF Box() const { return at.mapRect(font.boundingRect(index)); }
    // Its em box from the origin, which a glyph's ink seldom leaves by much: found without
    // loading the glyph.
    QRectF Cell() const
    {
        return at.mapRect(
            QRectF(0, -font.ascent(), font.pixelSize(), font.ascent() + font.descent()));
    }
};

// A line set top to bottom (縦書き), shaped by HarfBuzz: kana and kanji upright with the face's
// vertical advances, origins and forms (`vert`: the long vowel mark, brackets, small kana and
// punctuation); Latin words lie sideways, turned a quarter clockwise; a run of one or two
// letters, digits, ! or ? stands upright side by side in one cell (縦中横). A face without vertical
// forms sets its glyphs upright and centred, and turns its brackets and dashes. A character
// the face lacks comes from the face Qt would draw it in.
class VerticalText
{
public:
    // How a character stands in a vertical line.
    enum class Stance : std::uint8_t { Upright, Sideways, SideBySide };

    // A stretch of the line set one way, from one face: UTF-16 offsets into the text.
    struct Run
    {
        int from = 0;
        int length = 0;
        Stance stance = Stance::Upright;
    };

    struct Column
    {
        // The column's middle lies at x = 0, its top at y = 0.
        std::vector<PlacedGlyph> glyphs;
        // How far the pen went down: the sum of the advances.
        qreal length = 0;
        // The width of the column: the face's em.
        qreal width = 0;
        std::vector<Run> runs;
    };

    // The text as a column in `font` (its pixel size set). The font's absolute letter spacing
    // is added after every character.
    static Column Shape(const QString& text, const QFont& font);
    // The same in `face` (a face loaded from data, say) in place of the font's own.
    static Column Shape(const QString& text, const QFont& font, const QRawFont& face);

    // Whether `c` stands upright in a vertical line, as CJK characters do.
    static bool StandsUpright(char32_t c);

    // The glyph that HarfBuzz gives for `text` in `font` across (false) or down (true) the line;
    // 0 when the face has none. For tests and for the fallback of faces without vertical forms.
    static quint32 GlyphFor(const QRawFont& font, const QString& text, bool vertical);
};
