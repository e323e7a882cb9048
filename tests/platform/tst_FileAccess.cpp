// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ErrorText.h"
#include "platform/FileAccess.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <latch>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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

    // A writer killed before its rename leaves a whole temporary; the next write of the same
    // file clears it, but never one that a live writer holds, nor another file's.
    void staleTemporariesGoOnTheNextWrite()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"out.png"_s);
        const QString prefix = FileAccess::TemporaryPrefix(target);
        QCOMPARE(prefix, u".out.png.quilvoro-"_s);
        const QString stale = dir.filePath(prefix + u"AbC123"_s);
        const QString live = dir.filePath(prefix + u"XyZ789"_s);
        const QString other = dir.filePath(u".other.png.quilvoro-AbC123"_s);
        for (const QString& path : {stale, live, other})
            WriteAll(path, "old picture");
        QFile held(live);
        QVERIFY(held.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(held.handle(), LOCK_EX | LOCK_NB), 0);

        QString error;
        QVERIFY2(FileAccess::WriteFileAtomically(target, "new", &error), qPrintable(error));
        QCOMPARE(ReadAll(target), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList {u".other.png.quilvoro-AbC123"_s, u".out.png.quilvoro-XyZ789"_s,
                               u"out.png"_s}));
    }

    void replacingKeepsPermissionsAndInPlaceKeepsTheFile_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("replaced") << false;
        QTest::newRow("in place") << true;
    }

    void replacingKeepsPermissionsAndInPlaceKeepsTheFile()
    {
        QFETCH(bool, inPlace);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"thumb"_s);
        WriteAll(path, QByteArray(100, 'o'));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QFile held(path);
        QVERIFY(held.open(QIODevice::ReadOnly));
        QString error;
        const bool written = inPlace ? FileAccess::WriteFileInPlace(path, "new", &error)
                                     : FileAccess::WriteFileAtomically(path, "new", &error);
        QVERIFY2(written, qPrintable(error));
        QCOMPARE(ReadAll(path), QByteArray("new"));
        // the handle sees the new bytes only when the file itself was written
        QCOMPARE(held.readAll(), inPlace ? QByteArray("new") : QByteArray(100, 'o'));
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0600u);
    }

    // Two thumbnailers of one logo write the same file: it ends as one picture or the other.
    void inPlaceWritersTakeTurns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"thumb"_s);
        const QByteArray longer(1 << 20, 'a');
        const QByteArray shorter(1 << 19, 'b');
        for (int round = 0; round < 40; ++round) {
            // both start at once, as two processes woken by one change
            std::latch start(2);
            QString otherError;
            std::thread other([&] {
                start.arrive_and_wait();
                FileAccess::WriteFileInPlace(path, shorter, &otherError);
            });
            start.arrive_and_wait();
            QString error;
            QVERIFY2(FileAccess::WriteFileInPlace(path, longer, &error), qPrintable(error));
            other.join();
            QVERIFY2(otherError.isEmpty(), qPrintable(otherError));
            const QByteArray written = ReadAll(path);
            QVERIFY2(written == longer || written == shorter, qPrintable(u"round %1"_s.arg(round)));
        }
    }

    void refusesWhatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<int>("reason");

        QTest::newRow("folder") << u"folder"_s << false << EISDIR;
        QTest::newRow("missing folder") << u"none/out.png"_s << false << ENOENT;
        QTest::newRow("under a file") << u"file/out.png"_s << false << ENOTDIR;
        QTest::newRow("in place, missing folder") << u"none/out.png"_s << true << ENOENT;
        QTest::newRow("in place, folder") << u"folder"_s << true << EISDIR;
        QTest::newRow("read-only file") << u"readonly"_s << false << EACCES;
    }

    void refusesWhatCannotBeWritten()
    {
        QFETCH(QString, name);
        QFETCH(bool, inPlace);
        QFETCH(int, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        WriteAll(dir.filePath(u"file"_s), "x");
        const QString path = dir.filePath(name);
        if (name == u"readonly"_s) {
            if (::geteuid() == 0)
                QSKIP("root may replace a read-only file");
            WriteAll(path, "old");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        }
        QString error;
        const bool written = inPlace ? FileAccess::WriteFileInPlace(path, "new", &error)
                                     : FileAccess::WriteFileAtomically(path, "new", &error);
        QVERIFY(!written);
        QCOMPARE(error, ErrorText::OfErrno(reason));
    }

    void makesFoldersOrSaysWhyNot_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("reason"); // 0: made

        QTest::newRow("nested") << u"a/b/c"_s << 0;
        QTest::newRow("there already, trailing slash") << u"folder/"_s << 0;
        QTest::newRow("under a file") << u"file/sub"_s << ENOTDIR;
        QTest::newRow("a file") << u"file"_s << ENOTDIR;
    }

    void makesFoldersOrSaysWhyNot()
    {
        QFETCH(QString, name);
        QFETCH(int, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        WriteAll(dir.filePath(u"file"_s), "x");
        QString error;
        QCOMPARE(FileAccess::MakeFolder(dir.filePath(name), &error), reason == 0);
        QCOMPARE(error, reason ? ErrorText::OfErrno(reason) : QString());
        if (reason == 0)
            QVERIFY(QFileInfo(dir.filePath(name)).isDir());
    }
};

QUILVORO_APP_TEST_MAIN(tst_FileAccess)
#include "tst_FileAccess.moc"
