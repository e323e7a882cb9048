// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/SelShape.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TSelMode)

namespace {

struct Frame
{
    std::unique_ptr<QWidget> parent;
    TSelShape* shape;
};

// A shape inside a parent of the main window's preview size.
Frame MakeFrame(QRect geometry, QSize parentSize = {600, 400})
{
    Frame f {std::make_unique<QWidget>(), nullptr};
    f.parent->resize(parentSize);
    f.shape = new TSelShape(f.parent.get());
    f.shape->setGeometry(geometry);
    return f;
}

// Hover at one point, press there, drag to another (all in the shape's coordinates at press).
void Drag(TSelShape* shape, QPoint from, QPoint to)
{
    shape->MouseMove({}, from.x(), from.y());
    shape->MouseDown(Qt::LeftButton, {}, from.x(), from.y());
    shape->MouseMove({}, to.x(), to.y());
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

class tst_SelShape : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void zoneFromPointer_data();
    void zoneFromPointer();
    void optionsFilterZoneAndCursor_data();
    void optionsFilterZoneAndCursor();
    void bottomEdgeStopsAtLimit_data();
    void bottomEdgeStopsAtLimit();
    void topEdgeIsAllOrNothing();
    void moveClampedToBounds_data();
    void moveClampedToBounds();
    void pressWithoutHoverStartsMove();
    void rightEdgeFollowsPointerAcrossEvents();
    void shapePastBoundKeepsMinimumHeight();
    void dragPointerHeldInsideParent();
    void outlineDottedAquaWithClearInside();
};

void tst_SelShape::zoneFromPointer_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<TSelMode>("zone");
    // Width 588, height 100, SizeSense 5: left band 0..5, right band 583..587.
    QTest::newRow("x5 left band") << QPoint(5, 50) << SelW;
    QTest::newRow("x6 centre") << QPoint(6, 50) << SelM;
    QTest::newRow("x582 centre") << QPoint(582, 50) << SelM;
    QTest::newRow("x583 right band") << QPoint(583, 50) << SelE;
    QTest::newRow("y5 top band") << QPoint(300, 5) << SelN;
    QTest::newRow("y95 bottom band") << QPoint(300, 95) << SelS;
    QTest::newRow("y94 middle") << QPoint(300, 94) << SelM;
    QTest::newRow("top-left") << QPoint(2, 2) << SelNW;
    QTest::newRow("top-right") << QPoint(585, 0) << SelNE;
    QTest::newRow("bottom-left") << QPoint(0, 99) << SelSW;
    QTest::newRow("bottom-right") << QPoint(587, 99) << SelSE;
}

void tst_SelShape::zoneFromPointer()
{
    QFETCH(QPoint, pos);
    QFETCH(TSelMode, zone);
    Frame f = MakeFrame({0, 0, 588, 100});
    QCOMPARE(f.shape->ZoneAt(pos), zone);
    f.shape->MouseMove({}, pos.x(), pos.y());
    QCOMPARE(f.shape->Mode(), zone);
}

void tst_SelShape::optionsFilterZoneAndCursor_data()
{
    QTest::addColumn<TSelOpt>("options");
    QTest::addColumn<TSelMode>("mode");
    QTest::addColumn<Qt::CursorShape>("cursor");
    QTest::newRow("all options") << TSelOpt(kAllSelOptions) << SelNW << Qt::SizeFDiagCursor;
    QTest::newRow("no ResizeX") << TSelOpt(kAllSelOptions & ~SelOpt(ResizeX)) << SelN
                                << Qt::SizeVerCursor;
    QTest::newRow("no ResizeY") << TSelOpt(kAllSelOptions & ~SelOpt(ResizeY)) << SelW
                                << Qt::SizeHorCursor;
    QTest::newRow("no resizes") << TSelOpt(SelOpt(MoveX) | SelOpt(MoveY)) << SelM
                                << Qt::ArrowCursor;
}

void tst_SelShape::optionsFilterZoneAndCursor()
{
    QFETCH(TSelOpt, options);
    QFETCH(TSelMode, mode);
    QFETCH(Qt::CursorShape, cursor);
    Frame f = MakeFrame({10, 10, 200, 100});
    f.shape->setCursor(Qt::SizeAllCursor);
    f.shape->SetSelOption(options);
    f.shape->MouseMove({}, 1, 1);
    QCOMPARE(f.shape->Mode(), mode);
    QCOMPARE(f.shape->cursor().shape(), cursor);
}

