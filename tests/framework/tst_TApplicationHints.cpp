// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TApplication.h"
#include "framework/THintWindow.h"
#include "platform/TextOutput.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A hint window that counts how many were made, standing in for a replacement class.
class CountingHintWindow : public THintWindow
{
public:
    CountingHintWindow() { ++made; }
    static inline int made = 0;
};

// A window with two hinted buttons side by side, a child without a hint inside the first, and
// an unhinted gap between them.
struct Form
{
    Form()
    {
        window.setGeometry(100, 100, 300, 100);
        a = new QWidget(&window);
        a->setGeometry(10, 10, 100, 50);
        a->setToolTip(u"Save|Saves the logo"_s);
        inner = new QWidget(a);
        inner->setGeometry(10, 10, 30, 30);
        b = new QWidget(&window);
        b->setGeometry(150, 10, 100, 50);
        b->setToolTip(u"Load"_s);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
    QWidget* a = nullptr;
    QWidget* inner = nullptr;
    QWidget* b = nullptr;
};

TApplication& App()
{
    return *TApplication::Instance();
}

QPoint GlobalCentre(QWidget* w)
{
    return w->mapToGlobal(w->rect().center());
}

} // namespace

class tst_TApplicationHints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void init()
    {
        App().CancelHint();
        App().SetHintWindowClass(nullptr);
        App().SetShowHint(false);
        App().SetShowHint(true);
        App().OnShowHint = nullptr;
        App().OnHint = nullptr;
        App().SetHint(QString());
        App().SetHintPause(700);
        App().SetHintHidePause(3000);
        App().SetHintShortPause(40);
    }

    void qtToolTipNeverShows()
    {
        Form form;
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), form.a->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(form.a, &help);
        QVERIFY(!QToolTip::isVisible());
    }

    void hoverShowsAfterPauseAndHidesAfterHidePause()
    {
        Form form;
        QTest::mouseMove(form.a, QPoint(20, 20));
        QCOMPARE(App().HintControl(), form.a);
        QVERIFY(App().HintTimer().isActive());
        QCOMPARE(App().HintTimer().interval(), 700);
        QVERIFY(!App().HintWindow()->isVisible());

        App().HintTimerExpired();
        THintWindow* window = App().HintWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->Caption(), u"Save"_s); // the short part
        QCOMPARE(window->pos(),
                 form.a->mapToGlobal(QPoint(20, 20))
                     + QPoint(0, TApplication::kCursorHeightMargin));
        QCOMPARE(App().HintTimer().interval(), 3000);

        App().HintTimerExpired();
        QVERIFY(!window->isVisible());
        // Moving on within the same control does not bring the hint back.
        QTest::mouseMove(form.a, QPoint(60, 30));
        QVERIFY(!App().HintTimer().isActive());
        QCOMPARE(App().HintControl(), form.a);
    }

    void childWithoutHintShowsItsParentsHint()
    {
        Form form;
        QTest::mouseMove(form.inner, QPoint(5, 5));
        QCOMPARE(App().HintControl(), form.a);
        // Entering the child from its parent is no new hint.
        QTest::mouseMove(form.a, QPoint(2, 2));
        App().HintTimerExpired();
        QTest::mouseMove(form.inner, QPoint(6, 6));
        QVERIFY(App().HintWindow()->isVisible());
    }

    void nextControlWaitsShortPauseOnlyWhileAHintShows_data()
    {
        QTest::addColumn<bool>("hintTimedOut");
        QTest::addColumn<int>("expectedPause");
        QTest::newRow("hint on screen") << false << 40;
        QTest::newRow("hint ran its time out") << true << 700;
    }

    void nextControlWaitsShortPauseOnlyWhileAHintShows()
    {
        QFETCH(bool, hintTimedOut);
        QFETCH(int, expectedPause);
        Form form;
        App().HintMouseMessage(form.a, GlobalCentre(form.a));
        App().HintTimerExpired();
        if (hintTimedOut)
            App().HintTimerExpired();
        App().HintMouseMessage(form.b, GlobalCentre(form.b));
        QCOMPARE(App().HintControl(), form.b);
        QVERIFY(!App().HintWindow()->isVisible());
        QCOMPARE(App().HintTimer().interval(), expectedPause);
        App().HintTimerExpired();
        QCOMPARE(App().HintWindow()->Caption(), u"Load"_s);
    }

    void cancelledByUnhintedPlaceClickOrKey_data()
    {
        QTest::addColumn<int>("action");
        QTest::newRow("unhinted gap") << 0;
        QTest::newRow("mouse press") << 1;
        QTest::newRow("key press") << 2;
    }

    void cancelledByUnhintedPlaceClickOrKey()
    {
        QFETCH(int, action);
        Form form;
        // Each row moves to a new place: Qt drops a move to where the mouse already is.
        const QPoint at(20 + action, 20);
        QTest::mouseMove(form.a, at);
        App().HintTimerExpired();
        QVERIFY(App().HintWindow()->isVisible());
        if (action == 0)
            QTest::mouseMove(&form.window, QPoint(130, 80));
        else if (action == 1)
            QTest::mousePress(form.a, Qt::LeftButton, {}, at);
        else
            QTest::keyClick(&form.window, Qt::Key_A);
        QVERIFY(!App().HintWindow()->isVisible());
        QVERIFY(!App().HintTimer().isActive());
        QCOMPARE(App().HintControl(), nullptr);
        QVERIFY(!App().HintActive());
        if (action == 1)
            QTest::mouseRelease(form.a, Qt::LeftButton, {}, at);
    }

    void showHintHandlerChangesTextPositionOrRefuses()
    {
        Form form;
        QPoint proposed;
        App().OnShowHint = [&](QString& text, bool&, THintInfo& info) {
            QCOMPARE(info.HintControl, form.b);
            QCOMPARE(info.HintStr, u"Load"_s);
            QCOMPARE(info.HideTimeout, 3000);
            proposed = info.HintPos;
            text = u"Load a file"_s;
            info.HintPos += QPoint(5, -30);
        };
        App().HintMouseMessage(form.b, QPoint(300, 150));
        App().HintTimerExpired();
        QCOMPARE(proposed, QPoint(300, 150 + TApplication::kCursorHeightMargin));
        QCOMPARE(App().HintWindow()->pos(), proposed + QPoint(5, -30));
        QCOMPARE(App().HintWindow()->Caption(), u"Load a file"_s);

        App().OnShowHint = [](QString&, bool& canShow, THintInfo&) {
            canShow = false;
        };
        App().HintMouseMessage(form.a, GlobalCentre(form.a));
        App().HintTimerExpired();
        QVERIFY(!App().HintWindow()->isVisible());
    }

    void hintEventFollowsTheLongHintUnderTheMouse()
    {
        Form form;
        QStringList seen;
        App().OnHint = [&](QObject* sender) {
            QCOMPARE(sender, &App());
            seen << App().Hint();
        };
        QTest::mouseMove(form.inner, QPoint(3, 3));
        QTest::mouseMove(form.a, QPoint(2, 2)); // same hint: no event
        QTest::mouseMove(form.b, QPoint(5, 5));
        QTest::mouseMove(&form.window, QPoint(130, 80));
        QCOMPARE(seen, QStringList({u"Saves the logo"_s, u"Load"_s, QString()}));
    }

    void shortAndLongHint_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortHint");
        QTest::addColumn<QString>("longHint");
        QTest::newRow("plain") << u" 保存"_s << u" 保存"_s << u" 保存"_s;
        QTest::newRow("both") << u"Save|Saves it"_s << u"Save"_s << u"Saves it"_s;
        QTest::newRow("empty short") << u"|long"_s << QString() << u"long"_s;
    }

    void shortAndLongHint()
    {
        QFETCH(QString, hint);
        QFETCH(QString, shortHint);
        QFETCH(QString, longHint);
        QCOMPARE(TApplication::GetShortHint(hint), shortHint);
        QCOMPARE(TApplication::GetLongHint(hint), longHint);
    }

    void replaceableWindowClassTakesEffectWhenHintsSwitchOnAgain()
    {
        CountingHintWindow::made = 0;
        THintWindow* before = App().HintWindow();
        App().SetHintWindowClass([] { return new CountingHintWindow; });
        QCOMPARE(App().HintWindow(), before);
        App().SetShowHint(false);
        QCOMPARE(App().HintWindow(), nullptr);

        Form form;
        App().HintMouseMessage(form.a, GlobalCentre(form.a));
        App().HintTimerExpired(); // hints are off: nothing to show, nothing breaks
        QCOMPARE(App().HintControl(), nullptr);

        App().SetShowHint(true);
        QCOMPARE(CountingHintWindow::made, 1);
        QVERIFY(dynamic_cast<CountingHintWindow*>(App().HintWindow()));
        QCOMPARE(App().HintWindow()->Color(), App().HintColor());
    }

    void calcHintRectWrapsAndAddsMargins()
    {
        THintWindow window;
        const QString text = u"BMP画像ノ保存 and a longer tail of words"_s;
        QRect expected(0, 0, 1000, 0);
        DrawText(nullptr, window.CanvasFont().ToQFont(), text, expected,
                 DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        const QRect wide = window.CalcHintRect(1000, text);
        QCOMPARE(wide.size(), expected.size() + QSize(6, 2));

        const QRect narrow = window.CalcHintRect(60, text);
        QVERIFY(narrow.height() >= 2 * (wide.height() - 2) + 2);
        // "&" is shown, not taken as an accelerator prefix.
        QVERIFY(window.CalcHintRect(1000, u"a&&b"_s).width()
                > window.CalcHintRect(1000, u"a&b"_s).width());
    }

    void activationKeepsTheWindowOnTheDesktop_data()
    {
        const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QPoint>("shownAt");
        QTest::newRow("inside") << QRect(50, 60, 100, 20) << QPoint(50, 60);
        QTest::newRow("past the right")
            << QRect(desk.right() - 10, 60, 100, 20) << QPoint(desk.right() + 1 - 100, 60);
        QTest::newRow("past the bottom")
            << QRect(50, desk.bottom() - 5, 100, 20) << QPoint(50, desk.bottom() + 1 - 24);
        QTest::newRow("before the left")
            << QRect(desk.left() - 30, 60, 100, 20) << QPoint(desk.left(), 60);
        QTest::newRow("above the top")
            << QRect(50, desk.top() - 40, 100, 20) << QPoint(50, desk.top());
    }

    void activationKeepsTheWindowOnTheDesktop()
    {
        QFETCH(QRect, rect);
        QFETCH(QPoint, shownAt);
        THintWindow window;
        window.ActivateHint(rect, u"x"_s);
        QVERIFY(window.isVisible());
        QCOMPARE(window.size(), rect.size() + QSize(0, 4));
        QCOMPARE(window.pos(), shownAt);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(window.testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void keepInside_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QPoint>("topLeft");
        // A desktop of two screens, the left one at negative x.
        const QRect desk(-1280, 0, 3200, 1080);
        QTest::newRow("inside stays") << QRect(10, 10, 100, 30) << desk << QPoint(10, 10);
        QTest::newRow("right edge touches") << QRect(1820, 10, 100, 30) << desk << QPoint(1820, 10);
        QTest::newRow("past the right") << QRect(1821, 10, 100, 30) << desk << QPoint(1820, 10);
        QTest::newRow("past the bottom corner")
            << QRect(1900, 1070, 100, 30) << desk << QPoint(1820, 1050);
        QTest::newRow("before the left") << QRect(-1300, 10, 100, 30) << desk << QPoint(-1280, 10);
        QTest::newRow("wider than the desktop keeps its left edge in")
            << QRect(500, 10, 4000, 30) << desk << QPoint(-1280, 10);
        QTest::newRow("no desktop") << QRect(5000, 5000, 10, 10) << QRect() << QPoint(5000, 5000);
    }

    void keepInside()
    {
        QFETCH(QRect, rect);
        QFETCH(QRect, desktop);
        QFETCH(QPoint, topLeft);
        const QRect kept = THintWindow::KeepInside(rect, desktop);
        QCOMPARE(kept.topLeft(), topLeft);
        QCOMPARE(kept.size(), rect.size());
    }

    void plainWindowHasFrameHintColourAndText()
    {
        THintWindow window;
        window.ActivateHint(QRect(0, 0, 60, 18), u"WWWW"_s);
        QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        window.PaintTo(painter);
        painter.end();
        const QRgb frame = ToQColor(clWindowFrame).rgb();
        const QRgb fill = ToQColor(clInfoBk).rgb();
        QCOMPARE(image.pixel(0, 0), frame);
        QCOMPARE(image.pixel(59, 21), frame);
        QCOMPARE(image.pixel(57, 10), fill);
        QCOMPARE(image.pixel(2, 2), fill); // the text starts two pixels in
        int text = 0;
        for (int y = 3; y < 20; ++y)
            for (int x = 3; x < 50; ++x)
                text += qGray(image.pixel(x, y)) < 100;
        QVERIFY(text > 10);
    }
};

QUILVORO_APP_TEST_MAIN(tst_TApplicationHints)
#include "tst_TApplicationHints.moc"
