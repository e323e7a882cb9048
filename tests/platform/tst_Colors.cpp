// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Colors.h"
#include "support/AppTestMain.h"

#include <QTest>

class tst_Colors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resolvesColors_data()
    {
        QTest::addColumn<quint32>("color");
        QTest::addColumn<quint32>("rgb");
        QTest::addColumn<quint32>("pixel");

        QTest::newRow("navy") << quint32(clNavy) << 0x00800000u << 0x00000080u;
        QTest::newRow("aqua") << quint32(clAqua) << 0x00FFFF00u << 0x0000FFFFu;
        QTest::newRow("form colour") << 0x00FEE9C2u << 0x00FEE9C2u << 0x00C2E9FEu;
        QTest::newRow("button face") << quint32(clBtnFace) << 0x00C8D0D4u << 0x00D4D0C8u;
        QTest::newRow("button shadow") << quint32(clBtnShadow) << 0x00808080u << 0x00808080u;
        QTest::newRow("button highlight") << quint32(clBtnHighlight) << 0x00FFFFFFu << 0x00FFFFFFu;
        QTest::newRow("window text") << quint32(clWindowText) << 0x0u << 0x0u;
        QTest::newRow("window frame") << quint32(clWindowFrame) << 0x0u << 0x0u;
        QTest::newRow("highlight") << quint32(clHighlight) << 0x006A240Au << 0x000A246Au;
        QTest::newRow("unknown system index") << 0x800000FEu << 0x0u << 0x0u;
    }

    void resolvesColors()
    {
        QFETCH(quint32, color);
        QFETCH(quint32, rgb);
        QFETCH(quint32, pixel);
        QCOMPARE(ColorToRGB(color), rgb);
        QCOMPARE(ColorToPixel(color), pixel);
        QCOMPARE(FromQColor(ToQColor(color)), rgb);
    }

    void splitsChannelsRedFirst()
    {
        const TColor c = RGB(1, 2, 3);
        QCOMPARE(c, 0x00030201u);
        QCOMPARE(GetRValue(c), 1);
        QCOMPARE(GetGValue(c), 2);
        QCOMPARE(GetBValue(c), 3);
        QVERIFY(IsSystemColor(clBtnFace));
        QVERIFY(!IsSystemColor(clNone));
        QCOMPARE(ToQColor(clNone).alpha(), 0);
    }
};

QUILVORO_APP_TEST_MAIN(tst_Colors)
#include "tst_Colors.moc"
