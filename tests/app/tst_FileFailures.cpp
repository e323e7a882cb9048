// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's file actions against files that must not freeze it and disks that fail.
#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "platform/TIniFile.h"
#include "platform/TPictureFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace FileTesting;

namespace {

const QString kNotRegular =
    u"ハ通常ノファイルデハアリマセン。読込メルノハ通常ノファイルダケデス。"_s;

// A FIFO that nothing ever writes to: opening it for reading in the usual way never returns.
QString MakeFifo(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        return QString();
    return path;
}

void BringPreviewIntoView(TMakeForm1& form)
{
    form.show();
    form.SpeedButton1Click(&form);
    while (form.Timer1->Enabled())
        form.Timer1->Tick();
}

} // namespace

class tst_FileFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void pictureButtonsRefuseAFifo_data()
    {
        QTest::addColumn<bool>("background");
        QTest::newRow("background") << true;
        QTest::newRow("texture") << false;
    }
    void pictureButtonsRefuseAFifo()
    {
        QFETCH(bool, background);
        QTemporaryDir dir;
        const QString fifo = MakeFifo(dir, u"x.bmp"_s);
        QVERIFY(!fifo.isEmpty());
        TestDialogs dialogs;
        dialogs.fileAnswers.push_back(fifo);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const QString message = FailureOf<EPictureFileError>([&] {
            if (background)
                form.SpeedButton16Click(&form);
            else
                form.SpeedButton17Click(&form);
        });
        QCOMPARE(message, u"\"%1\" "_s.arg(fifo) + kNotRegular);
        QVERIFY(form.Label1->Glyph()->isNull());
    }

    void logoFileNamingFifosLoadsTheRest()
    {
        QTemporaryDir dir;
        const QString texture = MakeFifo(dir, u"texture.bmp"_s);
        const QString back = MakeFifo(dir, u"back.bmp"_s);
        const QString file = dir.filePath(u"logo.qvd"_s);
        WriteAll(file,
                 "[SET]\r\nSize=55\r\nImage1=" + QFile::encodeName(texture)
                     + "\r\nImage2=" + QFile::encodeName(back) + "\r\n");
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.LoadLogoFile(file);
        QCOMPARE(form.Label1->Font()->Size(), 55);
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages[0].text, u"文字画像(テクスチャ)ファイル存在セズ..."_s);
        QCOMPARE(dialogs.messages[1].text, u"背景画像ファイル存在セズ..."_s);
        QVERIFY(form.Label1->Glyph()->isNull());
    }

    void logoFileThatIsAFifoChangesNothing()
    {
        QTemporaryDir dir;
        const QString fifo = MakeFifo(dir, u"logo.qvd"_s);
        QVERIFY(!fifo.isEmpty());
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.TrackBar1->SetPosition(77);
        form.TrackBar1Change(&form);
        form.LoadLogoFile(fifo);
        QCOMPARE(form.Label1->Font()->Size(), 77);
        QVERIFY(TIniFile(fifo).ReadError().endsWith(kNotRegular));
    }

    // A failed flush or a disk that fills up fails the save with its reason and keeps the old
    // file, for the logo file and for the exported picture alike.
    void failingDiskFailsTheSave_data()
    {
        QTest::addColumn<bool>("logo");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("syncError");
        QTest::addColumn<QString>("reason");
        const QString flush = u"ディスクヘノ書込ミヲ完了デキマセン (ディスクノ入出力エラー)"_s;
        const QString full = u"ディスクノ空キ容量ガ足リマセン"_s;
        QTest::newRow("logo, flush fails") << true << -1 << EIO << flush;
        QTest::newRow("logo, disk full") << true << 100 << 0 << full;
        QTest::newRow("picture, flush fails") << false << -1 << EIO << flush;
        QTest::newRow("picture, disk full") << false << 1000 << 0 << full;
    }
    void failingDiskFailsTheSave()
    {
        QFETCH(bool, logo);
        QFETCH(int, capacity);
        QFETCH(int, syncError);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString file = dir.filePath(logo ? u"logo.qvd"_s : u"logo.bmp"_s);
        const QByteArray old = "the old file";
        WriteAll(file, old);
        TestDialogs dialogs;
        dialogs.fileAnswers.push_back(file);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(6, 6, 101, 33);
        QString message;
        {
            const TFailingDisk disk({0, capacity, ENOSPC, syncError, 0});
            if (logo)
                message = FailureOf<EIniFileException>([&] { form.SpeedButton3Click(&form); });
            else
                message = FailureOf<EPictureFileError>([&] { form.SpeedButton6Click(&form); });
        }
        const QString frame =
            logo ? u"\"%1\" ニ保存デキマセン: %2"_s : u"画像 \"%1\" ヲ保存デキマセン: %2"_s;
        QCOMPARE(message, frame.arg(file, reason));
        QCOMPARE(ReadAll(file), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QUILVORO_APP_TEST_MAIN(tst_FileFailures)
#include "tst_FileFailures.moc"