void tst_SelShape::bottomEdgeStopsAtLimit_data()
{
    QTest::addColumn<int>("maxBottom");
    QTest::addColumn<int>("minTop");
    QTest::addColumn<int>("expectedBottom");
    QTest::newRow("parent client height") << 0 << 0 << 400;
    QTest::newRow("MaxBottom in force") << 300 << 2 << 300;
    QTest::newRow("MaxBottom not above MinTop") << 50 << 50 << 400;
}

void tst_SelShape::bottomEdgeStopsAtLimit()
{
    QFETCH(int, maxBottom);
    QFETCH(int, minTop);
    QFETCH(int, expectedBottom);
    Frame f = MakeFrame({20, 100, 200, 100});
    f.shape->SetMaxBottom(maxBottom);
    f.shape->SetMinTop(minTop);
    Drag(f.shape, {100, 98}, {100, 98 + 500});
    QCOMPARE(f.shape->y() + f.shape->height(), expectedBottom);
    QCOMPARE(f.shape->y(), 100);
    // The anchor follows the edge by the distance actually moved.
    QCOMPARE(f.shape->Anchor().y(), 98 + expectedBottom - 200);
}

void tst_SelShape::topEdgeIsAllOrNothing()
{
    Frame f = MakeFrame({20, 100, 200, 20});
    f.shape->SetMinHeight(10);
    // A jump that would leave 8 rows does not move the edge at all.
    Drag(f.shape, {100, 2}, {100, 14});
    QCOMPARE(f.shape->geometry(), QRect(20, 100, 200, 20));
    // Slower steps reach the minimum exactly; the anchor stays, the shape moved with the pointer.
    f.shape->MouseMove({}, 100, 7);
    QCOMPARE(f.shape->geometry(), QRect(20, 105, 200, 15));
    f.shape->MouseMove({}, 100, 7);
    QCOMPARE(f.shape->geometry(), QRect(20, 110, 200, 10));
    f.shape->MouseMove({}, 100, 3);
    QCOMPARE(f.shape->geometry(), QRect(20, 110, 200, 10));
    // Upward the edge stops at MinTop.
    f.shape->SetMinTop(95);
    f.shape->MouseMove({}, 100, -100);
    QCOMPARE(f.shape->geometry(), QRect(20, 95, 200, 25));
}

void tst_SelShape::moveClampedToBounds_data()
{
    QTest::addColumn<QRect>("start");
    QTest::addColumn<TSelOpt>("options");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QPoint>("expectedTopLeft");
    const TSelOpt all = kAllSelOptions;
    QTest::newRow("against MinLeft")
        << QRect(40, 50, 100, 50) << all << QPoint(-100, 0) << QPoint(10, 50);
    QTest::newRow("against parent right")
        << QRect(40, 50, 100, 50) << all << QPoint(900, 0) << QPoint(500, 50);
    QTest::newRow("wider than range: right edge wins")
        << QRect(40, 50, 650, 50) << all << QPoint(-100, 0) << QPoint(600 - 650, 50);
    QTest::newRow("against MinTop")
        << QRect(40, 50, 100, 50) << all << QPoint(0, -80) << QPoint(40, 20);
    QTest::newRow("no MoveX moves vertically only")
        << QRect(40, 50, 100, 50) << TSelOpt(all & ~SelOpt(MoveX)) << QPoint(30, 40)
        << QPoint(40, 90);
    QTest::newRow("no moves") << QRect(40, 50, 100, 50)
                              << TSelOpt(SelOpt(ResizeX) | SelOpt(ResizeY)) << QPoint(30, 40)
                              << QPoint(40, 50);
}

void tst_SelShape::moveClampedToBounds()
{
    QFETCH(QRect, start);
    QFETCH(TSelOpt, options);
    QFETCH(QPoint, delta);
    QFETCH(QPoint, expectedTopLeft);
    Frame f = MakeFrame(start);
    f.shape->SetMinLeft(10);
    f.shape->SetMinTop(20);
    f.shape->SetSelOption(options);
    const QPoint centre(start.width() / 2, start.height() / 2);
    Drag(f.shape, centre, centre + delta);
    QCOMPARE(f.shape->pos(), expectedTopLeft);
    QCOMPARE(f.shape->size(), start.size());
    QCOMPARE(f.shape->Anchor(), centre);
}

void tst_SelShape::pressWithoutHoverStartsMove()
{
    Frame f = MakeFrame({50, 50, 100, 100});
    // The press lands on a corner grip, but no move chose a zone yet.
    f.shape->MouseDown(Qt::LeftButton, {}, 1, 1);
    QVERIFY(f.shape->Dragging());
    f.shape->MouseMove({}, 11, 21);
    QCOMPARE(f.shape->geometry(), QRect(60, 70, 100, 100));
    f.shape->MouseUp(Qt::LeftButton, {}, 11, 21);
    QVERIFY(!f.shape->Dragging());
    // After the release, moves choose zones again.
    f.shape->MouseMove({}, 98, 50);
    QCOMPARE(int(f.shape->Mode()), int(SelE));
}

