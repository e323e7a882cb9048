// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/Makewindow1.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTimer.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

using namespace Qt::StringLiterals;
using WorkingWindow::WorkingForm;

namespace {

// The working window, active, with the keyboard focus in the text field.
std::unique_ptr<TMakeForm1> FocusedForm()
{
    auto form = WorkingForm();
    QApplication::setActiveWindow(form.get());
    if (!QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    form->Edit1->setFocus();
    return form;
}

QImage RedPicture()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

} // namespace

// Keys pressed in the text field 文字列, where the focus is after start and after 新規.
class tst_WindowKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void windowKeysWorkInTheTextField_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Ctrl+E exports") << int(Qt::Key_E) << u"export dialog"_s;
        QTest::newRow("Ctrl+S saves") << int(Qt::Key_S) << u"save dialog"_s;
        QTest::newRow("Ctrl+N starts New") << int(Qt::Key_N) << u"new"_s;
        QTest::newRow("Ctrl+O starts Load") << int(Qt::Key_O) << u"load"_s;
    }

    void windowKeysWorkInTheTextField()
    {
        QFETCH(int, key);
        QFETCH(QString, effect);
        TestDialogs dialogs;
        auto form = FocusedForm();
        QVERIFY(form);
        form->Edit1->setCursorPosition(0);
        QTest::keyClick(form->Edit1, Qt::Key(key), Qt::ControlModifier);
        if (effect == u"new")
            QVERIFY(form->Timer1->Enabled());
        else if (effect == u"load")
            QVERIFY(form->Timer2->Enabled());
        else {
            QCOMPARE(dialogs.fileRequests.size(), 1);
            const TFileDialog* dialog =
                effect == u"save dialog" ? form->SaveDialog1 : form->SavePictureDialog1;
            QCOMPARE(dialogs.fileRequests.first().title, dialog->Title());
        }
        // the field did not take the key for itself (Ctrl+E would move to the end)
        QCOMPARE(form->Edit1->cursorPosition(), 0);
        QCOMPARE(form->Edit1->Text(), u"Tamrin - Quilvoro"_s);
    }

    void copyTakesTheSelectedTextElseThePicture_data()
    {
        QTest::addColumn<int>("selected");
        QTest::newRow("nothing selected: the picture") << 0;
        QTest::newRow("text selected: the text") << 6;
    }

    void copyTakesTheSelectedTextElseThePicture()
    {
        QFETCH(int, selected);
        auto form = FocusedForm();
        QVERIFY(form);
        QGuiApplication::clipboard()->clear();
        if (selected > 0)
            form->Edit1->setSelection(0, selected);
        QTest::keyClick(form->Edit1, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        if (selected > 0) {
            QCOMPARE(data->text(), u"Tamrin"_s);
            QVERIFY(!data->hasImage());
        } else {
            QVERIFY(data->hasImage());
            QCOMPARE(QGuiApplication::clipboard()->image().size(), form->SelectionRegion().size());
        }
    }

    void pasteTakesAPictureAsBackgroundElseText_data()
    {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<bool>("withText");
        QTest::addColumn<bool>("background");
        QTest::addColumn<QString>("fieldAfter");
        QTest::newRow("picture") << true << false << true << u"Tamrin - Quilvoro"_s;
        QTest::newRow("text") << false << true << false << u"Tamrin - Quilvoro!"_s;
        QTest::newRow("picture and text") << true << true << true << u"Tamrin - Quilvoro"_s;
    }

    void pasteTakesAPictureAsBackgroundElseText()
    {
        QFETCH(bool, withPicture);
        QFETCH(bool, withText);
        QFETCH(bool, background);
        QFETCH(QString, fieldAfter);
        auto form = FocusedForm();
        QVERIFY(form);
        auto* data = new QMimeData;
        if (withPicture)
            data->setImageData(RedPicture());
        if (withText)
            data->setText(u"!"_s);
        QGuiApplication::clipboard()->setMimeData(data);
        form->Edit1->end(false);
        QTest::keyClick(form->Edit1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form->Image1->isVisible(), background);
        QCOMPARE(form->Edit1->Text(), fieldAfter);
    }
};

QUILVORO_APP_TEST_MAIN(tst_WindowKeys)
#include "tst_WindowKeys.moc"
