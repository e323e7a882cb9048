// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TEdit.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <functional>

using namespace Qt::StringLiterals;
using namespace WorkingWindow;

namespace {

using TChange = std::function<void(TMakeForm1&, TestDialogs&, const QString& picture)>;

// What the preview shows: the label over the background image.
QImage Preview(TMakeForm1& form)
{
    return form.Panel0->grab().toImage();
}

void PressKey(QWidget* widget, Qt::Key key, int times = 1)
{
    widget->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(widget, key);
}

// Drags a track bar's thumb from one x to another in steps.
void Drag(TTrackBar* bar, int fromX, int toX)
{
    const int y = bar->height() / 2;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(fromX, y));
    const int step = fromX < toX ? 10 : -10;
    for (int x = fromX; (step > 0 ? x < toX : x > toX); x += step)
        QTest::mouseMove(bar, QPoint(x, y));
    QTest::mouseMove(bar, QPoint(toX, y));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(toX, y));
}

// A smaller frame, with room to move in every direction, and no step in the history.
void RoomForTheFrame(TMakeForm1& form)
{
    form.SelShape1->setGeometry(100, 80, 200, 150);
    form.History->Record(TLogoHistory::hkOther);
    form.History->Stack()->clear();
}

// Drags the selection frame with the mouse: a hover at `grab` (in the frame) chooses the zone,
// then the button goes down there and the pointer passes through `offsets` from it.
void DragFrame(TSelShape* frame, QPoint grab, const QList<QPoint>& offsets)
{
    QTest::mouseMove(frame, grab);
    const QPoint pressed = frame->mapToGlobal(grab);
    QTest::mousePress(frame, Qt::LeftButton, {}, grab);
    for (const QPoint& offset : offsets)
        QTest::mouseMove(frame, frame->mapFromGlobal(pressed + offset));
    const QPoint last = pressed + (offsets.isEmpty() ? QPoint() : offsets.last());
    QTest::mouseRelease(frame, Qt::LeftButton, {}, frame->mapFromGlobal(last));
}

} // namespace

Q_DECLARE_METATYPE(TChange)

