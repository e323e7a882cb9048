// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProgramPath.h"
#include "support/AppTestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProgramPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitsProgramPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("appDir");
        QTest::addColumn<QString>("name");

        QTest::newRow("windows folder")
            << u"C:\\Tools\\Logo\\x.exe"_s << u"C:\\Tools\\Logo"_s << u"x"_s;
        QTest::newRow("drive root keeps separator") << u"C:\\x.exe"_s << u"C:\\"_s << u"x"_s;
        QTest::newRow("dotted name") << u"D:\\My.Logo.exe"_s << u"D:\\"_s << u"My.Logo"_s;
        QTest::newRow("drive without separator") << u"C:x.exe"_s << u"C:"_s << u"x"_s;
        QTest::newRow("unc double separator") << u"\\\\x.exe"_s << u"\\\\"_s << u"x"_s;
        QTest::newRow("linux install")
            << u"/opt/q/bin/quilvoro"_s << u"/opt/q/bin"_s << u"quilvoro"_s;
        QTest::newRow("linux root") << u"/quilvoro"_s << u"/"_s << u"quilvoro"_s;
        QTest::newRow("bare name") << u"quilvoro"_s << QString() << u"quilvoro"_s;
        QTest::newRow("dot in folder only")
            << u"/opt/q.d/quilvoro"_s << u"/opt/q.d"_s << u"quilvoro"_s;
    }

    void splitsProgramPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, appDir);
        QFETCH(QString, name);
        QCOMPARE(ProgramPath::AppDir(path), appDir);
        QCOMPARE(ProgramPath::ProgramName(path), name);
    }

    // A prefix as `cmake --install` lays it out: bin/quilvoro and share/quilvoro/.
    void findsDataBesideTheProgramThenInTheInstalledFolder_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("found");
        QTest::newRow("beside the program")
            << QStringList {u"bin/Readme.txt"_s} << u"bin/Readme.txt"_s;
        QTest::newRow("installed data folder")
            << QStringList {u"share/quilvoro/Readme.txt"_s} << u"share/quilvoro/Readme.txt"_s;
        QTest::newRow("beside wins")
            << QStringList {u"bin/Readme.txt"_s, u"share/quilvoro/Readme.txt"_s}
            << u"bin/Readme.txt"_s;
        QTest::newRow("nowhere: the path beside") << QStringList {} << u"bin/Readme.txt"_s;
        QTest::newRow("a folder is not the file")
            << QStringList {u"share/quilvoro/Readme.txt/"_s} << u"bin/Readme.txt"_s;
    }

    void findsDataBesideTheProgramThenInTheInstalledFolder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(u"bin"_s));
        for (const QString& file : present) {
            if (file.endsWith(u'/')) {
                QVERIFY(root.mkpath(file));
                continue;
            }
            QVERIFY(root.mkpath(QFileInfo(file).path()));
            QFile f(root.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString result = ProgramPath::DataFile(root.filePath(u"bin"_s), u"Readme.txt"_s);
        QCOMPARE(QDir::cleanPath(result), root.filePath(found));
    }
};

QUILVORO_APP_TEST_MAIN(tst_ProgramPath)
#include "tst_ProgramPath.moc"
