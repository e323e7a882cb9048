// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PanelPlacement.h"
#include "support/AppTestMain.h"

#include <QTest>

// A panel that drives the preview opens beside it, so what it changes stays in sight.
class tst_PanelPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensBesideThePreview_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("preview");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<int>("hidden"); // rows of the preview the panel covers

        // a panel of 768 x 270 beside the preview of the window
        QTest::newRow("below, centred on the preview")
            << QRect(0, 0, 1280, 1024) << QRect(242, 259, 596, 364) << QPoint(156, 623) << 0;
        QTest::newRow("kept on the screen's left edge")
            << QRect(0, 0, 1280, 1024) << QRect(3, 100, 596, 364) << QPoint(0, 464) << 0;
        QTest::newRow("above when there is no room below")
            << QRect(0, 0, 1280, 1024) << QRect(242, 600, 596, 364) << QPoint(156, 330) << 0;
        QTest::newRow("beside when neither")
            << QRect(0, 0, 1920, 600) << QRect(100, 120, 596, 364) << QPoint(696, 167) << 0;
        QTest::newRow("a small screen: the least hidden")
            << QRect(0, 0, 1024, 768) << QRect(214, 260, 596, 364) << QPoint(128, 0) << 10;
    }

    void opensBesideThePreview()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, preview);
        QFETCH(QPoint, topLeft);
        QFETCH(int, hidden);
        const QSize size(768, 270);
        const QPoint placed = PanelPlacement::Beside(preview, size, screen);
        QCOMPARE(placed, topLeft);
        const QRect panel(placed, size);
        QVERIFY(screen.contains(panel));
        QCOMPARE((panel & preview).height(), hidden);
    }
};

QUILVORO_APP_TEST_MAIN(tst_PanelPlacement)
#include "tst_PanelPlacement.moc"
