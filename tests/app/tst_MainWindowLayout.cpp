// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "framework/TTrackBar.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_MainWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void placesEveryControl_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");

        const struct
        {
            const char16_t* name;
            const char16_t* parent;
            QRect geometry;
        } rows[] = {
            {u"Image2", u"MakeForm1", {0, 200, 73, 117}},
            {u"GradBox3", u"MakeForm1", {0, 473, 802, 20}},
            {u"GradBox1", u"MakeForm1", {796, 26, 6, 447}},
            {u"GradBox4", u"MakeForm1", {0, 26, 6, 447}},
            {u"GradBox6", u"MakeForm1", {0, 0, 802, 26}},
            {u"Panel3", u"MakeForm1", {6, 26, 790, 447}},
            {u"Panel5", u"Panel3", {0, 352, 790, 95}},
            {u"Panel2", u"Panel3", {0, 0, 790, 188}},
            {u"Panel0", u"Panel3", {96, -420, 600, 368}},
            {u"Panel1", u"Panel5", {120, 172, 255, 10}},
            {u"Panel4", u"Panel5", {120, 194, 255, 10}},
            {u"Panel8", u"Panel5", {480, 193, 255, 10}},
            {u"Panel9", u"Panel5", {480, 171, 255, 10}},
            {u"Panel7", u"MakeForm1", {721, 3, 40, 19}},
            {u"Panel6", u"MakeForm1", {764, 3, 15, 19}},
            {u"Panel10", u"MakeForm1", {782, 3, 15, 19}},
            {u"Image26", u"Panel5", {0, 0, 790, 95}},
            {u"Image27", u"Panel2", {0, -68, 790, 163}},
            {u"Image1", u"Panel0", {4, 4, 592, 360}},
            {u"Bevel1", u"Panel5", {44, 96, 704, 118}},
            {u"Bevel2", u"Panel5", {392, 102, 6, 106}},
            {u"SpeedButton1", u"Panel5", {36, 64, 120, 22}},
            {u"SpeedButton2", u"Panel5", {156, 64, 120, 22}},
            {u"SpeedButton3", u"Panel5", {276, 64, 120, 22}},
            {u"SpeedButton6", u"Panel5", {396, 64, 120, 22}},
            {u"SpeedButton4", u"Panel5", {516, 64, 120, 22}},
            {u"SpeedButton5", u"Panel5", {636, 64, 120, 22}},
            {u"SpeedButton13", u"Panel5", {480, 101, 40, 20}},
            {u"SpeedButton14", u"Panel5", {520, 101, 40, 20}},
            {u"SpeedButton15", u"Panel5", {560, 101, 40, 20}},
            {u"SpeedButton17", u"Panel5", {654, 101, 40, 20}},
            {u"SpeedButton16", u"Panel5", {694, 101, 40, 20}},
            {u"SpeedButton7", u"Panel5", {480, 124, 85, 20}},
            {u"SpeedButton8", u"Panel5", {565, 124, 85, 20}},
            {u"SpeedButton9", u"Panel5", {649, 124, 85, 20}},
            {u"SpeedButton18", u"Panel5", {120, 146, 64, 20}},
            {u"SpeedButton19", u"Panel5", {184, 146, 64, 20}},
            {u"SpeedButton20", u"Panel5", {248, 146, 64, 20}},
            {u"SpeedButton21", u"Panel5", {312, 146, 64, 20}},
            {u"SpeedButton10", u"Panel5", {480, 146, 85, 20}},
            {u"SpeedButton11", u"Panel5", {565, 146, 85, 20}},
            {u"SpeedButton12", u"Panel5", {649, 146, 85, 20}},
            {u"ShineSpeedButton4", u"Panel7", {0, 0, 40, 19}},
            {u"SSButton11", u"Panel6", {0, 0, 15, 19}},
            {u"SSButton10", u"Panel10", {0, 0, 15, 19}},
            {u"Edit1", u"Panel5", {120, 102, 255, 20}},
            {u"FontComboBox1", u"Panel5", {120, 124, 255, 19}},
            {u"TrackBar1", u"Panel1", {-5, -2, 264, 12}},
            {u"TrackBar3", u"Panel4", {-5, -2, 264, 12}},
            {u"TrackBar2", u"Panel9", {-5, -2, 264, 12}},
            {u"TrackBar6", u"Panel8", {-5, -2, 264, 12}},
            {u"Label1", u"Panel0", {4, 4, 592, 360}},
            {u"SelShape1", u"Panel0", {6, 6, 588, 356}},
            {u"SLabel1", u"Panel5", {65, 105, 51, 12}},
            {u"ShadowLabel1", u"Panel5", {74, 127, 42, 12}},
            {u"ShadowLabel8", u"Panel5", {78, 149, 38, 12}},
            {u"ShadowLabel2", u"Panel5", {74, 171, 42, 12}},
            {u"ShadowLabel3", u"Panel5", {78, 193, 38, 12}},
            {u"ShadowLabel9", u"Panel5", {439, 105, 37, 12}},
            {u"ShadowLabel10", u"Panel5", {612, 105, 38, 12}},
            {u"ShadowLabel4", u"Panel5", {431, 127, 45, 12}},
            {u"ShadowLabel6", u"Panel5", {418, 149, 58, 12}},
            {u"ShadowLabel5", u"Panel5", {418, 171, 58, 12}},
            {u"ShadowLabel7", u"Panel5", {418, 193, 58, 12}},
        };
        for (const auto& row : rows) {
            QTest::newRow(QString::fromUtf16(row.name).toUtf8().constData())
                << QString::fromUtf16(row.name) << QString::fromUtf16(row.parent) << row.geometry;
        }
    }

    void placesEveryControl()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        const QWidget* control = form.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->geometry(), geometry);
    }

    void stacksPanelChildrenInCreationOrder()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const QStringList expected = {
            u"Image26"_s,       u"Bevel1"_s,        u"SLabel1"_s,       u"ShadowLabel1"_s,
            u"ShadowLabel2"_s,  u"ShadowLabel3"_s,  u"ShadowLabel6"_s,  u"ShadowLabel5"_s,
            u"ShadowLabel7"_s,  u"ShadowLabel4"_s,  u"ShadowLabel8"_s,  u"ShadowLabel9"_s,
            u"SpeedButton1"_s,  u"SpeedButton2"_s,  u"SpeedButton3"_s,  u"SpeedButton6"_s,
            u"SpeedButton4"_s,  u"SpeedButton5"_s,  u"SpeedButton18"_s, u"SpeedButton19"_s,
            u"SpeedButton20"_s, u"SpeedButton21"_s, u"SpeedButton7"_s,  u"SpeedButton8"_s,
            u"SpeedButton9"_s,  u"SpeedButton10"_s, u"SpeedButton11"_s, u"SpeedButton12"_s,
            u"SpeedButton13"_s, u"SpeedButton14"_s, u"SpeedButton15"_s, u"SpeedButton16"_s,
            u"Bevel2"_s,        u"ShadowLabel10"_s, u"SpeedButton17"_s, u"Edit1"_s,
            u"Panel1"_s,        u"Panel4"_s,        u"Panel8"_s,        u"Panel9"_s,
            u"FontComboBox1"_s,
        };
        QStringList actual;
        for (const QObject* child : form.findChild<QWidget*>(u"Panel5"_s)->children()) {
            if (child->isWidgetType() && !child->objectName().isEmpty())
                actual << child->objectName();
        }
        QCOMPARE(actual, expected);
    }

    void tabsThroughTheEditingControls()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const QStringList expected = {u"Edit1"_s,     u"FontComboBox1"_s, u"TrackBar1"_s,
                                      u"TrackBar6"_s, u"TrackBar3"_s,     u"TrackBar2"_s};
        QWidget* w = form.findChild<QWidget*>(u"Edit1"_s);
        for (qsizetype i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            // Skip the combo box's own inner widgets.
            while (w->objectName().isEmpty() || !expected.contains(w->objectName()))
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), expected.at(i));
        }
    }

    void givesButtonsTheirGroupsAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("down");
        QTest::addColumn<QString>("hint");

        QTest::newRow("new") << u"SpeedButton1"_s << 0 << false << u" ロゴノ新規作成"_s;
        QTest::newRow("bold") << u"SpeedButton18"_s << 3 << false << u" \"太字\"トスル"_s;
        QTest::newRow("strike") << u"SpeedButton21"_s << 3 << false << u" \"打消線付\"トスル"_s;
        QTest::newRow("normal label") << u"SpeedButton7"_s << 1 << true << u" \"ノーマル\"トスル"_s;
        QTest::newRow("gradation")
            << u"SpeedButton12"_s << 2 << true << u" \"グラデーション\"トスル"_s;
        QTest::newRow("text colour") << u"SpeedButton13"_s << 0 << false << u" 文字色ヲ選択"_s;
        QTest::newRow("texture") << u"SpeedButton17"_s << 0 << false
                                 << u" 文字画像(テクスチャ)ノ読込"_s;
        QTest::newRow("close") << u"SSButton10"_s << 0 << false << u" 閉ジル"_s;
    }

    void givesButtonsTheirGroupsAndHints()
    {
        QFETCH(QString, name);
        QFETCH(int, group);
        QFETCH(bool, down);
        QFETCH(QString, hint);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        auto* button = form.findChild<TShineSpeedButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->GroupIndex(), group);
        QCOMPARE(button->Down(), down);
        QCOMPARE(button->toolTip(), hint);
    }

    void holdsTrackBarRanges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("position");

        QTest::newRow("size") << u"TrackBar1"_s << 1 << 200 << 40;
        QTest::newRow("angle") << u"TrackBar3"_s << 0 << 360 << 0;
        QTest::newRow("depth") << u"TrackBar2"_s << 0 << 200 << 30;
        QTest::newRow("direction") << u"TrackBar6"_s << 0 << 7 << 0;
    }

    void holdsTrackBarRanges()
    {
        QFETCH(QString, name);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, position);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        auto* bar = form.findChild<TTrackBar*>(name);
        QCOMPARE(bar->Min(), min);
        QCOMPARE(bar->Max(), max);
        QCOMPARE(bar->Position(), position);
        bar->SetPosition(min - 5);
        QCOMPARE(bar->Position(), min);
        bar->SetPosition(max + 5);
        QCOMPARE(bar->Position(), max);
    }

    // The window keeps one size; the slide grows it, and the bars follow.
    void barsFollowTheWindowHeight()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        form.resize(500, 900);
        QCOMPARE(form.size(), QSize(802, 493));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        form.SpeedButton1Click(&form);
        WorkingWindow::RunToEnd(form.Timer1);
        QCOMPARE(form.size(), QSize(802, 621));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.findChild<QWidget*>(u"GradBox3"_s)->geometry(), QRect(0, 601, 802, 20));
        QCOMPARE(form.findChild<QWidget*>(u"GradBox1"_s)->geometry(), QRect(796, 26, 6, 575));
        QCOMPARE(form.findChild<QWidget*>(u"Panel3"_s)->geometry(), QRect(6, 26, 790, 575));
    }
};

QUILVORO_APP_TEST_MAIN(tst_MainWindowLayout)
#include "tst_MainWindowLayout.moc"
