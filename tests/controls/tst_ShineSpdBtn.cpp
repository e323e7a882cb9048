// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineSpdBtn.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Host
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QList<TShineSpeedButton*> buttons;
    QList<int> clicks;

    Host() { window->resize(300, 120); }

    TShineSpeedButton* Add(int group, QWidget* parent = nullptr)
    {
        auto* b = new TShineSpeedButton(parent ? parent : window.get());
        b->setGeometry(10 + 50 * int(buttons.size()), 10, 40, 20);
        b->SetGroupIndex(group);
        const int index = int(buttons.size());
        clicks.append(0);
        b->OnClick = [this, index](QObject*) {
            ++clicks[index];
        };
        buttons.append(b);
        return b;
    }

    void Show()
    {
        // Keep the pointer away from every button unless a test puts it there.
        QCursor::setPos(window->mapToGlobal(QPoint(290, 110)));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }
};

// The second press of a double click, as the platform delivers it after the first click.
void DoubleClick(TShineSpeedButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &dbl);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
}

void Click(TShineSpeedButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
}

QList<bool> Downs(const Host& host)
{
    QList<bool> downs;
    for (const TShineSpeedButton* b : host.buttons)
        downs.append(b->Down());
    return downs;
}

} // namespace

class tst_ShineSpdBtn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void ungroupedButtonNeverStaysDown();
    void groupClicks_data();
    void groupClicks();
    void settingDownRaisesOthersButNeverLowersExclusiveMember();
    void allowAllUpIsCopiedToTheWholeGroup();
    void groupsDoNotReachAcrossParents();
    void layoutReadingOrderAnnouncesEachProperty();
    void releaseOutsideFiresNoClickAndKeepsDown();
    void rightButtonOnlyFiresMouseEvents();
    void clickDownHookLooksPressedWhileHandlerRuns();
    void clickDownHookRestoresLookWhenHandlerThrows();
    void disablingADownButtonRaisesIt();
    void enterAndLeaveSwitchTheActiveLook();
    void leavePollCatchesALostLeave();
    void captureElsewhereKeepsButtonInactive();
    void enterAndLeaveEventsFireForDisabledButton();
    void acceleratorTogglesDownAndClicks();
    void doubleClickFiresOnlyWhenDown();
    void colorSetAssignNotifies();
};

void tst_ShineSpdBtn::ungroupedButtonNeverStaysDown()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    host.Show();
    b->SetDown(true);
    QVERIFY(!b->Down());
    Click(b);
    QCOMPARE(host.clicks[0], 1);
    QVERIFY(!b->Down());
    QVERIFY(!b->MouseHeld());
}

void tst_ShineSpdBtn::groupClicks_data()
{
    QTest::addColumn<bool>("allowAllUp");
    QTest::addColumn<QList<int>>("sequence");
    QTest::addColumn<QList<bool>>("downs");
    QTest::addColumn<QList<int>>("clicks");

    QTest::newRow("exclusive: first click latches")
        << false << QList<int> {0} << QList<bool> {true, false, false} << QList<int> {1, 0, 0};
    QTest::newRow("exclusive: clicking the down member keeps it down")
        << false << QList<int> {0, 0} << QList<bool> {true, false, false} << QList<int> {2, 0, 0};
    QTest::newRow("exclusive: another member raises the first")
        << false << QList<int> {0, 2} << QList<bool> {false, false, true} << QList<int> {1, 0, 1};
    QTest::newRow("all-up: clicking the down member raises it")
        << true << QList<int> {1, 1} << QList<bool> {false, false, false} << QList<int> {0, 2, 0};
    QTest::newRow("all-up: still exclusive among members")
        << true << QList<int> {1, 0} << QList<bool> {true, false, false} << QList<int> {1, 1, 0};
}

