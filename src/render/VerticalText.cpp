// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/VerticalText.h"

#include <QHash>
#include <QSet>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <hb.h>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The tables shaping reads, the outlines' among them: without VORG a glyph's vertical origin
// comes from its extents.
constexpr const char* kTables[] = {
    "cmap", "head", "hhea", "hmtx", "maxp", "OS/2", "post", "GSUB", "GPOS", "GDEF",
    "vhea", "vmtx", "VORG", "glyf", "loca", "CFF ", "CFF2", "kern", "BASE", "JSTF",
};

// A HarfBuzz face and font over the tables of one face, copied once: QRawFont belongs to its
// thread, so the tables are read where the face is first met and HarfBuzz reads only the copies.
struct Face
{
    std::map<hb_tag_t, QByteArray> tables;
    hb_face_t* face = nullptr;
    hb_font_t* font = nullptr;
    unsigned upem = 1000;

    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face()
    {
        hb_font_destroy(font);
        hb_face_destroy(face);
    }
};

hb_blob_t* Table(hb_face_t*, hb_tag_t tag, void* data)
{
    const auto* face = static_cast<const Face*>(data);
    const auto found = face->tables.find(tag);
    if (found == face->tables.end())
        return nullptr;
    return hb_blob_create(found->second.constData(), unsigned(found->second.size()),
                          HB_MEMORY_MODE_READONLY, nullptr, nullptr);
}

// The shaping face of `raw`, made once per face for the program's life.
const Face& FaceOf(const QRawFont& raw)
{
    static std::mutex lock;
    static std::map<QByteArray, std::unique_ptr<Face>> faces;
    // The header holds the font's checksum and dates and the names tell apart the faces of a
    // collection; a fallback engine may have no family name to ask for.
    const QByteArray key = raw.fontTable("head").toHex() + '\n'
        + QByteArray::number(qHash(raw.fontTable("name"))) + '\n' + QByteArray::number(raw.weight())
        + '\n' + QByteArray::number(int(raw.style()));
    const std::lock_guard guard(lock);
    std::unique_ptr<Face>& face = faces[key];
    if (face)
        return *face;
    face = std::make_unique<Face>();
    for (const char* name : kTables) {
        const QByteArray bytes = raw.fontTable(name);
        if (!bytes.isEmpty())
            face->tables[HB_TAG(name[0], name[1], name[2], name[3])] = bytes;
    }
    face->face = hb_face_create_for_tables(Table, face.get(), nullptr);
    face->upem = std::max(1u, hb_face_get_upem(face->face));
    face->font = hb_font_create(face->face);
    hb_font_make_immutable(face->font);
    return *face;
}

char32_t CodePointAt(const QString& text, int i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    return c.unicode();
}

// Brackets, dashes and the like that a face without vertical forms turns a quarter, so they open
// downward and run along the line.
bool TurnsWithoutVerticalForm(char32_t c)
{
    switch (c) {
    case U'ー':
    case U'―':
    case U'—':
    case U'‥':
    case U'…':
    case U'～':
    case U'〜':
    case U'＝':
    case U'－':
    case U'：':
    case U'；':
        return true;
    default:
        // the CJK brackets 〈 to 】 and 〔 to 〛, and the fullwidth ones
        return (c >= U'〈' && c <= U'】') || (c >= U'〔' && c <= U'〛') || c == U'（' || c == U'）'
            || c == U'［' || c == U'］' || c == U'｛' || c == U'｝' || c == U'｟' || c == U'｠'
            || c == U'｢' || c == U'｣';
    }
}

// A letter or digit that stands side by side with one more in a cell, not sideways; so do
// "!?" and "!!".
bool SideBySideLetter(char32_t c)
{
    return c < 0x250 && (QChar::isLetterOrNumber(c) || c == U'!' || c == U'?');
}

struct Shaped
{
    hb_buffer_t* buffer = hb_buffer_create();
    ~Shaped() { hb_buffer_destroy(buffer); }
    Shaped() = default;
    Shaped(const Shaped&) = delete;
    Shaped& operator=(const Shaped&) = delete;
};

// Shapes text[from, from + length) in its context, down the line or across it.
void ShapeRun(Shaped& shaped, const Face& face, const QString& text, int from, int length,
              bool vertical)
{
    hb_buffer_t* buffer = shaped.buffer;
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), int(text.size()),
                        unsigned(from), length);
    if (vertical)
        hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_buffer_guess_segment_properties(buffer);
    const hb_feature_t features[] = {{HB_TAG('v', 'e', 'r', 't'), 1, 0, ~0u}};
    hb_shape(face.font, buffer, features, vertical ? 1 : 0);
}

} // namespace

