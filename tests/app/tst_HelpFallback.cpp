// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "platform/Cp932Codec.h"
#include "platform/Shell.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kReadme = u"Quilvoro 2.5 ユーザーズガイド\n■ はじめに\n  「新規」を押すと…\n"_s;

} // namespace

// S. O. S. and info. hand their target to the desktop; where the desktop cannot take it, the
// program shows it itself.
class tst_HelpFallback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void init()
    {
        TestEnvironment::OpenedTargets().clear();
        TestEnvironment::OpenSucceeds() = true;
    }

    void theDesktopOpensHelpWhenItCan()
    {
        TestDialogs dialogs;
        TMakeForm1 form(FDir.filePath(u"quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        form.ShineSpeedButton4Click(nullptr);
        QCOMPARE(TestEnvironment::OpenedTargets().size(), 2);
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void readmeShowsInTheProgramsWindow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Shift-JIS") << Cp932Codec::Encode(kReadme);
        QTest::newRow("UTF-8") << kReadme.toUtf8();
        QTest::newRow("UTF-8 with byte order mark") << "\xEF\xBB\xBF" + kReadme.toUtf8();
    }

    void readmeShowsInTheProgramsWindow()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        FileTesting::WriteAll(dir.filePath(u"Readme.txt"_s), bytes);
        TestEnvironment::OpenSucceeds() = false;
        TestDialogs dialogs;
        TMakeForm1 form(dir.filePath(u"quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        QCOMPARE(TestEnvironment::OpenedTargets(), QStringList {dir.filePath(u"Readme.txt"_s)});
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(dialogs.texts.at(0).text, kReadme);
        QVERIFY(dialogs.texts.at(0).caption.contains(u"Readme.txt"_s));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void readmeFromTheInstalledDataFolder()
    {
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(u"bin"_s));
        QVERIFY(QDir(prefix.path()).mkpath(u"share/quilvoro"_s));
        const QString readme = prefix.filePath(u"share/quilvoro/Readme.txt"_s);
        FileTesting::WriteAll(readme, Cp932Codec::Encode(kReadme));
        TestEnvironment::OpenSucceeds() = false;
        TestDialogs dialogs;
        TMakeForm1 form(prefix.filePath(u"bin/quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        QCOMPARE(TestEnvironment::OpenedTargets(), QStringList {readme});
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(dialogs.texts.at(0).text, kReadme);
    }

    void aMissingReadmeIsReportedWithItsPath()
    {
        TestEnvironment::OpenSucceeds() = false;
        TestDialogs dialogs;
        TMakeForm1 form(FDir.filePath(u"quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        QVERIFY(dialogs.texts.isEmpty());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.at(0).text.contains(FDir.filePath(u"Readme.txt"_s)));
        QCOMPARE(dialogs.messages.at(0).caption, u"Quilvoro"_s);
    }

    void theAddressIsShownWhenNoBrowserStarts()
    {
        TestEnvironment::OpenSucceeds() = false;
        TestDialogs dialogs;
        TMakeForm1 form(FDir.filePath(u"quilvoro"_s));
        form.ShineSpeedButton4Click(nullptr);
        QCOMPARE(dialogs.messages.size(), 1);
        const TestDialogs::Message& message = dialogs.messages.at(0);
        // The address stands on a line of its own, whole, so it can be selected and copied.
        QVERIFY(message.text.split(u'\n').contains(form.InformationAddress()));
        QCOMPARE(message.flags & 0xF0, unsigned(MB_ICONINFORMATION));
        QCOMPARE(message.caption, u"Quilvoro"_s);
    }

    void aFailingOpenerLeadsToTheFallbacks_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("fallback");
        QTest::newRow("opened") << 0 << false;
        QTest::newRow("no browser found") << 3 << true;
        QTest::newRow("failed") << 1 << true;
    }

    void aFailingOpenerLeadsToTheFallbacks()
    {
        QFETCH(int, exitCode);
        QFETCH(bool, fallback);
        // The desktop's own opener, as a script on PATH: it takes its time, complains on
        // standard error, and exits as the row says.
        QTemporaryDir bin;
        const QString log = bin.filePath(u"opened.log"_s);
        const QString opener = bin.filePath(u"xdg-open"_s);
        FileTesting::WriteAll(opener,
                              u"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nsleep 0.3\n"
                              "echo 'xdg-open: no method available' >&2\nexit %2\n"_s.arg(log)
                                  .arg(exitCode)
                                  .toUtf8());
        QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        Shell::SetOpener({});
        Shell::AssumeDesktop(true);
        const auto restore = qScopeGuard([&] {
            qputenv("PATH", path);
            Shell::AssumeDesktop(false);
            TestEnvironment::Pin();
        });

        QTemporaryDir dir;
        FileTesting::WriteAll(dir.filePath(u"Readme.txt"_s), kReadme.toUtf8());
        TestDialogs dialogs;
        TMakeForm1 form(dir.filePath(u"quilvoro"_s));
        form.SpeedButton4Click(nullptr);
        form.ShineSpeedButton4Click(nullptr);
        // both returned at once, while the openers still run
        QVERIFY(dialogs.texts.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(form.findChildren<QProcess*>().isEmpty(), 10000);
        // the two openers run side by side, in either order
        QStringList opened =
            QString::fromUtf8(FileTesting::ReadAll(log)).split(u'\n', Qt::SkipEmptyParts);
        opened.sort();
        QCOMPARE(opened, QStringList({dir.filePath(u"Readme.txt"_s), form.InformationAddress()}));
        QCOMPARE(dialogs.texts.size(), fallback ? 1 : 0);
        QCOMPARE(dialogs.messages.size(), fallback ? 1 : 0);
        if (fallback) {
            QCOMPARE(dialogs.texts.at(0).text, kReadme);
            QVERIFY(dialogs.messages.at(0).text.split(u'\n').contains(form.InformationAddress()));
        }
    }

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_HelpFallback)
#include "tst_HelpFallback.moc"
