#include "platform/ProgramPath.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramPath : public QObject
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
};

QTEST_GUILESS_MAIN(TestProgramPath)
#include "tst_ProgramPath.moc"