bool VerticalText::StandsUpright(char32_t c)
{
    // Signs that stand in any line: § © ® ° ± ¼ ½ ¾ × ÷
    if (c == 0xA7 || c == 0xA9 || c == 0xAE || c == 0xB0 || c == 0xB1 || (c >= 0xBC && c <= 0xBE)
        || c == 0xD7 || c == 0xF7)
        return true;
    return (c >= 0x1100 && c <= 0x11FF) // Hangul jamo
        || (c >= 0x2150 && c <= 0x218F) // number forms
        || (c >= 0x2460 && c <= 0x24FF) // enclosed letters and numbers
        || (c >= 0x25A0 && c <= 0x27BF) // shapes, symbols, dingbats
        || (c >= 0x2E80 && c <= 0xA4CF) // CJK, kana, Yi
        || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF) // Hangul
        || (c >= 0xE000 && c <= 0xFAFF) // private use, CJK compatibility
        || (c >= 0xFE10 && c <= 0xFE1F) || (c >= 0xFE30 && c <= 0xFE4F) // vertical forms
        || (c >= 0xFF01 && c <= 0xFFEF) // fullwidth and halfwidth forms
        || (c >= 0x1F000 && c <= 0x1FAFF) // emoji and game symbols
        || c >= 0x20000; // CJK extensions
}

quint32 VerticalText::GlyphFor(const QRawFont& font, const QString& text, bool vertical)
{
    const Face& face = FaceOf(font);
    Shaped shaped;
    ShapeRun(shaped, face, text, 0, int(text.size()), vertical);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(shaped.buffer, &count);
    return count > 0 ? info[0].codepoint : 0;
}

VerticalText::Column VerticalText::Shape(const QString& text, const QFont& font)
{
    return Shape(text, font, QRawFont::fromFont(font));
}

