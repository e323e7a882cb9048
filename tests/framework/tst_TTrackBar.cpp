// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TTrackBar.h"
#include "support/AppTestMain.h"

#include <QtTest>

class tst_TTrackBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The channel of a 150-pixel bar runs from column 8 to 141; the thumb is centred on the
    // value's place in it, as wide as half its length plus one but at least 5, and as high as
    // its length but no higher than the bar.
    void thumbRect_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("thumbLength");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("first") << QSize(150, 20) << 11 << 0 << 100 << 0 << QRect(5, 4, 6, 11);
        QTest::newRow("last") << QSize(150, 20) << 11 << 0 << 100 << 100 << QRect(138, 4, 6, 11);
        QTest::newRow("half way rounds away")
            << QSize(150, 20) << 11 << 0 << 100 << 50 << QRect(72, 4, 6, 11);
        QTest::newRow("negative range")
            << QSize(150, 20) << 11 << -50 << 50 << 0 << QRect(72, 4, 6, 11);
        QTest::newRow("taller than the bar")
            << QSize(150, 8) << 11 << 0 << 100 << 0 << QRect(5, 0, 6, 8);
        QTest::newRow("short thumb is 5 wide")
            << QSize(150, 20) << 4 << 0 << 100 << 0 << QRect(6, 8, 5, 4);
        QTest::newRow("empty range") << QSize(150, 20) << 11 << 7 << 7 << 7 << QRect(5, 4, 6, 11);
    }

    void thumbRect()
    {
        QFETCH(QSize, size);
        QFETCH(int, thumbLength);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(QRect, expected);
        QCOMPARE(TTrackBar::ThumbRectFor(size, thumbLength, minimum, maximum, value), expected);
    }

    void positionUnderColumn_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("left of the window") << -20 << 0;
        QTest::newRow("on the margin") << 3 << 0;
        QTest::newRow("channel start") << 8 << 0;
        QTest::newRow("middle") << 75 << 50;
        QTest::newRow("channel end") << 141 << 100;
        QTest::newRow("right of the window") << 500 << 100;
    }

    void positionUnderColumn()
    {
        QFETCH(int, x);
        QFETCH(int, expected);
        QCOMPARE(TTrackBar::PositionFor(x, 150, 0, 100), expected);
    }

    // Pressing on the middle of the thumb never moves it, whatever the range, as long as the
    // channel has a column for every value.
    void pressOnThumbKeepsItsValue_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::newRow("size bar") << 150 << 0 << 100;
        QTest::newRow("direction bar") << 90 << 0 << 7;
        QTest::newRow("angle bar") << 400 << 0 << 360;
        QTest::newRow("offset range") << 200 << -40 << 60;
    }

    void pressOnThumbKeepsItsValue()
    {
        QFETCH(int, width);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        for (int value = minimum; value <= maximum; ++value) {
            const QRect thumb = TTrackBar::ThumbRectFor({width, 20}, 11, minimum, maximum, value);
            const int centre = thumb.left() + thumb.width() / 2;
            QCOMPARE(TTrackBar::PositionFor(centre, width, minimum, maximum), value);
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_TTrackBar)
#include "tst_TTrackBar.moc"
