#include "app/CommandLine.h"
#include "support/AppTestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensTheWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the window opens
        QTest::addColumn<QString>("logoFile");
        QTest::addColumn<bool>("unknownOption");

        QTest::newRow("nothing") << QStringList() << -1 << QString() << false;
        QTest::newRow("a logo file") << QStringList {u"logo.qvd"_s} << -1 << u"logo.qvd"_s << false;
        QTest::newRow("two logo files")
            << QStringList {u"a.qvd"_s, u"b.qvd"_s} << 2 << QString() << false;
        QTest::newRow("unknown option") << QStringList {u"--nope"_s} << 2 << QString() << true;
        QTest::newRow("help") << QStringList {u"-h"_s} << 0 << QString() << false;
    }

    void opensTheWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, logoFile);
        QFETCH(bool, unknownOption);
        const CommandLine c = CommandLine::Parse(QStringList {u"quilvoro"_s} + arguments, 4);
        if (exitCode < 0) {
            QCOMPARE(c.Action(), CommandLine::TAction::OpenWindow);
            QCOMPARE(c.LogoFile(), logoFile);
        } else {
            QCOMPARE(c.Action(), CommandLine::TAction::Exit);
            QCOMPARE(c.ExitCode(), exitCode);
            QCOMPARE(c.Errors().isEmpty(), exitCode == 0);
            QCOMPARE(c.UnknownOption(), unknownOption);
        }
    }

    void namesThePictures_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");

        QTest::newRow("beside the logo file")
            << QStringList() << u"/a/b/logo.qvd"_s << u"/a/b/logo.png"_s;
        QTest::newRow("dots in the name")
            << QStringList {u"--format"_s, u"jpg"_s} << u"my.logo.qvd"_s << u"my.logo.jpg"_s;
        QTest::newRow("into a folder")
            << QStringList {u"-d"_s, u"/out"_s} << u"/a/logo.qvd"_s << u"/out/logo.png"_s;
        QTest::newRow("the one output")
            << QStringList {u"-o"_s, u"x.webp"_s} << u"/a/logo.qvd"_s << u"x.webp"_s;
    }

    void namesThePictures()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, input);
        QFETCH(QString, output);
        const CommandLine c =
            CommandLine::Parse(QStringList {u"quilvoro"_s, u"render"_s, input} + options, 4);
        QCOMPARE(c.Action(), CommandLine::TAction::Render);
        QCOMPARE(c.Request().OutputFor(input), output);
        QCOMPARE(c.Request().jobs, 4);
    }

    void readsTheRenderOptions()
    {
        const CommandLine c = CommandLine::Parse(
            {u"quilvoro"_s, u"render"_s, u"a.qvd"_s, u"-o"_s, u"a.webp"_s, u"--scale"_s, u"4"_s,
             u"--transparent"_s, u"--region"_s, u"-4,10,200,100"_s, u"--trim=7"_s, u"--size"_s,
             u"256"_s, u"-j"_s, u"3"_s},
            2);
        QCOMPARE(c.Action(), CommandLine::TAction::Render);
        const RenderRequest& r = c.Request();
        QCOMPARE(r.format, QByteArray("webp"));
        QCOMPARE(r.scale, 4);
        QVERIFY(r.scaleGiven && r.transparent);
        QCOMPARE(r.region, std::optional<QRect>(QRect(-4, 10, 200, 100)));
        QCOMPARE(r.trimMargin, std::optional<int>(7));
        QCOMPARE(r.size, std::optional<int>(256));
        QCOMPARE(r.jobs, 3);
    }
};

QUILVORO_APP_TEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