VerticalText::Column VerticalText::Shape(const QString& text, const QFont& font,
                                         const QRawFont& main)
{
    Column column;
    if (!main.isValid() || text.isEmpty())
        return column;
    column.width = main.pixelSize();
    const qreal spacing =
        font.letterSpacingType() == QFont::AbsoluteSpacing ? font.letterSpacing() : 0;

    // The face of each character: the font's, or the one Qt falls back on for it. Qt falls back
    // on a face per script, so the face found for a script's first missing character is tried
    // first for the others, and a script for whose first one no face was found has none: a long
    // line of many letters looks for few faces.
    QHash<char32_t, QRawFont> fallbacks;
    QHash<int, QRawFont> scripts;
    QSet<int> faceless;
    auto faceFor = [&](char32_t c) {
        if (c < 0x20 || main.supportsCharacter(c))
            return main;
        const auto script = int(QChar::script(c));
        const auto usual = scripts.constFind(script);
        if (usual != scripts.cend() && (faceless.contains(script) || usual->supportsCharacter(c)))
            return *usual;
        const auto found = fallbacks.constFind(c);
        if (found != fallbacks.cend())
            return *found;
        QRawFont raw = main;
        QTextLayout layout(QString::fromUcs4(&c, 1), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (!runs.isEmpty() && runs.first().rawFont().isValid())
            raw = runs.first().rawFont();
        fallbacks.insert(c, raw);
        if (usual == scripts.cend()) {
            scripts.insert(script, raw);
            if (!raw.supportsCharacter(c))
                faceless.insert(script);
        }
        return raw;
    };

    // Runs of one stance and one face.
    struct Piece
    {
        Run run;
        QRawFont face;
    };
    std::vector<Piece> pieces;
    for (int i = 0; i < text.size();) {
        const char32_t c = CodePointAt(text, i);
        const int width = c > 0xFFFF ? 2 : 1;
        // marks and joiners go with the character before them
        const bool attached = i > 0
            && (QChar::category(c) == QChar::Mark_NonSpacing
                || QChar::category(c) == QChar::Mark_Enclosing || c == 0x200D || c == 0xFE0F);
        const Stance stance = StandsUpright(c) ? Stance::Upright : Stance::Sideways;
        const QRawFont face = faceFor(c);
        if (!pieces.empty()
            && (attached || (pieces.back().run.stance == stance && pieces.back().face == face))) {
            pieces.back().run.length += width;
        } else {
            pieces.push_back({{i, width, stance}, face});
        }
        i += width;
    }
    // One or two letters or digits between upright characters stand side by side.
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        Run& run = pieces[p].run;
        if (run.stance != Stance::Sideways || run.length > 2)
            continue;
        const bool letters =
            std::all_of(text.begin() + run.from, text.begin() + run.from + run.length,
                        [](QChar c) { return SideBySideLetter(c.unicode()); });
        const bool alone = (p == 0 || pieces[p - 1].run.stance != Stance::Sideways)
            && (p + 1 == pieces.size() || pieces[p + 1].run.stance != Stance::Sideways);
        if (letters && alone)
            run.stance = Stance::SideBySide;
    }

    // the shaping face of each font met, asked for once
    std::vector<std::pair<QRawFont, const Face*>> shapers;
    auto shaperOf = [&](const QRawFont& raw) -> const Face& {
        for (const auto& [known, face] : shapers) {
            if (known == raw)
                return *face;
        }
        shapers.emplace_back(raw, &FaceOf(raw));
        return *shapers.back().second;
    };
    Shaped shaped;
    column.glyphs.reserve(std::size_t(text.size()));
    qreal pen = 0;
    for (const Piece& piece : pieces) {
        const Run& run = piece.run;
        column.runs.push_back(run);
        const Face& face = shaperOf(piece.face);
        const qreal k = piece.face.pixelSize() / face.upem;
        const qreal ascent = piece.face.ascent();
        const qreal descent = piece.face.descent();
        const bool down = run.stance == Stance::Upright;
        ShapeRun(shaped, face, text, run.from, run.length, down);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(shaped.buffer, &count);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(shaped.buffer, nullptr);

        if (run.stance == Stance::Upright) {
            for (unsigned g = 0; g < count; ++g) {
                const qreal advance = -position[g].y_advance * k;
                QTransform at;
                const char32_t c = CodePointAt(text, int(info[g].cluster));
                hb_codepoint_t nominal = 0;
                const bool horizontal = hb_font_get_nominal_glyph(face.font, c, &nominal)
                    && nominal == info[g].codepoint;
                if (horizontal && (c == U'、' || c == U'。' || c == U'，' || c == U'．')) {
                    // no vertical form: the mark moved from the lower left of its em box,
                    // centred on the column, to the upper right of the cell
                    at.translate(0, pen + ascent - advance / 2);
                } else if (horizontal && TurnsWithoutVerticalForm(c)) {
                    // the face has no vertical form: the horizontal one turned about its cell
                    const qreal across = hb_font_get_glyph_h_advance(face.font, nominal) * k;
                    at.translate(0, pen + advance / 2);
                    at.rotate(90);
                    at.translate(-across / 2, (ascent - descent) / 2);
                    // the ink across the middle of the column, as a vertical form has it
                    const QRectF ink = at.mapRect(piece.face.boundingRect(nominal));
                    at *= QTransform::fromTranslate(-ink.center().x(), 0);
                } else {
                    at.translate(position[g].x_offset * k, pen - position[g].y_offset * k);
                }
                column.glyphs.push_back({piece.face, info[g].codepoint, at});
                const bool clusterEnds = g + 1 == count || info[g + 1].cluster != info[g].cluster;
                pen += advance + (clusterEnds ? spacing : 0);
            }
            continue;
        }

        qreal across = 0;
        for (unsigned g = 0; g < count; ++g)
            across += position[g].x_advance * k;
        QTransform line;
        qreal advance = across;
        if (run.stance == Stance::Sideways) {
            // turned a quarter clockwise, the letters' em box centred on the column
            line.translate((descent - ascent) / 2, pen);
            line.rotate(90);
        } else {
            // upright side by side in one cell of the column, narrowed to fit it
            hb_codepoint_t ideograph = 0;
            const hb_codepoint_t cell =
                hb_font_get_nominal_glyph(face.font, U'水', &ideograph) ? ideograph : 0;
            advance = std::abs(hb_font_get_glyph_v_advance(face.font, cell)) * k;
            if (advance <= 0)
                advance = ascent + descent;
            const qreal narrow = across > advance ? advance / across : 1;
            line.translate(-across * narrow / 2, pen + (advance - ascent - descent) / 2 + ascent);
            line.scale(narrow, 1);
        }
        qreal x = 0;
        for (unsigned g = 0; g < count; ++g) {
            QTransform at;
            at.translate(x + position[g].x_offset * k, -position[g].y_offset * k);
            column.glyphs.push_back({piece.face, info[g].codepoint, at * line});
            x += position[g].x_advance * k;
        }
        pen += advance + spacing * (run.stance == Stance::SideBySide ? 1 : run.length);
    }
    column.length = pen;
    return column;
}
