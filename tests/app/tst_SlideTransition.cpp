// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "framework/TEdit.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Ticks a timer's handler until the timer stops itself; returns the number of ticks.
int RunToEnd(TTimer* timer, int limit = 200)
{
    int ticks = 0;
    while (timer->Enabled() && ticks < limit) {
        timer->Tick();
        ++ticks;
    }
    return ticks;
}

// A logo file with `text`, written by the window.
void WriteLogo(const QString& file, const QString& text)
{
    TMakeForm1 writer(u"/opt/q/quilvoro"_s);
    writer.Edit1->SetText(text);
    writer.SaveLogoFile(file);
}

struct Geometry
{
    int windowTop, windowHeight, panelTop, lowerHeight, headerTop;
};

Geometry Snapshot(const TMakeForm1& form)
{
    return {form.y(), form.height(), form.Panel0->y(), form.Panel5->height(), form.Image27->y()};
}

} // namespace

class tst_SlideTransition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void init()
    {
        TestEnvironment::PlayedSounds().clear();
        QDir::setCurrent(FWork.path());
    }

    void firstNewOpensTheWindow()
    {
        TestDialogs dialogs; // the changed text is thrown away without a real question
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.move(100, 200);
        form.Edit1->SetText(u"Changed"_s);
        form.SpeedButton1Click(&form);
        QVERIFY(form.Timer1->Enabled());
        QCOMPARE(RunToEnd(form.Timer1), 33);
        const Geometry g = Snapshot(form);
        QCOMPARE(g.panelTop, 28);
        QCOMPARE(g.windowHeight, 621);
        QCOMPARE(g.windowTop, 200 - 32);
        QCOMPARE(g.lowerHeight, 223);
        QCOMPARE(g.headerTop, -4);
        QCOMPARE(form.Edit1->Text(), u"Tamrin - Quilvoro"_s);
        QCOMPARE(TestEnvironment::PlayedSounds().size(), 1);
        QCOMPARE(form.Timer1->Tag(), 0);
        QVERIFY(!form.ActionDone());
    }

    void newInViewEndsWhereItBegan()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SpeedButton1Click(&form);
        RunToEnd(form.Timer1);
        const Geometry before = Snapshot(form);
        TestEnvironment::PlayedSounds().clear();

        form.SpeedButton1Click(&form);
        int ticks = 0;
        // The sound waits for the turning point, after 32 slide-out ticks.
        for (; ticks < 32; ++ticks)
            form.Timer1->Tick();
        QVERIFY(TestEnvironment::PlayedSounds().isEmpty());
        QCOMPARE(form.Panel0->y(), -420);
        ticks += RunToEnd(form.Timer1);
        QCOMPARE(ticks, 65);
        QCOMPARE(TestEnvironment::PlayedSounds().size(), 1);
        const Geometry after = Snapshot(form);
        QCOMPARE(after.windowTop, before.windowTop);
        QCOMPARE(after.windowHeight, before.windowHeight);
        QCOMPARE(after.panelTop, before.panelTop);
        QCOMPARE(after.lowerHeight, before.lowerHeight);
        QCOMPARE(after.headerTop, before.headerTop);
    }

    void cancelledLoadChangesNothing()
    {
        TestDialogs dialogs; // no answer queued: the dialog is cancelled
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.Edit1->SetText(u"Mine"_s);
        form.SpeedButton2Click(&form);
        QCOMPARE(RunToEnd(form.Timer2), 33);
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(dialogs.fileRequests.first().title, u"ロゴデータノ読込"_s);
        QCOMPARE(dialogs.fileRequests.first().defaultExt, u"qvd"_s);
        QVERIFY(TestEnvironment::PlayedSounds().isEmpty());
        QCOMPARE(form.Edit1->Text(), u"Mine"_s);
        QCOMPARE(form.Panel0->y(), 28);
    }

    void confirmedLoadSoundsThenReads()
    {
        const QString file = FWork.filePath(u"logo.qvd"_s);
        WriteLogo(file, u"From file"_s);
        TestDialogs dialogs;
        dialogs.fileAnswers.push_back(file);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SpeedButton2Click(&form);
        RunToEnd(form.Timer2);
        QCOMPARE(form.Edit1->Text(), u"From file"_s);
        QCOMPARE(TestEnvironment::PlayedSounds().size(), 1);
    }

    void soundFallsBackToTheProgramFolder()
    {
        // The dialog moved the working folder away from any updown.wav: the program's own copy
        // plays instead.
        QTemporaryDir programDir;
        TMakeForm1 form(programDir.filePath(u"quilvoro"_s));
        form.SpeedButton1Click(&form);
        RunToEnd(form.Timer1);
        QCOMPARE(TestEnvironment::PlayedSounds(),
                 QStringList {programDir.path() + u"/updown.wav"_s});

        QFile wav(FWork.filePath(u"updown.wav"_s));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.close();
        TestEnvironment::PlayedSounds().clear();
        form.SpeedButton1Click(&form);
        RunToEnd(form.Timer1);
        QCOMPARE(TestEnvironment::PlayedSounds(), QStringList {u"updown.wav"_s});
        wav.remove();
    }

    void aLateWindowManagerLeavesNoDrift_data()
    {
        // How the window manager answers each step: with the geometry of `lag` steps before
        // (0: it refuses every step and keeps the first), and whether one more stale answer
        // lands after the slide.
        QTest::addColumn<int>("lag");
        QTest::addColumn<bool>("staleAfterEnd");
        QTest::newRow("refuses every step") << 0 << false;
        QTest::newRow("one step late") << 1 << false;
        QTest::newRow("three steps late") << 3 << false;
        QTest::newRow("late, and once more after the end") << 2 << true;
    }

    void aLateWindowManagerLeavesNoDrift()
    {
        QFETCH(int, lag);
        QFETCH(bool, staleAfterEnd);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.move(100, 300);
        form.show();
        QList<QRect> asked {form.geometry()};
        const auto slide = [&](TTimer* timer, auto start) {
            start();
            for (int ticks = 0; timer->Enabled() && ticks < 200; ++ticks) {
                timer->Tick();
                if (form.geometry() == asked.last())
                    continue;
                asked.append(form.geometry());
                const qsizetype applied =
                    lag == 0 ? 0 : std::max<qsizetype>(0, asked.size() - 1 - lag);
                form.setGeometry(asked.at(applied));
            }
        };
        // first New, New from the working window, then Load: three slides, each one late
        for (int round = 0; round < 2; ++round)
            slide(form.Timer1, [&] { form.SpeedButton1Click(&form); });
        const QString logo = FWork.filePath(u"late.qvd"_s);
        WriteLogo(logo, u"Late"_s);
        form.LoadWithTransition(logo);
        slide(form.Timer2, [] {});
        if (staleAfterEnd)
            form.setGeometry(asked.at(asked.size() - 2));
        QCOMPARE(form.size(), QSize(802, 621));
        QCOMPARE(form.Panel0->y(), 28);
        QCOMPARE(form.Panel5->height(), 223);
        QCOMPARE(form.Image27->y(), -4);
    }

    void aFileFromOutsideSlidesInWithItsLogo()
    {
        const QString file = FWork.filePath(u"outside.qvd"_s);
        WriteLogo(file, u"From outside"_s);
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.move(100, 200);
        form.LoadWithTransition(file);
        QCOMPARE(RunToEnd(form.Timer2), 33);
        QVERIFY(dialogs.fileRequests.isEmpty());
        QCOMPARE(form.Edit1->Text(), u"From outside"_s);
        QCOMPARE(form.Panel0->y(), 28);
        QCOMPARE(form.height(), 621);
        QVERIFY(!form.History->IsModified());

        // New afterwards is the New of a working window: out, reset, in; nothing to ask
        form.SpeedButton1Click(&form);
        QCOMPARE(RunToEnd(form.Timer1), 65);
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(form.Edit1->Text(), u"Tamrin - Quilvoro"_s);
        QCOMPARE(form.Panel0->y(), 28);
        QCOMPARE(form.pos(), QPoint(100, 200 - 32));
    }

private:
    QTemporaryDir FWork;
};

QUILVORO_APP_TEST_MAIN(tst_SlideTransition)
#include "tst_SlideTransition.moc"
