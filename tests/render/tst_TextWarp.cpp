// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextWarp.h"
#include "support/AppTestMain.h"

#include <QLineF>
#include <QPainterPath>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

Q_DECLARE_METATYPE(TLogoWarp)

namespace {

// A text cell like a 40 pt caption's: 400 × 53 with the baseline at 42.
const QRectF kFrame(0, 0, 400, 53);
constexpr qreal kBaseline = 42;

QPointF Centre(QPointF a, QPointF b, QPointF c)
{
    const qreal d =
        2 * (a.x() * (b.y() - c.y()) + b.x() * (c.y() - a.y()) + c.x() * (a.y() - b.y()));
    const qreal a2 = QPointF::dotProduct(a, a);
    const qreal b2 = QPointF::dotProduct(b, b);
    const qreal c2 = QPointF::dotProduct(c, c);
    return {(a2 * (b.y() - c.y()) + b2 * (c.y() - a.y()) + c2 * (a.y() - b.y())) / d,
            (a2 * (c.x() - b.x()) + b2 * (a.x() - c.x()) + c2 * (b.x() - a.x())) / d};
}

QPointF Baseline(const TextWarp& warp, qreal t)
{
    return warp.Map({kFrame.left() + t * kFrame.width(), kBaseline});
}

qreal DistanceToPolyline(QPointF p, const QPolygonF& line)
{
    qreal best = 1e9;
    for (int i = 1; i < line.size(); ++i) {
        const QPointF ab = line[i] - line[i - 1];
        const qreal l2 = QPointF::dotProduct(ab, ab);
        const qreal t =
            l2 > 0 ? std::clamp(QPointF::dotProduct(p - line[i - 1], ab) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, QLineF(p, line[i - 1] + ab * t).length());
    }
    return best;
}

// The outline's pieces flattened far more finely than any tolerance under test.
QList<QPolygonF> Flattened(const QPainterPath& path)
{
    constexpr qreal kFine = 100;
    QList<QPolygonF> polygons = path.toSubpathPolygons(QTransform::fromScale(kFine, kFine));
    for (QPolygonF& polygon : polygons)
        for (QPointF& p : polygon)
            p /= kFine;
    return polygons;
}

} // namespace

class tst_TextWarp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baselineBecomesArc_data();
    void baselineBecomesArc();
    void circleAtFullAmountLeavesAGap();
    void negativeAmountMirrors_data();
    void negativeAmountMirrors();
    void perspectiveNarrowsOneEdge_data();
    void perspectiveNarrowsOneEdge();
    void bendsReachTheirHeight_data();
    void bendsReachTheirHeight();
    void curvesStayWithinTolerance_data();
    void curvesStayWithinTolerance();
    void warpedShapeStaysCentred_data();
    void warpedShapeStaysCentred();
    void longLineKeepsItsMiddleInRoom_data();
    void longLineKeepsItsMiddleInRoom();
};

void tst_TextWarp::baselineBecomesArc_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    QTest::addColumn<int>("amount");
    QTest::addColumn<qreal>("degrees");
    QTest::addColumn<bool>("endsLow"); // the middle of the baseline is its highest point
    QTest::newRow("arch 100") << TLogoWarp::Arch << 100 << 180.0 << true;
    QTest::newRow("arch 50") << TLogoWarp::Arch << 50 << 90.0 << true;
    QTest::newRow("arch -100") << TLogoWarp::Arch << -100 << 180.0 << false;
    QTest::newRow("arch down 100") << TLogoWarp::ArchDown << 100 << 180.0 << false;
    QTest::newRow("arch down 30") << TLogoWarp::ArchDown << 30 << 54.0 << false;
    // a circle's baseline is a third of the cell's height shorter than its arc
    const qreal closing = kFrame.width() / (kFrame.width() + kFrame.height() / 3);
    QTest::newRow("circle 75") << TLogoWarp::Circle << 75 << 270.0 * closing << true;
    QTest::newRow("circle 100") << TLogoWarp::Circle << 100 << 360.0 * closing << true;
}

