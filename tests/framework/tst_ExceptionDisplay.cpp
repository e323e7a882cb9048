// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TApplication.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"

#include <QTest>
#include <QTimer>
#include <QWidget>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// A widget whose mouse handler fails, as an editing handler may.
class FailingWidget : public QWidget
{
protected:
    void mousePressEvent(QMouseEvent*) override { throw std::runtime_error("Disk full"); }
};

} // namespace

class tst_ExceptionDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appendsFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");

        QTest::newRow("letter") << u"Disk full"_s << u"Disk full."_s;
        QTest::newRow("full stop") << u"Done."_s << u"Done."_s;
        QTest::newRow("question mark sorts after") << u"Why?"_s << u"Why?."_s;
        QTest::newRow("comma sorts before") << u"a,"_s << u"a,"_s;
        QTest::newRow("closing bracket sorts before") << u"(x)"_s << u"(x)"_s;
        QTest::newRow("japanese") << u"存在セズ"_s << u"存在セズ."_s;
        QTest::newRow("digit") << u"error 5"_s << u"error 5."_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void appendsFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(TApplication::ExceptionText(message), shown);
    }

    void handlerFailureIsShownAndProgramGoesOn()
    {
        TestDialogs dialogs;
        FailingWidget widget;
        widget.resize(20, 20);
        widget.show();
        QTest::mouseClick(&widget, Qt::LeftButton);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, u"Disk full."_s);
        QCOMPARE(dialogs.messages[0].caption, u"Quilvoro"_s);
        QCOMPARE(dialogs.messages[0].flags & 0xF0, unsigned(MB_ICONERROR));

        // The loop still runs events after the failure.
        bool ran = false;
        QTimer::singleShot(0, this, [&] { ran = true; });
        QTRY_VERIFY(ran);
    }

    void startupGuardShowsAndReturnsZero()
    {
        TestDialogs dialogs;
        const int rc = TApplication::RunGuarded([]() -> int { throw std::logic_error("boom"); });
        QCOMPARE(rc, 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, u"boom."_s);

        const int rc2 = TApplication::RunGuarded([]() -> int { throw 42; });
        QCOMPARE(rc2, 0);
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages[1].text, QString());
    }
};

QUILVORO_APP_TEST_MAIN(tst_ExceptionDisplay)
#include "tst_ExceptionDisplay.moc"