class tst_LogoHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        FPicture = FWork.filePath(u"picture.bmp"_s);
        QVERIFY(picture.save(FPicture, "BMP"));
    }

    void undoesAndRedoesEveryKindOfChange_data()
    {
        QTest::addColumn<TChange>("change");
        QTest::newRow("text") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            f.Edit1->setFocus();
            QTest::keyClicks(f.Edit1, u"!"_s);
        });
        QTest::newRow("face") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            f.FontComboBox1->SetSelectedFont(u"DejaVu Serif"_s);
        });
        QTest::newRow("bold") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            QTest::mouseClick(f.SpeedButton18, Qt::LeftButton);
        });
        QTest::newRow("outline") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            QTest::mouseClick(f.SpeedButton8, Qt::LeftButton);
        });
        QTest::newRow("deep shadow") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            QTest::mouseClick(f.SpeedButton11, Qt::LeftButton);
        });
        QTest::newRow("size") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            PressKey(f.TrackBar1, Qt::Key_PageUp);
        });
        QTest::newRow("angle") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            PressKey(f.TrackBar3, Qt::Key_Right, 20);
        });
        QTest::newRow("depth") << TChange(
            [](TMakeForm1& f, TestDialogs&, const QString&) { Drag(f.TrackBar2, 50, 200); });
        QTest::newRow("direction") << TChange([](TMakeForm1& f, TestDialogs&, const QString&) {
            PressKey(f.TrackBar6, Qt::Key_End);
        });
        QTest::newRow("text colour") << TChange([](TMakeForm1& f, TestDialogs& d, const QString&) {
            d.colorAnswers.push_back(clAqua);
            QTest::mouseClick(f.SpeedButton13, Qt::LeftButton);
        });
        QTest::newRow("shadow colour")
            << TChange([](TMakeForm1& f, TestDialogs& d, const QString&) {
                   d.colorAnswers.push_back(clBlue);
                   QTest::mouseClick(f.SpeedButton14, Qt::LeftButton);
               });
        QTest::newRow("background colour")
            << TChange([](TMakeForm1& f, TestDialogs& d, const QString&) {
                   d.colorAnswers.push_back(clNavy);
                   QTest::mouseClick(f.SpeedButton15, Qt::LeftButton);
               });
        QTest::newRow("background picture")
            << TChange([](TMakeForm1& f, TestDialogs& d, const QString& picture) {
                   d.fileAnswers.push_back(picture);
                   QTest::mouseClick(f.SpeedButton16, Qt::LeftButton);
               });
        QTest::newRow("texture") << TChange([](TMakeForm1& f, TestDialogs& d, const QString& p) {
            d.fileAnswers.push_back(p);
            QTest::mouseClick(f.SpeedButton17, Qt::LeftButton);
        });
    }

    void undoesAndRedoesEveryKindOfChange()
    {
        QFETCH(TChange, change);
        TestDialogs dialogs;
        auto form = WorkingForm();
        const LogoDocument before = form->Document();
        const QImage shownBefore = Preview(*form);
        change(*form, dialogs, FPicture);
        const LogoDocument after = form->Document();
        const QImage shownAfter = Preview(*form);
        QVERIFY(after != before);
        QVERIFY(shownAfter != shownBefore);
        QCOMPARE(form->History->Stack()->count(), 1);

        form->History->Stack()->undo();
        QVERIFY(form->Document() == before);
        QCOMPARE(Preview(*form), shownBefore);
        QVERIFY(form->History->Stack()->canRedo());

        form->History->Stack()->redo();
        QVERIFY(form->Document() == after);
        QCOMPARE(Preview(*form), shownAfter);
    }

    void mergesADragAndARunOfTypingIntoOneStepEach()
    {
        auto form = WorkingForm();
        QUndoStack* stack = form->History->Stack();
        Drag(form->TrackBar1, 20, 200);
        QCOMPARE(stack->count(), 1);
        const int dragged = form->TrackBar1->Position();
        QVERIFY(dragged > 100);
        // a second drag of the same bar is a step of its own
        Drag(form->TrackBar1, 200, 120);
        QCOMPARE(stack->count(), 2);
        form->Edit1->setFocus();
        QTest::keyClicks(form->Edit1, u"abc"_s);
        QCOMPARE(stack->count(), 3);

        stack->undo();
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoro"_s);
        stack->undo();
        QCOMPARE(form->TrackBar1->Position(), dragged);
        stack->undo();
        QCOMPARE(form->TrackBar1->Position(), 40);
        QCOMPARE(form->Label1->Font()->Size(), 40);
    }

    void aPauseInTypingStartsAStep()
    {
        auto form = WorkingForm();
        QUndoStack* stack = form->History->Stack();
        form->Edit1->setFocus();
        form->Edit1->selectAll();
        QTest::keyClicks(form->Edit1, u"one"_s);
        QTest::qWait(TLogoHistory::kTypingPauseMs + 200);
        QTest::keyClicks(form->Edit1, u" two"_s);
        QCOMPARE(stack->count(), 2);
        stack->undo();
        QCOMPARE(form->Edit1->Text(), u"one"_s);
        stack->undo();
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoro"_s);
    }

    void aDragBackToItsStartIsNoStep()
    {
        auto form = WorkingForm();
        const QPoint at(120, form->TrackBar2->height() / 2);
        QTest::mouseClick(form->TrackBar2, Qt::LeftButton, {}, at);
        const int clicked = form->TrackBar2->Position();
        QCOMPARE(form->History->Stack()->count(), 1);
        QTest::mousePress(form->TrackBar2, Qt::LeftButton, {}, at);
        QTest::mouseMove(form->TrackBar2, at + QPoint(50, 0));
        QTest::mouseMove(form->TrackBar2, at);
        QTest::mouseRelease(form->TrackBar2, Qt::LeftButton, {}, at);
        QCOMPARE(form->TrackBar2->Position(), clicked);
        QCOMPARE(form->History->Stack()->count(), 1);
        form->History->Stack()->undo();
        QCOMPARE(form->TrackBar2->Position(), 30);
    }

    void undoesNewAndLoad()
    {
        TestDialogs dialogs;
        auto form = WorkingForm();
        form->Edit1->SetText(u"My work"_s);
        form->TrackBar1->SetPosition(90);
        const LogoDocument work = form->Document();

        form->SpeedButton1Click(form.get());
        RunToEnd(form->Timer1);
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoro"_s);
        QCOMPARE(form->History->Stack()->count(), 3);
        form->History->Stack()->undo();
        QVERIFY(form->Document() == work);
        QCOMPARE(form->Label1->Caption(), u"My work"_s);

        LogoDocument other = work;
        other.Text = u"From file"_s;
        other.Size = 12;
        const QString file = FWork.filePath(u"other.qvd"_s);
        {
            TMakeForm1 writer(u"/opt/q/quilvoro"_s);
            writer.ApplyDocument(other);
            writer.SaveLogoFile(file);
        }
        dialogs.fileAnswers.push_back(file);
        form->SpeedButton2Click(form.get());
        RunToEnd(form->Timer2);
        QCOMPARE(form->Edit1->Text(), u"From file"_s);
        QVERIFY(!form->History->IsModified());
        form->History->Stack()->undo();
        QVERIFY(form->Document() == work);
        QCOMPARE(form->Label1->Font()->Size(), 90);
        // the undone load leaves work that differs from the file just loaded
        QVERIFY(form->History->IsModified());
        form->History->Stack()->redo();
        QCOMPARE(form->Edit1->Text(), u"From file"_s);
        QVERIFY(!form->History->IsModified());
    }

    void historyKeysWorkWhereverTheFocusIs()
    {
        auto form = WorkingForm();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->TrackBar1->SetPosition(100);
        form->Edit1->setFocus();
        QTest::keyClicks(form->Edit1, u"xy"_s);
        QCOMPARE(form->History->Stack()->count(), 2);

        // the text field has the focus, yet the keys reach the window's history
        QTest::keyClick(form->Edit1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoro"_s);
        QTest::keyClick(form->Edit1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->TrackBar1->Position(), 40);
        QTest::keyClick(form->Edit1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form->TrackBar1->Position(), 100);
        form->TrackBar3->setFocus();
        QTest::keyClick(form->TrackBar3, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoroxy"_s);
        QCOMPARE(form->Label1->Caption(), u"Tamrin - Quilvoroxy"_s);
    }

    void guardsWorkBeforeItGoes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer"); // 0 保存, 1 破棄, 2 キャンセル
        QTest::addColumn<bool>("saveDialogConfirms");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        for (const QString& action : {u"new"_s, u"load"_s, u"close"_s}) {
            const QByteArray a = action.toUtf8();
            QTest::addRow("%s: save", a.constData()) << action << 0 << true << true << true;
            QTest::addRow("%s: save, dialog cancelled", a.constData())
                << action << 0 << false << false << false;
            QTest::addRow("%s: discard", a.constData()) << action << 1 << false << true << false;
            QTest::addRow("%s: cancel", a.constData()) << action << 2 << false << false << false;
        }
    }

    void guardsWorkBeforeItGoes()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(bool, saveDialogConfirms);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        TestDialogs dialogs;
        auto form = WorkingForm();
        QTest::mouseClick(form->SpeedButton19, Qt::LeftButton);
        dialogs.choiceAnswers.push_back(answer);
        const QString target = FWork.filePath(u"guarded-%1.qvd"_s.arg(
            QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'_')));
        QFile::remove(target);
        if (saveDialogConfirms)
            dialogs.fileAnswers.push_back(target);

        bool wentOn = false;
        if (action == u"new") {
            QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
            wentOn = form->Timer1->Enabled();
        } else if (action == u"load") {
            QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
            wentOn = form->Timer2->Enabled();
        } else {
            wentOn = form->close();
            QCOMPARE(form->isVisible(), !wentOn);
        }
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions.first().buttons,
                 QStringList({u"保存"_s, u"破棄"_s, u"キャンセル"_s}));
        QCOMPARE(dialogs.questions.first().caption, u"Quilvoro"_s);
        QCOMPARE(wentOn, goesOn);
        QCOMPARE(QFile::exists(target), saved);
        if (saved)
            QVERIFY(FileTesting::ReadAll(target).contains("Italic=1"));
        // what was not saved is still there to save
        QCOMPARE(form->History->IsModified(), !saved);
    }

    void asksNothingWithNothingChanged()
    {
        TestDialogs dialogs;
        {
            TMakeForm1 fresh(u"/opt/q/quilvoro"_s);
            fresh.show();
            QVERIFY(fresh.close());
        }
        auto form = WorkingForm();
        // a change undone is no change
        QTest::mouseClick(form->SpeedButton18, Qt::LeftButton);
        form->History->Stack()->undo();
        QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
        RunToEnd(form->Timer1);
        QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
        RunToEnd(form->Timer2);
        QVERIFY(form->close());
        QVERIFY(dialogs.questions.isEmpty());
    }

    void quitAsksToo()
    {
        TestDialogs dialogs;
        auto form = WorkingForm();
        form->TrackBar2->SetPosition(3);
        dialogs.choiceAnswers.push_back(2);
        QTest::mouseClick(form->SpeedButton5, Qt::LeftButton);
        QVERIFY(form->isVisible());
        dialogs.choiceAnswers.push_back(2);
        QTest::mouseClick(form->SSButton10, Qt::LeftButton);
        QVERIFY(form->isVisible());
        QCOMPARE(dialogs.questions.size(), 2);
    }

    void eachDragOfTheFrameIsOneStep_data()
    {
        QTest::addColumn<QString>("grip");
        QTest::addColumn<QList<QPoint>>("offsets");
        QTest::addColumn<QRect>("change"); // added to the frame's left, top, right, bottom
        QTest::newRow("move") << u"middle"_s << QList<QPoint> {{5, 2}, {20, 4}, {30, 10}}
                              << QRect(QPoint(30, 10), QPoint(30, 10));
        QTest::newRow("lower right corner") << u"corner"_s << QList<QPoint> {{4, 4}, {15, 12}}
                                            << QRect(QPoint(0, 0), QPoint(15, 12));
        QTest::newRow("left edge")
            << u"left"_s << QList<QPoint> {{-4, 0}, {-10, 3}} << QRect(QPoint(-10, 0), QPoint());
        QTest::newRow("a click moves nothing")
            << u"middle"_s << QList<QPoint> {} << QRect(QPoint(), QPoint());
    }

    void eachDragOfTheFrameIsOneStep()
    {
        QFETCH(QString, grip);
        QFETCH(QList<QPoint>, offsets);
        QFETCH(QRect, change);
        auto form = WorkingForm();
        TSelShape* frame = form->SelShape1;
        RoomForTheFrame(*form);
        const QRect before = frame->geometry();
        const QPoint grab = grip == u"corner" ? QPoint(frame->width() - 2, frame->height() - 2)
            : grip == u"left"                 ? QPoint(2, frame->height() / 2)
                                              : QPoint(frame->width() / 2, frame->height() / 2);
        DragFrame(frame, grab, offsets);
        const QRect after =
            before.adjusted(change.left(), change.top(), change.right(), change.bottom());
        QCOMPARE(frame->geometry(), after);
        QUndoStack* stack = form->History->Stack();
        QCOMPARE(stack->count(), after == before ? 0 : 1);
        // the frame is not saved in the logo file, so moving it is no unsaved work
        QVERIFY(!form->History->IsModified());
        if (after == before)
            return;
        stack->undo();
        QCOMPARE(frame->geometry(), before);
        QCOMPARE(form->SelectionRegion().size(), before.size());
        stack->redo();
        QCOMPARE(frame->geometry(), after);
    }

private:
    QTemporaryDir FWork;
    QString FPicture;
};

QUILVORO_APP_TEST_MAIN(tst_LogoHistory)
#include "tst_LogoHistory.moc"