void tst_TextWarp::baselineBecomesArc()
{
    QFETCH(TLogoWarp, kind);
    QFETCH(int, amount);
    QFETCH(qreal, degrees);
    QFETCH(bool, endsLow);
    const TextWarp warp(kind, amount, kFrame, kBaseline);
    const QPointF centre = Centre(Baseline(warp, 0), Baseline(warp, 0.2), Baseline(warp, 0.45));
    const qreal radius = QLineF(centre, Baseline(warp, 0)).length();
    // Every point of the baseline lies on one circle, and the arc keeps the baseline's length.
    constexpr int n = 200;
    qreal turned = 0;
    qreal length = 0;
    for (int i = 1; i <= n; ++i) {
        const QPointF p = Baseline(warp, i / qreal(n));
        const QPointF q = Baseline(warp, (i - 1) / qreal(n));
        QVERIFY2(std::abs(QLineF(centre, p).length() - radius) < 1e-6,
                 qPrintable(QString::number(i)));
        const QLineF a(centre, q);
        const QLineF b(centre, p);
        turned += a.angleTo(b) > 180 ? a.angleTo(b) - 360 : a.angleTo(b);
        length += QLineF(q, p).length();
    }
    QVERIFY(std::abs(std::abs(turned) - degrees) < 1e-6);
    QVERIFY(std::abs(length - kFrame.width()) < 0.1);
    const bool middleHighest = Baseline(warp, 0.5).y() < Baseline(warp, 0).y();
    QCOMPARE(middleHighest, endsLow);
    // The letters stand outside an arch and hang inside a sagging one.
    const QPointF top = warp.Map({kFrame.center().x(), kFrame.top()});
    const bool topFarther = QLineF(centre, top).length() > radius;
    QCOMPARE(topFarther, endsLow);
}

void tst_TextWarp::circleAtFullAmountLeavesAGap()
{
    const TextWarp warp(TLogoWarp::Circle, 100, kFrame, kBaseline);
    const QPointF start = Baseline(warp, 0);
    const QPointF end = Baseline(warp, 1);
    // The last letter stops short of the first by about a third of the line's height, the gap
    // at the bottom, opposite the middle of the text.
    const qreal gap = QLineF(start, end).length();
    QVERIFY2(gap > 0.95 * kFrame.height() / 3 && gap <= kFrame.height() / 3,
             qPrintable(QString::number(gap)));
    const QPointF middle = Baseline(warp, 0.5);
    QVERIFY(std::abs((start.x() + end.x()) / 2 - middle.x()) < 1e-9);
    QVERIFY(start.y() > middle.y());
}

void tst_TextWarp::negativeAmountMirrors_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    QTest::newRow("arch") << TLogoWarp::Arch;
    QTest::newRow("arch down") << TLogoWarp::ArchDown;
    QTest::newRow("circle") << TLogoWarp::Circle;
    QTest::newRow("wave") << TLogoWarp::Wave;
    QTest::newRow("flag") << TLogoWarp::Flag;
    QTest::newRow("bulge") << TLogoWarp::Bulge;
    QTest::newRow("pinch") << TLogoWarp::Pinch;
    QTest::newRow("slant") << TLogoWarp::Slant;
}

void tst_TextWarp::negativeAmountMirrors()
{
    QFETCH(TLogoWarp, kind);
    const TextWarp up(kind, 60, kFrame, kBaseline);
    const TextWarp down(kind, -60, kFrame, kBaseline);
    bool bent = false;
    for (int i = 0; i <= 20; ++i) {
        const qreal t = i / 20.0;
        const QPointF a = Baseline(up, t) - Baseline(up, 0.5);
        const QPointF b = Baseline(down, t) - Baseline(down, 0.5);
        QVERIFY(std::abs(a.x() - b.x()) < 1e-9);
        QVERIFY(std::abs(a.y() + b.y()) < 1e-9);
        bent = bent || std::abs(a.y()) > 1;
    }
    QVERIFY(bent || kind == TLogoWarp::Bulge || kind == TLogoWarp::Pinch);
}

void tst_TextWarp::perspectiveNarrowsOneEdge_data()
{
    QTest::addColumn<qreal>("width");
    QTest::addColumn<int>("amount");
    QTest::addColumn<qreal>("top");
    QTest::addColumn<qreal>("bottom");
    QTest::newRow("100") << 120.0 << 100 << 0.4 << 1.0;
    QTest::newRow("50") << 120.0 << 50 << 0.7 << 1.0;
    QTest::newRow("-100") << 120.0 << -100 << 1.0 << 0.4;
    // a long line's ends lean by no more than the line's height
    const qreal lean = kFrame.height() / kFrame.width();
    QTest::newRow("long line, 100") << kFrame.width() << 100 << 1 - 2 * lean << 1.0;
    QTest::newRow("long line, -50") << kFrame.width() << -50 << 1.0 << 1 - lean;
}

