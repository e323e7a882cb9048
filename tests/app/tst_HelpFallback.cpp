#include "app/Makewindow1.h"
#include "platform/Cp932Codec.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QDir>
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

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_HelpFallback)
#include "tst_HelpFallback.moc"
