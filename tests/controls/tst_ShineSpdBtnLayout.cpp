// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineSpdBtn.h"
#include "support/AppTestMain.h"

#include <QTest>

Q_DECLARE_METATYPE(TButtonLayout)

// The placement of glyph and caption is arithmetic on sizes: no font, no widget.
class tst_ShineSpdBtnLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawPosition_data();
    void drawPosition();
    void layoutsMirrorEachOther_data();
    void layoutsMirrorEachOther();
};

void tst_ShineSpdBtnLayout::drawPosition_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("glyph");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<TButtonLayout>("layout");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QPoint>("glyphPos");
    QTest::addColumn<QRect>("textRect");

    const QSize client(100, 40);
    const QSize glyph(16, 16);
    const QSize text(30, 12);
    const QSize none(0, 0);
    // Both parts: a block of 16 + 4 + 30 = 50 by 16 centred at (25, 12); the shorter caption
    // sits 2 pixels lower to centre it across.
    QTest::newRow("left, centred") << client << glyph << text << blGlyphLeft << -1 << 4
                                   << QPoint(25, 12) << QRect(45, 14, 30, 12);
    QTest::newRow("right, centred") << client << glyph << text << blGlyphRight << -1 << 4
                                    << QPoint(59, 12) << QRect(25, 14, 30, 12);
    // Stacked: 16 + 4 + 12 = 32 high, 30 wide, centred at (35, 4); the glyph centred across.
    QTest::newRow("top, centred") << client << glyph << text << blGlyphTop << -1 << 4
                                  << QPoint(42, 4) << QRect(35, 24, 30, 12);
    QTest::newRow("bottom, centred") << client << glyph << text << blGlyphBottom << -1 << 4
                                     << QPoint(42, 20) << QRect(35, 4, 30, 12);
    QTest::newRow("taller caption centres the glyph")
        << client << QSize(8, 8) << QSize(30, 20) << blGlyphLeft << -1 << 2 << QPoint(30, 16)
        << QRect(40, 10, 30, 20);

    // A margin holds the block to the glyph's side; the other axis stays centred.
    QTest::newRow("left, margin") << client << glyph << text << blGlyphLeft << 3 << 4
                                  << QPoint(3, 12) << QRect(23, 14, 30, 12);
    QTest::newRow("right, margin") << client << glyph << text << blGlyphRight << 5 << 4
                                   << QPoint(79, 12) << QRect(45, 14, 30, 12);
    QTest::newRow("top, margin 0") << client << glyph << text << blGlyphTop << 0 << 4
                                   << QPoint(42, 0) << QRect(35, 20, 30, 12);
    QTest::newRow("bottom, margin") << client << glyph << text << blGlyphBottom << 2 << 4
                                    << QPoint(42, 22) << QRect(35, 6, 30, 12);

    // One part alone: no spacing, the part centred or at the margin.
    QTest::newRow("glyph alone ignores spacing") << client << glyph << none << blGlyphLeft << -1
                                                 << 10 << QPoint(42, 12) << QRect(58, 12, 0, 0);
    QTest::newRow("caption alone") << client << none << text << blGlyphLeft << -1 << 4
                                   << QPoint(35, 14) << QRect(35, 14, 30, 12);
    QTest::newRow("caption alone, bottom margin") << client << none << text << blGlyphBottom << 2
                                                  << 4 << QPoint(35, 38) << QRect(35, 26, 30, 12);
    QTest::newRow("nothing") << client << none << none << blGlyphTop << -1 << 4 << QPoint(50, 20)
                             << QRect(50, 20, 0, 0);
    // A caption that measures no width still has a line's height and still takes part.
    QTest::newRow("zero-width caption keeps the spacing")
        << client << glyph << QSize(0, 12) << blGlyphLeft << -1 << 4 << QPoint(40, 12)
        << QRect(60, 14, 0, 12);

    // Odd remainders round toward zero: the extra pixel goes right and below, or, when the
    // block overflows, the block starts less far out.
    QTest::newRow("odd remainder") << QSize(101, 41) << QSize(15, 15) << none << blGlyphLeft << -1
                                   << 4 << QPoint(43, 13) << QRect(58, 13, 0, 0);
    QTest::newRow("overflowing block") << QSize(10, 10) << QSize(17, 17) << none << blGlyphTop << -1
                                       << 4 << QPoint(-3, -3) << QRect(-3, 14, 0, 0);
}

void tst_ShineSpdBtnLayout::drawPosition()
{
    QFETCH(QSize, client);
    QFETCH(QSize, glyph);
    QFETCH(QSize, text);
    QFETCH(TButtonLayout, layout);
    QFETCH(int, margin);
    QFETCH(int, spacing);
    QFETCH(QPoint, glyphPos);
    QFETCH(QRect, textRect);

    const TDrawPosition at =
        TShineSpeedButton::CalcDrawPosition(client, glyph, text, layout, margin, spacing);
    QCOMPARE(at.GlyphPos, glyphPos);
    QCOMPARE(at.TextRect, textRect);
}

void tst_ShineSpdBtnLayout::layoutsMirrorEachOther_data()
{
    QTest::addColumn<int>("margin");
    QTest::newRow("centred") << -1;
    QTest::newRow("margin") << 6;
}

// Top and bottom are left and right with the axes swapped: a transposed client, glyph and
// caption give the transposed result.
void tst_ShineSpdBtnLayout::layoutsMirrorEachOther()
{
    QFETCH(int, margin);
    const QSize client(90, 33);
    const QSize glyph(13, 9);
    const QSize text(41, 7);
    const std::pair<TButtonLayout, TButtonLayout> pairs[] = {{blGlyphLeft, blGlyphTop},
                                                             {blGlyphRight, blGlyphBottom}};
    for (const auto& [acrossLayout, downLayout] : pairs) {
        const TDrawPosition across =
            TShineSpeedButton::CalcDrawPosition(client, glyph, text, acrossLayout, margin, 3);
        const TDrawPosition down = TShineSpeedButton::CalcDrawPosition(
            client.transposed(), glyph.transposed(), text.transposed(), downLayout, margin, 3);
        QCOMPARE(down.GlyphPos, across.GlyphPos.transposed());
        const QRect text = across.TextRect;
        QCOMPARE(down.TextRect, QRect(text.topLeft().transposed(), text.size().transposed()));
    }
}

QUILVORO_APP_TEST_MAIN(tst_ShineSpdBtnLayout)
#include "tst_ShineSpdBtnLayout.moc"