void tst_TextWarp::perspectiveNarrowsOneEdge()
{
    QFETCH(qreal, width);
    QFETCH(int, amount);
    QFETCH(qreal, top);
    QFETCH(qreal, bottom);
    const QRectF frame(0, 0, width, kFrame.height());
    const TextWarp warp(TLogoWarp::Perspective, amount, frame, kBaseline);
    const qreal w = frame.width();
    QVERIFY(
        std::abs(QLineF(warp.Map(frame.topLeft()), warp.Map(frame.topRight())).length() - top * w)
        < 1e-6);
    QVERIFY(std::abs(QLineF(warp.Map(frame.bottomLeft()), warp.Map(frame.bottomRight())).length()
                     - bottom * w)
            < 1e-6);
    // A projection keeps lines straight, and the far half of the cell is drawn shorter.
    const QPointF a = warp.Map({100, 0});
    const QPointF b = warp.Map({100, 53});
    const QPointF m = warp.Map({100, 26.5});
    QVERIFY(std::abs((b - a).x() * (m - a).y() - (b - a).y() * (m - a).x()) < 1e-6);
    const bool topHalfShorter = QLineF(a, m).length() < QLineF(m, b).length();
    QCOMPARE(topHalfShorter, amount > 0);
}

void tst_TextWarp::bendsReachTheirHeight_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    QTest::addColumn<qreal>("swing"); // highest minus lowest point of the baseline
    QTest::addColumn<int>("crossings"); // times the baseline crosses its straight height
    const qreal h = kFrame.height();
    QTest::newRow("wave") << TLogoWarp::Wave << h << 1;
    QTest::newRow("flag") << TLogoWarp::Flag << 2 * h / 3 << 3;
    QTest::newRow("slant") << TLogoWarp::Slant << kFrame.width() * std::tan(std::numbers::pi / 6)
                           << 1;
}

void tst_TextWarp::bendsReachTheirHeight()
{
    QFETCH(TLogoWarp, kind);
    QFETCH(qreal, swing);
    QFETCH(int, crossings);
    const TextWarp warp(kind, 100, kFrame, kBaseline);
    const qreal level = Baseline(warp, 0.5).y();
    qreal lo = 1e9;
    qreal hi = -1e9;
    int crossed = 0;
    int side = 0;
    constexpr int n = 400;
    for (int i = 0; i <= n; ++i) {
        const qreal y = Baseline(warp, i / qreal(n)).y();
        lo = std::min(lo, y);
        hi = std::max(hi, y);
        const int now = (y > level + 1e-9) - (y < level - 1e-9);
        if (now != 0) {
            crossed += side != 0 && now != side;
            side = now;
        }
    }
    QVERIFY2(std::abs(hi - lo - swing) < 0.05, qPrintable(QString::number(hi - lo)));
    QCOMPARE(crossed, crossings);
}

void tst_TextWarp::warpedShapeStaysCentred_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    for (int k = 1; k <= LogoDocument::kMaxWarp; ++k)
        QTest::newRow(qPrintable(QString::number(k))) << TLogoWarp(k);
}

void tst_TextWarp::curvesStayWithinTolerance_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    QTest::addColumn<int>("amount");
    QTest::addColumn<qreal>("scale");
    for (int k = 1; k <= LogoDocument::kMaxWarp; ++k) {
        for (int amount : {100, -100, 35}) {
            for (qreal scale : {1.0, 4.0})
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 at %2 ×%3").arg(k).arg(amount).arg(scale)))
                    << TLogoWarp(k) << amount << scale;
        }
    }
}