void tst_ShineSpdBtn::groupClicks()
{
    QFETCH(bool, allowAllUp);
    QFETCH(QList<int>, sequence);
    QFETCH(QList<bool>, downs);
    QFETCH(QList<int>, clicks);

    Host host;
    for (int i = 0; i < 3; ++i)
        host.Add(1);
    host.buttons[0]->SetAllowAllUp(allowAllUp);
    host.Show();
    for (int index : sequence)
        Click(host.buttons[index]);
    QCOMPARE(Downs(host), downs);
    QCOMPARE(host.clicks, clicks);
    for (const TShineSpeedButton* b : host.buttons)
        QVERIFY(!b->MouseHeld());
}

void tst_ShineSpdBtn::settingDownRaisesOthersButNeverLowersExclusiveMember()
{
    Host host;
    TShineSpeedButton* a = host.Add(2);
    TShineSpeedButton* b = host.Add(2);
    a->SetDown(true);
    QCOMPARE(a->DrawState(), shsDown);
    b->SetDown(true);
    QCOMPARE(Downs(host), (QList<bool> {false, true}));
    QCOMPARE(a->DrawState(), shsUp);
    b->SetDown(false); // the down member of an exclusive group cannot be raised directly
    QVERIFY(b->Down());
    QCOMPARE(host.clicks, (QList<int> {0, 0}));
}

void tst_ShineSpdBtn::allowAllUpIsCopiedToTheWholeGroup()
{
    Host host;
    TShineSpeedButton* a = host.Add(3);
    TShineSpeedButton* b = host.Add(3);
    TShineSpeedButton* other = host.Add(4);
    a->SetAllowAllUp(true);
    QVERIFY(b->AllowAllUp());
    QVERIFY(!other->AllowAllUp());
    b->SetDown(true);
    b->SetDown(false);
    QVERIFY(!b->Down());
    b->SetAllowAllUp(false);
    QVERIFY(!a->AllowAllUp());
}

void tst_ShineSpdBtn::groupsDoNotReachAcrossParents()
{
    Host host;
    auto* panel = new QWidget(host.window.get());
    TShineSpeedButton* a = host.Add(1);
    TShineSpeedButton* b = host.Add(1, panel);
    b->SetDown(true);
    a->SetAllowAllUp(true);
    a->SetDown(true);
    QVERIFY(a->Down());
    QVERIFY(b->Down());
    QVERIFY(!b->AllowAllUp());
}

void tst_ShineSpdBtn::layoutReadingOrderAnnouncesEachProperty()
{
    // As the layout is read: GroupIndex, then Down, then AllowAllUp near the end.
    Host host;
    TShineSpeedButton* first = host.Add(0);
    first->SetGroupIndex(5);
    first->SetDown(true);
    first->SetAllowAllUp(true);

    TShineSpeedButton* second = host.Add(0);
    second->SetGroupIndex(5);
    QVERIFY(!first->AllowAllUp()); // the newcomer announces its default
    QVERIFY(first->Down());
    second->SetDown(true);
    QVERIFY(!first->Down());
    second->SetAllowAllUp(true);
    QVERIFY(first->AllowAllUp());
}

void tst_ShineSpdBtn::releaseOutsideFiresNoClickAndKeepsDown()
{
    Host host;
    TShineSpeedButton* b = host.Add(1);
    host.Show();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->DrawState(), shsDownActive);
    QVERIFY(b->MouseHeld());
    QTest::mouseMove(b, QPoint(60, 5));
    QCOMPARE(b->DrawState(), shsUp);
    QTest::mouseMove(b, QPoint(39, 19));
    QCOMPARE(b->DrawState(), shsDownActive);
    QTest::mouseMove(b, QPoint(40, 5));
    QCOMPARE(b->DrawState(), shsUp);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(40, 5));
    QCOMPARE(host.clicks[0], 0);
    QVERIFY(!b->Down());
    QVERIFY(!b->MouseHeld());
    QCOMPARE(b->DrawState(), shsUp); // tracking found the pointer elsewhere
}