void tst_SelShape::rightEdgeFollowsPointerAcrossEvents()
{
    Frame f = MakeFrame({50, 50, 100, 100});
    Drag(f.shape, {98, 50}, {118, 50});
    QCOMPARE(f.shape->width(), 120);
    // The anchor moved with the edge, so the next step is relative to the new edge.
    f.shape->MouseMove({}, 128, 50);
    QCOMPARE(f.shape->width(), 130);
    // Inward past the minimum width: nothing changes for that event.
    f.shape->MouseMove({}, 0, 50);
    QCOMPARE(f.shape->width(), 130);
    f.shape->MouseMove({}, 10, 50);
    QCOMPARE(f.shape->width(), 12);
}

void tst_SelShape::shapePastBoundKeepsMinimumHeight()
{
    // The parent shrank under the shape: its top is already below the parent's bottom.
    Frame f = MakeFrame({50, 410, 100, 40});
    f.shape->MouseMove({}, 50, 38);
    f.shape->MouseDown(Qt::LeftButton, {}, 50, 38);
    f.shape->MouseMove({}, 50, 38);
    QVERIFY(f.shape->height() >= f.shape->MinHeight());
    QCOMPARE(f.shape->geometry(), QRect(50, 410, 100, 40));
    // The move zone pulls it back within the bound.
    f.shape->MouseUp(Qt::LeftButton, {}, 50, 38);
    Drag(f.shape, {50, 20}, {50, 20});
    QCOMPARE(f.shape->geometry(), QRect(50, 360, 100, 40));
}

void tst_SelShape::dragPointerHeldInsideParent()
{
    Frame f = MakeFrame({50, 50, 100, 100});
    SendMouse(f.shape, QEvent::MouseMove, {98, 50}, Qt::NoButton);
    QCOMPARE(int(f.shape->Mode()), int(SelE));
    SendMouse(f.shape, QEvent::MouseButtonPress, {98, 50}, Qt::LeftButton);
    // Far beyond the parent's right edge: the shape acts as if the pointer were at x = 599,
    // so the edge stops on the parent's edge and the anchor follows the 450 pixels it moved.
    SendMouse(f.shape, QEvent::MouseMove, {2000, 50}, Qt::LeftButton);
    QCOMPARE(f.shape->x() + f.shape->width(), 600);
    QCOMPARE(f.shape->Anchor().x(), 98 + 450);
    // Back inside, the edge follows the pointer again from that anchor.
    SendMouse(f.shape, QEvent::MouseMove, {500, 50}, Qt::LeftButton);
    QCOMPARE(f.shape->width(), 550 - 48);
    SendMouse(f.shape, QEvent::MouseButtonRelease, {2000, 50}, Qt::NoButton);
    QVERIFY(!f.shape->Dragging());
}

void tst_SelShape::outlineDottedAquaWithClearInside()
{
    Frame f = MakeFrame({0, 0, 40, 20});
    f.shape->SetPenColor(clAqua);
    f.shape->SetPenStyle(psDot);
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(0x123456);
    {
        QPainter painter(&image);
        f.shape->PaintTo(painter);
    }
    const quint32 aqua = 0x00FFFF;
    int onTop = 0, offTop = 0;
    for (int x = 0; x < 40; ++x)
        (image.pixel(x, 0) & 0xFFFFFF) == aqua ? ++onTop : ++offTop;
    QVERIFY(onTop > 10 && offTop > 10);
    QCOMPARE(image.pixel(0, 0) & 0xFFFFFF, aqua);
    // Right and bottom edges lie on the last column and row, nothing beyond; inside untouched.
    bool rightEdge = false, bottomEdge = false;
    for (int y = 0; y < 20; ++y)
        rightEdge |= (image.pixel(39, y) & 0xFFFFFF) == aqua;
    for (int x = 0; x < 40; ++x)
        bottomEdge |= (image.pixel(x, 19) & 0xFFFFFF) == aqua;
    QVERIFY(rightEdge && bottomEdge);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 39; ++x)
            QCOMPARE(image.pixel(x, y) & 0xFFFFFF, 0x123456u);
}

QUILVORO_APP_TEST_MAIN(tst_SelShape)
#include "tst_SelShape.moc"
