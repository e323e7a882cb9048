// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "framework/TApplication.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Counts the presses that reach the window's own surface, where they start a drag.
class PressCounter : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::MouseButtonPress;
        return false;
    }
};

} // namespace

class tst_MainWindowShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void init() { TestEnvironment::OpenedTargets().clear(); }

    void hasTheWindowProperties()
    {
        TMakeForm1 form(u"/opt/q/bin/quilvoro"_s);
        QCOMPARE(MakeForm1, &form);
        QCOMPARE(form.size(), QSize(802, 493));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.windowTitle(), u"Quilvoro 2.5"_s);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(0xC2, 0xE9, 0xFE));
    }

    void opensReadmeAndInformationPage_data()
    {
        QTest::addColumn<QString>("programPath");
        QTest::addColumn<QString>("readme");
        QTest::addColumn<QString>("query");

        QTest::newRow("linux install") << u"/opt/q/bin/quilvoro"_s << u"/opt/q/bin/Readme.txt"_s
                                       << u"info.php?pf=w&sn=quilvoro"_s;
        QTest::newRow("dotted name") << u"C:\\Tools\\My.Logo.exe"_s << u"C:\\Tools/Readme.txt"_s
                                     << u"info.php?pf=w&sn=My.Logo"_s;
        QTest::newRow("drive root")
            << u"C:\\x.exe"_s << u"C:\\/Readme.txt"_s << u"info.php?pf=w&sn=x"_s;
    }

    void opensReadmeAndInformationPage()
    {
        QFETCH(QString, programPath);
        QFETCH(QString, readme);
        QFETCH(QString, query);
        TMakeForm1 form(programPath);
        form.SpeedButton4Click(nullptr);
        form.ShineSpeedButton4Click(nullptr);
        QCOMPARE(TestEnvironment::OpenedTargets().size(), 2);
        QCOMPARE(TestEnvironment::OpenedTargets().at(0), readme);
        QVERIFY(TestEnvironment::OpenedTargets().at(1).endsWith(u'/' + query));
        QVERIFY(TestEnvironment::OpenedTargets().at(1).startsWith(u"https://"_s));
    }

    void onlyTheBarsDragTheWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("reachesWindow");
        QTest::newRow("title bar") << u"GradBox6"_s << true;
        QTest::newRow("bottom bar") << u"GradBox3"_s << true;
        QTest::newRow("left bar") << u"GradBox4"_s << true;
        QTest::newRow("lower panel") << u"Panel5"_s << false;
        QTest::newRow("lower panel picture") << u"Image26"_s << false;
        QTest::newRow("header picture") << u"Image27"_s << false;
        QTest::newRow("title button frame") << u"Panel7"_s << false;
    }

    void onlyTheBarsDragTheWindow()
    {
        QFETCH(QString, control);
        QFETCH(bool, reachesWindow);
        TMakeForm1 form(u"/opt/q/bin/quilvoro"_s);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PressCounter counter;
        form.installEventFilter(&counter);
        auto* widget = form.findChild<QWidget*>(control);
        QVERIFY(widget);
        QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(counter.presses > 0, reachesWindow);
    }

    void theWindowMovesOnlyPastTheDragDistance_data()
    {
        // Pointer moves with the button held, from the press; and how far the window goes.
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<QPoint>("moved");
        const int d = QApplication::startDragDistance();
        QTest::newRow("a click") << QList<QPoint> {} << QPoint();
        QTest::newRow("a wobble of one pixel") << QList<QPoint> {{1, 0}, {0, 1}} << QPoint();
        QTest::newRow("just short of the distance")
            << QList<QPoint> {{d - 1, 0}, {0, d - 1}} << QPoint();
        QTest::newRow("at the distance") << QList<QPoint> {{d, 0}} << QPoint(d, 0);
        // once moving, the window keeps the grab point under the pointer
        QTest::newRow("slowly past the distance")
            << QList<QPoint> {{2, 1}, {d - 2, 1}, {d + 5, 3}, {d + 40, -7}} << QPoint(d + 40, -7);
        QTest::newRow("one long move") << QList<QPoint> {{50, 40}} << QPoint(50, 40);
    }

    void theWindowMovesOnlyPastTheDragDistance()
    {
        QFETCH(QList<QPoint>, moves);
        QFETCH(QPoint, moved);
        TMakeForm1 form(u"/opt/q/bin/quilvoro"_s);
        form.move(200, 200);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint start = form.pos();
        QWidget* bar = form.findChild<QWidget*>(u"GradBox6"_s);
        const QPoint press(300, 10);
        const QPoint pressGlobal = bar->mapToGlobal(press);
        QTest::mousePress(bar, Qt::LeftButton, {}, press);
        for (const QPoint& offset : moves) {
            const QPoint global = pressGlobal + offset;
            QMouseEvent move(QEvent::MouseMove, bar->mapFromGlobal(QPointF(global)),
                             QPointF(global), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(bar, &move);
        }
        const QPoint last = pressGlobal + (moves.isEmpty() ? QPoint() : moves.last());
        QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromGlobal(last));
        QCOMPARE(form.pos(), start + moved);
    }

    void minimisesAndCloses()
    {
        TMakeForm1 form(u"/opt/q/bin/quilvoro"_s);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SSButton11Click(nullptr);
        QVERIFY(form.windowState() & Qt::WindowMinimized);
        form.SpeedButton5Click(nullptr);
        QVERIFY(!form.isVisible());
    }
};

QUILVORO_APP_TEST_MAIN(tst_MainWindowShell)
#include "tst_MainWindowShell.moc"