void tst_ShineSpdBtn::rightButtonOnlyFiresMouseEvents()
{
    Host host;
    TShineSpeedButton* b = host.Add(1);
    QList<int> events;
    b->OnMouseDown = [&](QObject*, TMouseButton button, TShiftState shift, int, int) {
        events << 1;
        QCOMPARE(button, mbRight);
        QVERIFY(shift & ssRight);
    };
    b->OnMouseUp = [&](QObject*, TMouseButton button, TShiftState, int, int) {
        events << 2;
        QCOMPARE(button, mbRight);
    };
    host.Show();
    QTest::mousePress(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(b->DrawState(), shsUp);
    QVERIFY(!b->MouseHeld());
    QTest::mouseRelease(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(events, (QList<int> {1, 2}));
    QCOMPARE(host.clicks[0], 0);
    QVERIFY(!b->Down());
}

void tst_ShineSpdBtn::clickDownHookLooksPressedWhileHandlerRuns()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    b->SetClickDownHook(true);
    b->PressedColors()->SetColor(clRed);
    b->Colors()->SetColor(clBlue);
    b->SetUpFrame(false);
    b->SetActiveFrame(false);
    host.Show();

    TShineDrawState during = shsDisabled;
    QRgb centre = 0;
    b->OnClick = [&](QObject* sender) {
        QCOMPARE(sender, b);
        during = b->DrawState();
        // What the screen shows while a slow handler runs.
        QImage shot(b->size(), QImage::Format_RGB32);
        QPainter painter(&shot);
        b->PaintTo(painter);
        centre = shot.pixel(20, 10);
    };
    const TShineDrawState before = b->DrawState();
    b->Click();
    QCOMPARE(during, shsDownActive);
    QCOMPARE(centre & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(b->DrawState(), before);
}

void tst_ShineSpdBtn::clickDownHookRestoresLookWhenHandlerThrows()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    b->SetClickDownHook(true);
    b->OnClick = [](QObject*) {
        throw std::runtime_error("disk full");
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, b->Click());
    QCOMPARE(b->DrawState(), shsUp);
}

void tst_ShineSpdBtn::disablingADownButtonRaisesIt()
{
    Host host;
    TShineSpeedButton* b = host.Add(1);
    host.Show();
    b->SetDown(true);
    b->setEnabled(false);
    QVERIFY(!b->Down());
    QCOMPARE(b->DrawState(), shsDisabled);
    b->setEnabled(true);
    QCOMPARE(b->DrawState(), shsUp);

    b->setEnabled(false);
    QCursor::setPos(b->mapToGlobal(QPoint(20, 10)));
    b->setEnabled(true);
    QCOMPARE(b->DrawState(), shsUpActive);
    QVERIFY(b->MouseInside());
}

void tst_ShineSpdBtn::enterAndLeaveSwitchTheActiveLook()
{
    Host host;
    TShineSpeedButton* b = host.Add(1);
    host.Show();
    b->SetDown(true);
    b->MouseEnter(0, 5, 5);
    QCOMPARE(b->DrawState(), shsDownActive);
    QVERIFY(b->ActiveButtonTimer()->isActive());
    b->MouseLeave(0, -1, 5);
    QCOMPARE(b->DrawState(), shsDown);
    QVERIFY(!b->ActiveButtonTimer()->isActive());
    QVERIFY(!b->MouseInside());
}

void tst_ShineSpdBtn::leavePollCatchesALostLeave()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    host.Show();
    QCursor::setPos(b->mapToGlobal(QPoint(20, 10)));
    b->UpdateTracking();
    QCOMPARE(b->DrawState(), shsUpActive);
    QCOMPARE(b->ActiveButtonTimer()->interval(), 200);
    b->ActiveButtonTimerOnTimer(); // pointer still inside: nothing changes
    QCOMPARE(b->DrawState(), shsUpActive);
    QVERIFY(b->ActiveButtonTimer()->isActive());

    // Move the pointer off without delivering the leave.
    {
        const QSignalBlocker quiet(b);
        b->setAttribute(Qt::WA_UnderMouse, false);
    }
    QCursor::setPos(b->mapToGlobal(QPoint(45, 10)));
    b->ActiveButtonTimerOnTimer();
    QCOMPARE(b->DrawState(), shsUp);
    QVERIFY(!b->ActiveButtonTimer()->isActive());
}

