// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "controls/NewHint.h"
#include "controls/ShadoLbl.h"
#include "framework/THintWindow.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_MainWindowHints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void init() { TApplication::Instance()->CancelHint(); }

    void setsTheApplicationsHintTimings()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const TApplication* app = TApplication::Instance();
        QCOMPARE(TAppHint::Current(), form.AppHint1);
        QCOMPARE(app->HintPause(), 500);
        QCOMPARE(app->HintHidePause(), 2500);
        QCOMPARE(app->HintShortPause(), 0);
        QCOMPARE(form.AppHint1->HintStyle(), hsRoundRect);
    }

    void showsEveryHintInTheRoundedWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("hint");
        QTest::newRow("button") << u"SpeedButton13"_s << u" 文字色ヲ選択"_s;
        QTest::newRow("edit box") << u"Edit1"_s << u" 文字列ヲ入力"_s;
        QTest::newRow("font list") << u"FontComboBox1"_s << u" フォントヲ選択"_s;
        // a track bar's hint also shows its value
        QTest::newRow("track bar") << u"TrackBar2"_s << u" 影ノ深度ヲ調整　影ノ深度: 30"_s;
        QTest::newRow("selection frame") << u"SelShape1"_s << u" BMP画像ノ保存領域"_s;
        QTest::newRow("title button") << u"SSButton11"_s << u" 最小化"_s;
    }

    void showsEveryHintInTheRoundedWindow()
    {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        TApplication* app = TApplication::Instance();
        auto* widget = form.findChild<QWidget*>(control);
        QVERIFY(widget);
        app->HintMouseMessage(widget, widget->mapToGlobal(widget->rect().center()));
        QCOMPARE(app->HintTimer().interval(), 500);
        app->HintTimerExpired();
        auto* window = dynamic_cast<THintEx*>(app->HintWindow());
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->Caption(), hint);
        QCOMPARE(app->HintTimer().interval(), 2500);
        // A navy box with a blue outline around the text.
        const QImage look = window->grab().toImage();
        int navy = 0;
        int blue = 0;
        for (int y = 0; y < look.height(); ++y) {
            for (int x = 0; x < look.width(); ++x) {
                navy += (look.pixel(x, y) & 0xFFFFFF) == 0x000080u;
                blue += (look.pixel(x, y) & 0xFFFFFF) == 0x0000FFu;
            }
        }
        QVERIFY(navy > look.width() * look.height() / 4);
        QVERIFY(blue >= 2 * (look.width() - 16));
        app->HintTimerExpired();
        QVERIFY(!window->isVisible());
    }

    void captionsShowWhiteTextOverABlackShadow()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const QList<TShadowLabel*> captions = form.findChildren<TShadowLabel*>();
        QCOMPARE(captions.size(), 11);
        for (TShadowLabel* label : captions) {
            QVERIFY(label->Transparent());
            QCOMPARE(label->Layout(), tlCenter);
            QCOMPARE(label->Font()->Color(), clWhite);
            QCOMPARE(label->Font()->Style(), TFontStyles(fsBold));
            QVERIFY(label->Shadow()->Visible());
            QCOMPARE(label->Shadow()->Color(), clBlack);
            QVERIFY(!label->Highlight()->Visible());
            QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
            QVERIFY(label->toolTip().isEmpty());
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_MainWindowHints)
#include "tst_MainWindowHints.moc"
