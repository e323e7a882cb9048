// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/EdgeRings.h"
#include "support/AppTestMain.h"

#include <QFont>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double kTolerance = 0.1;

double SegmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t =
        length == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// How far `p` lies from the edges of `shape`.
double DistanceToEdge(QPointF p, const QList<QPolygonF>& shape)
{
    double nearest = 1e9;
    for (const QPolygonF& polygon : shape)
        for (qsizetype i = 0; i < polygon.size(); ++i)
            nearest = std::min(nearest,
                               SegmentDistance(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return nearest;
}

} // namespace

class tst_EdgeRings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every corner of a ring's outer edge lies at the ring's distance from the letters, and
    // the ring beyond an unused one grows from the last ring in use.
    void ringsLieAtTheirDistance_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<double>>("widths");
        QTest::addColumn<QList<double>>("reaches");
        QTest::newRow("three rings")
            << u"Qa8&"_s << QList<double> {3, 7, 12} << QList<double> {3, 10, 22};
        QTest::newRow("middle ring off")
            << u"gé"_s << QList<double> {5, 0, 40} << QList<double> {5, 0, 45};
    }

    void ringsLieAtTheirDistance()
    {
        QFETCH(QString, text);
        QFETCH(QList<double>, widths);
        QFETCH(QList<double>, reaches);
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(90);
        QPainterPath letters;
        letters.addText(10, 100, font, text);
        const QList<QPolygonF> edges = letters.toSubpathPolygons();
        const std::vector<QPainterPath> outlines =
            EdgeRings::Outlines(letters, {widths.begin(), widths.end()}, kTolerance);
        QCOMPARE(outlines.size(), std::size_t(widths.size()));
        for (std::size_t k = 0; k < outlines.size(); ++k) {
            if (reaches[qsizetype(k)] == 0) {
                QVERIFY(outlines[k].isEmpty());
                continue;
            }
            QVERIFY(!outlines[k].isEmpty());
            for (int i = 0; i < outlines[k].elementCount(); ++i) {
                const QPointF p = outlines[k].elementAt(i);
                const double d = DistanceToEdge(p, edges);
                QVERIFY2(std::abs(d - reaches[qsizetype(k)]) <= 1.0,
                         qPrintable(QStringLiteral("ring %1: %2").arg(k).arg(d)));
            }
        }
    }

    void wideRingOfASquareStaysLean()
    {
        QPainterPath square;
        square.addRect(0, 0, 50, 50);
        const std::vector<QPainterPath> outlines = EdgeRings::Outlines(square, {100}, kTolerance);
        QVERIFY(!outlines[0].isEmpty());
        QVERIFY2(outlines[0].elementCount() < 100,
                 qPrintable(QString::number(outlines[0].elementCount())));
        QCOMPARE(outlines[0].boundingRect(), QRectF(-100, -100, 250, 250));
    }

    // A letter drawn as an outer contour, a counter (hole) and a stroke that overlaps the outer
    // contour in the same direction: the overlap is letter, not hole, and the counter stays open.
    void letterWithCounterAndOverlapComesOutWhole_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("inRing");
        QTest::newRow("outside the outer contour") << 5.0 << QPointF(-3, 50) << true;
        QTest::newRow("inside the counter's edge") << 5.0 << QPointF(33, 50) << true;
        QTest::newRow("middle of the counter") << 5.0 << QPointF(50, 50) << false;
        QTest::newRow("where the contours overlap") << 5.0 << QPointF(90, 50) << false;
        QTest::newRow("beyond the overlapping stroke") << 5.0 << QPointF(143, 50) << true;
        QTest::newRow("far away") << 5.0 << QPointF(160, 50) << false;
        QTest::newRow("counter kept by a ring short of its middle")
            << 19.0 << QPointF(50, 50) << false;
        QTest::newRow("counter closed by a wide ring") << 21.0 << QPointF(50, 50) << true;
    }

    void letterWithCounterAndOverlapComesOutWhole()
    {
        QFETCH(double, width);
        QFETCH(QPointF, point);
        QFETCH(bool, inRing);
        QPainterPath letter;
        letter.addPolygon(QPolygonF({{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
        letter.closeSubpath();
        letter.addPolygon(QPolygonF({{30, 30}, {30, 70}, {70, 70}, {70, 30}}));
        letter.closeSubpath();
        letter.addPolygon(QPolygonF({{80, 20}, {140, 20}, {140, 80}, {80, 80}}));
        letter.closeSubpath();
        letter.setFillRule(Qt::WindingFill);
        const std::vector<QPainterPath> outlines = EdgeRings::Outlines(letter, {width}, kTolerance);
        const QPainterPath ring = EdgeRings::Ring(letter, outlines, 0, kTolerance);
        QCOMPARE(ring.contains(point), inRing);
    }
};

QUILVORO_APP_TEST_MAIN(tst_EdgeRings)
#include "tst_EdgeRings.moc"
