// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextBlock.h"
#include "render/VerticalText.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFontMetricsF>
#include <QtTest>

using namespace Qt::StringLiterals;

using Stance = VerticalText::Stance;
Q_DECLARE_METATYPE(Stance)

namespace {

constexpr int kEm = 40;

QFont Face(const QString& family)
{
    QFont font(family);
    font.setPixelSize(kEm);
    return font;
}

bool Upright(const PlacedGlyph& glyph)
{
    return glyph.at.m11() > 0 && qFuzzyIsNull(glyph.at.m12());
}

// Turned a quarter clockwise: the letters' tops face the right.
bool TurnedClockwise(const PlacedGlyph& glyph)
{
    return qFuzzyIsNull(glyph.at.m11()) && glyph.at.m12() > 0;
}

// IPAGothic with its vertical metrics and substitutions hidden: a face without vertical forms.
QRawFont WithoutVerticalForms()
{
    QFile file(u"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = file.readAll();
    const int tables = (uchar(data[4]) << 8) | uchar(data[5]);
    for (int i = 0; i < tables; ++i) {
        char* tag = data.data() + 12 + 16 * i;
        const QByteArray name(tag, 4);
        // the last letter changed keeps the directory in order
        if (name == "GSUB" || name == "vhea" || name == "vmtx")
            tag[3] = 'x';
        // another checksum: another face than the installed one
        if (name == "head") {
            const int offset = (uchar(tag[8]) << 24) | (uchar(tag[9]) << 16) | (uchar(tag[10]) << 8)
                | uchar(tag[11]);
            data[offset + 8] = char(data[offset + 8] ^ 0x5A);
        }
    }
    return QRawFont(data, kEm);
}

} // namespace

class tst_VerticalText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void verticalForms_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("text");
        // where the ink of every glyph lies: 'r' right of the column's middle, 'c' in the upper
        // right of its cell, 't' tall, 'w' wide
        QTest::addColumn<QChar>("ink");
        for (const QString& family : {u"IPAGothic"_s, u"IPAPGothic"_s}) {
            const QByteArray face = family.toLatin1();
            QTest::addRow("%s, long vowel", face.data()) << family << u"ー"_s << QChar(u't');
            QTest::addRow("%s, brackets", face.data()) << family << u"「」"_s << QChar(u'w');
            QTest::addRow("%s, small kana", face.data()) << family << u"ぁっャ"_s << QChar(u'r');
            QTest::addRow("%s, punctuation", face.data()) << family << u"。、"_s << QChar(u'c');
        }
    }

    // They take the face's vertical glyphs, upright and placed for a column: in the fixed-width
    // face one em cell each, in the proportional one with its own vertical advances.
    void verticalForms()
    {
        QFETCH(QString, family);
        QFETCH(QString, text);
        QFETCH(QChar, ink);
        const QFont font = Face(family);
        const QRawFont raw = QRawFont::fromFont(font);
        const VerticalText::Column column = VerticalText::Shape(text, font);
        QCOMPARE(column.glyphs.size(), std::size_t(text.size()));
        const bool fixed = family == u"IPAGothic"_s;
        if (fixed)
            QCOMPARE(column.length, qreal(kEm * text.size()));
        for (qsizetype i = 0; i < text.size(); ++i) {
            const PlacedGlyph& glyph = column.glyphs[std::size_t(i)];
            QVERIFY(Upright(glyph));
            QVERIFY(glyph.index != VerticalText::GlyphFor(raw, text.mid(i, 1), false));
            const QRectF cell = fixed ? QRectF(-kEm / 2.0, kEm * i, kEm, kEm)
                                      : QRectF(-kEm / 2.0, 0, kEm, column.length);
            const QRectF box = glyph.Box();
            QVERIFY2(cell.adjusted(-1, -1, 1, 1).contains(box), qPrintable(text.mid(i, 1)));
            if (ink == u'r')
                QVERIFY(box.center().x() > 1);
            else if (ink == u'c')
                QVERIFY(box.center().x() > 1 && (!fixed || box.center().y() < cell.center().y()));
            else if (ink == u't')
                QVERIFY(box.height() > 2 * box.width());
            else
                QVERIFY(box.width() > box.height());
        }
    }

    void stances_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Stance>>("stances");
        // the column's length in ems, or -1 for the Latin letters' own widths
        QTest::addColumn<qreal>("ems");
        QTest::newRow("kana") << u"らーめん"_s << QList {Stance::Upright} << 4.0;
        QTest::newRow("a word lies sideways") << u"ABC"_s << QList {Stance::Sideways} << -1.0;
        QTest::newRow("two digits stand") << u"12"_s << QList {Stance::SideBySide} << 1.0;
        QTest::newRow("one letter stands")
            << u"第3回"_s << QList {Stance::Upright, Stance::SideBySide, Stance::Upright} << 3.0;
        QTest::newRow("three digits lie")
            << u"第100回"_s << QList {Stance::Upright, Stance::Sideways, Stance::Upright} << -1.0;
        QTest::newRow("exclamation and question")
            << u"何!?"_s << QList {Stance::Upright, Stance::SideBySide} << 2.0;
        QTest::newRow("fullwidth stands") << u"ＡＢＣ"_s << QList {Stance::Upright} << 3.0;
    }

    // Latin words turn a quarter clockwise; one or two letters stand side by side in a cell;
    // the advances add up to the column's length.
    void stances()
    {
        QFETCH(QString, text);
        QFETCH(QList<Stance>, stances);
        QFETCH(qreal, ems);
        const QFont font = Face(u"IPAGothic"_s);
        const VerticalText::Column column = VerticalText::Shape(text, font);
        QList<Stance> found;
        qreal length = 0;
        std::size_t glyph = 0;
        for (const VerticalText::Run& run : column.runs) {
            found.append(run.stance);
            const QString part = text.mid(run.from, run.length);
            const std::size_t end = glyph + std::size_t(part.size());
            qreal baseline = qQNaN();
            for (; glyph < end; ++glyph) {
                const PlacedGlyph& placed = column.glyphs[glyph];
                switch (run.stance) {
                case Stance::Sideways:
                    QVERIFY(TurnedClockwise(placed));
                    break;
                case Stance::SideBySide:
                    QVERIFY(Upright(placed));
                    if (!qIsNaN(baseline))
                        QCOMPARE(placed.at.dy(), baseline);
                    baseline = placed.at.dy();
                    break;
                case Stance::Upright:
                    QVERIFY(Upright(placed));
                    break;
                }
            }
            length += run.stance == Stance::Sideways
                ? QFontMetricsF(font).horizontalAdvance(part)
                : kEm * (run.stance == Stance::SideBySide ? 1 : part.size());
        }
        QCOMPARE(found, stances);
        QVERIFY(qAbs(column.length - length) < 0.5);
        if (ems > 0)
            QCOMPARE(column.length, ems * kEm);
        // a block of the line alone is as long as the column
        QCOMPARE(TextBlock(text, font, {}, true).Size().height(), column.length);
    }

    // Letters of scripts no installed face holds come from the faces Qt falls back on, or stay
    // as the face's missing glyph, in their places.
    void lettersNoFaceHas()
    {
        const QString text = u"一한ก\u10D0\u0904一"_s;
        const QFont font = Face(u"IPAGothic"_s);
        const VerticalText::Column column = VerticalText::Shape(text, font);
        QCOMPARE(column.glyphs.size(), std::size_t(text.size()));
        QVERIFY(column.length > 2 * kEm);
        QVERIFY(Upright(column.glyphs.front()) && Upright(column.glyphs[1]));
        QVERIFY(TurnedClockwise(column.glyphs[2]));
        const QRectF last = column.glyphs.back().Box();
        QVERIFY(last.top() >= column.length - kEm - 1 && last.bottom() <= column.length + 1);
    }

    // A face without vertical forms sets its glyphs upright in the middle of the column, turns
    // its brackets and the long vowel mark and moves its stops to the upper right of the cell.
    void faceWithoutVerticalForms()
    {
        const QRawFont face = WithoutVerticalForms();
        QVERIFY(face.isValid());
        const QString text = u"「あ」ー。"_s;
        const VerticalText::Column column = VerticalText::Shape(text, Face(u"IPAGothic"_s), face);
        QCOMPARE(column.glyphs.size(), std::size_t(5));
        // the face's height for every cell
        const qreal cell = column.length / 5;
        QVERIFY(cell >= kEm && cell <= 1.2 * kEm);
        for (int i = 0; i < 5; ++i) {
            const PlacedGlyph& glyph = column.glyphs[std::size_t(i)];
            const bool stands = i == 1 || i == 4;
            QCOMPARE(glyph.index, VerticalText::GlyphFor(face, text.mid(i, 1), false));
            QCOMPARE(Upright(glyph), stands);
            QCOMPARE(TurnedClockwise(glyph), !stands);
            const QRectF box = glyph.Box();
            QVERIFY(box.top() >= i * cell - 1 && box.bottom() <= (i + 1) * cell + 1);
            if (i == 4)
                QVERIFY(box.left() > 0 && box.bottom() < (i + 0.5) * cell);
            else
                QVERIFY2(qAbs(box.center().x()) < 2, qPrintable(text.mid(i, 1)));
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_VerticalText)
#include "tst_VerticalText.moc"