void tst_ShineSpdBtn::captureElsewhereKeepsButtonInactive()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    auto* other = new QWidget(host.window.get());
    other->setGeometry(200, 60, 20, 20);
    host.Show();
    other->grabMouse();
    b->MouseEnter(0, 5, 5);
    other->releaseMouse();
    QCOMPARE(b->DrawState(), shsUp);
    QVERIFY(!b->MouseInside());
}

void tst_ShineSpdBtn::enterAndLeaveEventsFireForDisabledButton()
{
    Host host;
    TShineSpeedButton* b = host.Add(0);
    int enters = 0;
    int leaves = 0;
    b->OnMouseEnter = [&](QObject*, TShiftState, int, int) {
        ++enters;
    };
    b->OnMouseLeave = [&](QObject*, TShiftState, int, int) {
        ++leaves;
    };
    b->setEnabled(false);
    b->MouseEnter(0, 1, 1);
    b->MouseLeave(0, 1, 1);
    b->MouseLeave(0, 1, 1);
    QCOMPARE(enters, 1);
    QCOMPARE(leaves, 2);
    QCOMPARE(b->DrawState(), shsDisabled);
}

void tst_ShineSpdBtn::acceleratorTogglesDownAndClicks()
{
    Host host;
    TShineSpeedButton* b = host.Add(7);
    b->SetCaption(QStringLiteral("&Go"));
    b->SetAccelCharDown(true);
    b->SetAllowAllUp(true);
    QVERIFY(!b->CMDialogChar(u'g')); // not showing yet
    host.Show();
    QVERIFY(!b->CMDialogChar(u'o'));
    QVERIFY(b->CMDialogChar(u'G'));
    QVERIFY(b->Down());
    QCOMPARE(host.clicks[0], 1);

    // The key itself, as the user presses it in the window.
    host.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host.window.get()));
    QTest::keyClick(host.window.get(), Qt::Key_G, Qt::AltModifier);
    QVERIFY(!b->Down());
    QCOMPARE(host.clicks[0], 2);

    b->setEnabled(false);
    QVERIFY(!b->CMDialogChar(u'g'));
}

void tst_ShineSpdBtn::doubleClickFiresOnlyWhenDown()
{
    Host host;
    TShineSpeedButton* b = host.Add(1);
    int doubles = 0;
    b->OnDblClick = [&](QObject*) {
        ++doubles;
    };
    host.Show();
    DoubleClick(b);
    QVERIFY(b->Down()); // second press of an exclusive group leaves it down
    QCOMPARE(doubles, 1);

    TShineSpeedButton* plain = host.Add(0);
    int plainDoubles = 0;
    plain->OnDblClick = [&](QObject*) {
        ++plainDoubles;
    };
    DoubleClick(plain);
    QCOMPARE(plainDoubles, 0);
}

void tst_ShineSpdBtn::colorSetAssignNotifies()
{
    TShineBtnColors source;
    source.SetColor(clRed);
    source.SetGradation(true);
    source.SetDarkShadow(clNavy);
    TShineBtnColors target;
    int changes = 0;
    target.OnChange = [&](TShineBtnColors* sender) {
        QCOMPARE(sender, &target);
        ++changes;
    };
    target.SetShadow(clBtnShadow); // unchanged value: no notice
    QCOMPARE(changes, 0);
    source.AssignTo(target);
    QCOMPARE(changes, 1);
    QCOMPARE(target.Color(), clRed);
    QVERIFY(target.Gradation());
    QCOMPARE(target.DarkShadow(), clNavy);
    QCOMPARE(target.Highlight(), clBtnHighlight);

    Host host;
    TShineSpeedButton* b = host.Add(0);
    b->SetColors(&source);
    QCOMPARE(b->Colors()->Color(), clRed);
    b->SetColors(nullptr);
    b->SetFont(nullptr);
    QCOMPARE(b->Font()->Color(), clBtnText);
    QCOMPARE(b->ActiveFont()->Color(), clHighlight);
    QCOMPARE(b->PressedColors()->Color(), clBtnHighlight);
}

QUILVORO_APP_TEST_MAIN(tst_ShineSpdBtn)
#include "tst_ShineSpdBtn.moc"