// The mapped outline follows the true bend within the tolerance everywhere, and stays smooth:
// every joint between its pieces that was no corner before leaves along the way it came.
void tst_TextWarp::curvesStayWithinTolerance()
{
    QFETCH(TLogoWarp, kind);
    QFETCH(int, amount);
    QFETCH(qreal, scale);
    const QRectF frame(0, 0, kFrame.width() * scale, kFrame.height() * scale);
    const TextWarp warp(kind, amount, frame, kBaseline * scale);
    // An underline across the whole cell (one straight edge) and a round letter (curves).
    const QRectF underline(0, (kBaseline + 4) * scale, frame.width(), 3 * scale);
    QPainterPath path;
    path.addRect(underline);
    const QRectF bowl(150 * scale, 12 * scale, 30 * scale, 30 * scale);
    path.addEllipse(bowl);
    const QPainterPath mapped = warp.MapPath(path);
    const QList<QPolygonF> pieces = Flattened(mapped);
    QCOMPARE(pieces.size(), 2);
    // Closed outlines stay closed.
    QVERIFY(QLineF(pieces[0].first(), pieces[0].last()).length() < 1e-6);
    QVERIFY(QLineF(pieces[1].first(), pieces[1].last()).length() < 1e-6);
    constexpr qreal kSlack = 0.002; // of the fine flattening
    constexpr int n = 2000;
    for (int i = 0; i <= n; ++i) {
        const qreal t = i / qreal(n);
        const QPointF top = warp.Map({underline.left() + t * underline.width(), underline.top()});
        QVERIFY2(DistanceToPolyline(top, pieces[0]) <= TextWarp::kTolerance + kSlack,
                 qPrintable(QString::number(t)));
        const qreal angle = t * 2 * std::numbers::pi;
        const QPointF round = warp.Map(
            bowl.center()
            + QPointF(std::cos(angle) * bowl.width() / 2, std::sin(angle) * bowl.height() / 2));
        // The ellipse itself is drawn with Bézier curves, a small fraction of a pixel off a circle.
        QVERIFY2(DistanceToPolyline(round, pieces[1]) <= TextWarp::kTolerance + 0.01 * scale,
                 qPrintable(QString::number(t)));
    }
    int curves = 0;
    for (int i = 0; i < mapped.elementCount(); ++i) {
        if (!mapped.elementAt(i).isCurveTo())
            continue;
        ++curves;
        // The ellipse has no corners; the rectangle's are at its four corners only.
        const QPointF end = mapped.elementAt(i + 2);
        const bool corner = std::ranges::any_of(
            std::array {underline.topLeft(), underline.topRight(), underline.bottomRight(),
                        underline.bottomLeft()},
            [&](QPointF c) { return QLineF(warp.Map(c), end).length() < 1e-6; });
        const int next = i + 3;
        if (corner || next >= mapped.elementCount() || !mapped.elementAt(next).isCurveTo())
            continue;
        const QLineF in(mapped.elementAt(i + 1), end);
        const QLineF out(end, mapped.elementAt(next));
        if (in.length() > 1e-9 && out.length() > 1e-9)
            QVERIFY2(std::min(in.angleTo(out), 360 - in.angleTo(out)) < 0.5,
                     qPrintable(QStringLiteral("joint %1").arg(i)));
    }
    // No straight pieces, and few curves: the underline and the bowl take a few dozen each.
    QCOMPARE(curves, mapped.elementCount() / 3);
    QVERIFY2(curves < 160, qPrintable(QString::number(curves)));
}

void tst_TextWarp::warpedShapeStaysCentred()
{
    QFETCH(TLogoWarp, kind);
    const TextWarp warp(kind, 100, kFrame, kBaseline);
    QPainterPath cell;
    cell.addRect(kFrame);
    const QPointF centre = warp.MapPath(cell).boundingRect().center();
    QVERIFY2(QLineF(centre, kFrame.center()).length() < 0.5,
             qPrintable(QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y())));
}

void tst_TextWarp::longLineKeepsItsMiddleInRoom_data()
{
    QTest::addColumn<TLogoWarp>("kind");
    QTest::addColumn<int>("amount");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<bool>("moved");
    for (const auto& [kind, name] :
         {std::pair {TLogoWarp::Arch, "arch"}, std::pair {TLogoWarp::ArchDown, "arch down"},
          std::pair {TLogoWarp::Circle, "circle"}}) {
        for (const int amount : {100, -100, 40}) {
            QTest::addRow("%s %d, long line", name, amount) << kind << amount << 6000.0 << true;
            QTest::addRow("%s %d, short line", name, amount) << kind << amount << 200.0 << false;
        }
    }
    QTest::newRow("wave, long line") << TLogoWarp::Wave << 100 << 6000.0 << false;
}

// The bent shape's box is centred where the cell was unless it reaches far out of the room: a
// long line's arc is then moved toward the middle of the text, so that a picture of the middle
// shows the text.
void tst_TextWarp::longLineKeepsItsMiddleInRoom()
{
    QFETCH(TLogoWarp, kind);
    QFETCH(int, amount);
    QFETCH(qreal, width);
    QFETCH(bool, moved);
    constexpr qreal room = 180;
    const QRectF frame(0, 0, width, kFrame.height());
    const TextWarp centred(kind, amount, frame, kBaseline);
    const TextWarp fitted(kind, amount, frame, kBaseline, room);
    const QPointF middle = frame.center();
    const qreal drift = QLineF(fitted.Map(middle), middle).length();
    // only moved, never bent otherwise
    const QPointF shift = fitted.Map(frame.topLeft()) - centred.Map(frame.topLeft());
    QVERIFY(
        QLineF(fitted.Map(frame.bottomRight()) - shift, centred.Map(frame.bottomRight())).length()
        < 1e-6);
    QCOMPARE(QLineF(QPointF(), shift).length() > 1e-6, moved);
    // far out of the room, the middle of the text lies a line's height inside it
    if (moved)
        QVERIFY2(std::abs(drift - (room - frame.height())) < 1e-6,
                 qPrintable(QString::number(drift)));
}

QUILVORO_APP_TEST_MAIN(tst_TextWarp)
#include "tst_TextWarp.moc"
