#include "platform/FileAccess.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace FileTesting;

Q_DECLARE_METATYPE(FileAccess::TOpenResult)

class tst_FileAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeFailuresKeepTheOldFile_data()
    {
        QTest::addColumn<int>("chunk");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("writeError");
        QTest::addColumn<int>("syncError");
        QTest::addColumn<int>("interruptions");
        QTest::addColumn<QString>("reason"); // empty: the write succeeds
        const QString full = u"ディスクノ空キ容量ガ足リマセン"_s;
        const QString flush = u"ディスクヘノ書込ミヲ完了デキマセン (ディスクノ入出力エラー)"_s;
        QTest::newRow("all at once") << 0 << -1 << 0 << 0 << 0 << QString();
        QTest::newRow("many short writes") << 7 << -1 << 0 << 0 << 0 << QString();
        QTest::newRow("interrupted, then goes on") << 0 << -1 << 0 << 0 << 2 << QString();
        QTest::newRow("exactly fills the disk") << 0 << 5000 << ENOSPC << 0 << 0 << QString();
        QTest::newRow("disk fills after a short write") << 0 << 1000 << ENOSPC << 0 << 0 << full;
        QTest::newRow("disk full at once") << 0 << 0 << ENOSPC << 0 << 0 << full;
        QTest::newRow("quota reached")
            << 0 << 1000 << EDQUOT << 0 << 0 << u"ディスクノ使用量ガ上限ニ達シマシタ"_s;
        QTest::newRow("flush fails") << 0 << -1 << 0 << EIO << 0 << flush;
        QTest::newRow("flush fails after short writes") << 500 << -1 << 0 << EIO << 0 << flush;
    }
    void writeFailuresKeepTheOldFile()
    {
        QFETCH(int, chunk);
        QFETCH(int, capacity);
        QFETCH(int, writeError);
        QFETCH(int, syncError);
        QFETCH(int, interruptions);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"logo.qvd"_s);
        const QByteArray old = "[SET]\r\nSize=5\r\n";
        WriteAll(path, old);
        const QByteArray contents(5000, 'x');
        QString error;
        bool written = false;
        {
            const TFailingDisk disk(
                {size_t(chunk), capacity, writeError, syncError, interruptions});
            written = FileAccess::WriteFileAtomically(path, contents, &error);
        }
        QCOMPARE(written, reason.isEmpty());
        QCOMPARE(error, reason);
        QCOMPARE(ReadAll(path), written ? contents : old);
        // no temporary file is left behind
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList {u"logo.qvd"_s});
    }

    void onlyRegularFilesOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FileAccess::TOpenResult>("result");
        QTest::newRow("regular file") << u"file"_s << FileAccess::TOpenResult::Opened;
        QTest::newRow("FIFO") << u"fifo"_s << FileAccess::TOpenResult::NotRegular;
        QTest::newRow("device") << u"device"_s << FileAccess::TOpenResult::NotRegular;
        QTest::newRow("folder") << u"folder"_s << FileAccess::TOpenResult::NotRegular;
        QTest::newRow("missing") << u"missing"_s << FileAccess::TOpenResult::Failed;
    }
    void onlyRegularFilesOpen()
    {
        QFETCH(QString, kind);
        QFETCH(FileAccess::TOpenResult, result);
        QTemporaryDir dir;
        QString path = dir.filePath(u"x.bmp"_s);
        if (kind == u"file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("BM");
        } else if (kind == u"fifo") {
            // nothing ever writes to it: a blocking open would never return
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == u"device") {
            path = u"/dev/zero"_s; // an endless read
        } else if (kind == u"folder") {
            path = dir.path();
        }
        QFile file;
        QString error;
        QCOMPARE(FileAccess::OpenRegularFile(file, path, &error), result);
        QCOMPARE(file.isOpen(), result == FileAccess::TOpenResult::Opened);
        if (result == FileAccess::TOpenResult::Opened) {
            QVERIFY(error.isEmpty());
            QCOMPARE(file.readAll(), QByteArray("BM"));
        } else if (result == FileAccess::TOpenResult::NotRegular) {
            QCOMPARE(error, FileAccess::NotRegularMessage(path));
            QVERIFY(error.contains(path));
            QVERIFY(error.contains(u"通常ノファイル"_s));
        } else {
            QVERIFY(!error.isEmpty());
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_FileAccess)
#include "tst_FileAccess.moc"
