// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextPlacement.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

TextPlacement Placement(int angle, int pixelSize, bool italic)
{
    TextPlacement placement;
    placement.text = u"Wg/ÅQ"_s;
    placement.font = QFont(u"DejaVu Sans"_s);
    placement.font.setPixelSize(pixelSize);
    placement.font.setItalic(italic);
    placement.baseline = QFontMetrics(placement.font).ascent();
    placement.escapement = angle;
    placement.origin = {160, 150};
    return placement;
}

QImage Drawn(const TextPlacement& placement, QPoint offset)
{
    QImage image(360, 300, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(placement.font);
    placement.Draw(painter, offset, Qt::white);
    return image;
}

} // namespace

class tst_TextPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void placements_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("italic");
        for (const int angle : {0, 30, 90, 200, 333})
            for (const int size : {9, 48})
                for (const bool italic : {false, true})
                    QTest::addRow("%d°, %d px%s", angle, size, italic ? ", italic" : "")
                        << angle << size << italic;
    }

    // A whole-pixel offset moves the very same coverage: what lets one drawing of the caption
    // serve every layer and the face.
    void offsetMovesTheSameCoverage_data() { placements_data(); }
    void offsetMovesTheSameCoverage()
    {
        QFETCH(int, angle);
        QFETCH(int, pixelSize);
        QFETCH(bool, italic);
        const TextPlacement placement = Placement(angle, pixelSize, italic);
        const QImage still = Drawn(placement, {});
        for (const QPoint offset : {QPoint(1, 0), QPoint(-3, 2), QPoint(17, -11)}) {
            const QImage moved = Drawn(placement, offset);
            const QRect inside = still.rect() & still.rect().translated(offset);
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x)
                    if (moved.pixel(x, y) != still.pixel(QPoint(x, y) - offset))
                        QFAIL(qPrintable(u"%1,%2 moved by %3,%4"_s.arg(x)
                                             .arg(y)
                                             .arg(offset.x())
                                             .arg(offset.y())));
        }
    }

    // Every pixel the caption touches, and its outline, lie inside Bounds().
    void boundsHoldTheLetters_data() { placements_data(); }
    void boundsHoldTheLetters()
    {
        QFETCH(int, angle);
        QFETCH(int, pixelSize);
        QFETCH(bool, italic);
        const TextPlacement placement = Placement(angle, pixelSize, italic);
        const QPoint offset(5, -4);
        const QRect bounds = placement.Bounds(offset);
        const QImage image = Drawn(placement, offset);
        int touched = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qBlue(image.pixel(x, y)) != 0) {
                    ++touched;
                    if (!bounds.contains(x, y))
                        QFAIL(qPrintable(u"%1,%2 outside the bounds"_s.arg(x).arg(y)));
                }
        QVERIFY(touched > pixelSize);
        QVERIFY(bounds.contains(placement.Path(offset).boundingRect().toAlignedRect()));
    }

    // The escapement turns counter-clockwise on the screen about the origin; offsets do not turn.
    void turnsAboutTheOrigin_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<QPointF>("alongBaseline");
        QTest::newRow("0") << 0 << QPointF(10, 0);
        QTest::newRow("90") << 90 << QPointF(0, -10);
        QTest::newRow("180") << 180 << QPointF(-10, 0);
        QTest::newRow("270") << 270 << QPointF(0, 10);
    }

    void turnsAboutTheOrigin()
    {
        QFETCH(int, angle);
        QFETCH(QPointF, alongBaseline);
        TextPlacement placement = Placement(angle, 20, false);
        const QPointF mapped = placement.TransformAt({3, 4}).map(QPointF(10, 0));
        const QPointF expected = QPointF(placement.origin) + QPointF(3, 4) + alongBaseline;
        QVERIFY2(QLineF(mapped, expected).length() < 1e-9,
                 qPrintable(u"%1,%2"_s.arg(mapped.x()).arg(mapped.y())));
    }
};

QUILVORO_APP_TEST_MAIN(tst_TextPlacement)
#include "tst_TextPlacement.moc"
