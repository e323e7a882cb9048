// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextBlock.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QFontMetricsF>
#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TLogoTaglinePlace)
Q_DECLARE_METATYPE(TLogoTaglineAlign)

namespace {

struct Lines
{
    QRectF main;
    QRectF tagline;
    // where each line's pen starts, across
    qreal mainStart = 0;
    qreal taglineStart = 0;
};

// The ink of each line: the caption's glyphs come first.
Lines InkOf(const TextBlock& block, qsizetype captionGlyphs)
{
    Lines lines;
    const std::vector<PlacedGlyph>& glyphs = block.Glyphs();
    lines.mainStart = glyphs.front().at.dx();
    lines.taglineStart = glyphs[std::size_t(captionGlyphs)].at.dx();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        QRectF& ink = i < std::size_t(captionGlyphs) ? lines.main : lines.tagline;
        ink = ink.united(glyphs[i].Box());
    }
    return lines;
}

} // namespace

class tst_TextBlock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void taglinePlaced_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<TLogoTaglinePlace>("place");
        QTest::addColumn<TLogoTaglineAlign>("align");
        QTest::addColumn<int>("gap");
        for (const bool vertical : {false, true})
            for (const auto place : {TLogoTaglinePlace::Under, TLogoTaglinePlace::Above})
                for (const auto align :
                     {TLogoTaglineAlign::Left, TLogoTaglineAlign::Centre, TLogoTaglineAlign::Right})
                    QTest::addRow("%s, %s, %d", vertical ? "down" : "across",
                                  place == TLogoTaglinePlace::Under ? "under" : "above", int(align))
                        << vertical << place << align << (vertical ? 0 : 60);
    }

    // The tagline lies a gap of its own size away under or above the caption (to its left or
    // right when set down), aligned to the caption's start, middle or end.
    void taglinePlaced()
    {
        QFETCH(bool, vertical);
        QFETCH(TLogoTaglinePlace, place);
        QFETCH(TLogoTaglineAlign, align);
        QFETCH(int, gap);
        QFont font(u"IPAGothic"_s);
        font.setPixelSize(60);
        const QString caption = vertical ? u"らーめん一番"_s : u"Quilvoro"_s;
        const LogoTagline tagline {vertical ? u"本店"_s : u"logo tool"_s, 40, place, align, gap};
        const TextBlock block(caption, font, tagline, vertical);
        const Lines ink = InkOf(block, caption.size());
        const qreal room = gap * 24 / 100.0; // of the tagline's 24 pixels
        const bool under = place == TLogoTaglinePlace::Under;
        const QRectF cell(QPointF(), block.Size());
        QVERIFY(cell.adjusted(-2, -2, 2, 2).contains(ink.main | ink.tagline));
        if (!vertical) {
            const qreal mainWidth = QFontMetricsF(font).horizontalAdvance(caption);
            const qreal taglineWidth =
                QFontMetricsF(TextBlock::TaglineFont(font, 40)).horizontalAdvance(tagline.text);
            QCOMPARE(block.Size().width(), mainWidth);
            if (under)
                QVERIFY(ink.tagline.top() - ink.main.bottom() >= room);
            else
                QVERIFY(ink.main.top() - ink.tagline.bottom() >= room);
            const qreal mainMiddle = ink.mainStart + mainWidth / 2;
            const qreal taglineMiddle = ink.taglineStart + taglineWidth / 2;
            switch (align) {
            case TLogoTaglineAlign::Left:
                QCOMPARE(ink.taglineStart, ink.mainStart);
                break;
            case TLogoTaglineAlign::Centre:
                QCOMPARE(taglineMiddle, mainMiddle);
                break;
            case TLogoTaglineAlign::Right:
                QCOMPARE(ink.taglineStart + taglineWidth, ink.mainStart + mainWidth);
                break;
            }
            return;
        }
        // lines run right to left: under is to the left
        if (under)
            QVERIFY(ink.tagline.right() < ink.main.left());
        else
            QVERIFY(ink.tagline.left() > ink.main.right());
        QCOMPARE(block.Size().height(), 6 * 60.0);
        switch (align) {
        case TLogoTaglineAlign::Left:
            QVERIFY(ink.tagline.top() < 24);
            break;
        case TLogoTaglineAlign::Centre:
            QVERIFY(qAbs(ink.tagline.center().y() - 180) < 12);
            break;
        case TLogoTaglineAlign::Right:
            QVERIFY(ink.tagline.bottom() > 360 - 24);
            break;
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_TextBlock)
#include "tst_TextBlock.moc"
