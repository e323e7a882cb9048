// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/CommandLine.h"
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

        QTest::newRow("nothing") << QStringList() << -1 << QString();
        QTest::newRow("a logo file") << QStringList {u"logo.qvd"_s} << -1 << u"logo.qvd"_s;
        QTest::newRow("a file named like an option")
            << QStringList {u"--"_s, u"-platform"_s} << -1 << u"-platform"_s;
        QTest::newRow("two logo files") << QStringList {u"a.qvd"_s, u"b.qvd"_s} << 2 << QString();
        QTest::newRow("unknown option") << QStringList {u"--nope"_s} << 2 << QString();
        QTest::newRow("Qt's platform") << QStringList {u"-platform"_s, u"xcb"_s} << 2 << QString();
        QTest::newRow("Qt's style, long form")
            << QStringList {u"--style=fusion"_s} << 2 << QString();
        QTest::newRow("help") << QStringList {u"-h"_s} << 0 << QString();
    }

    void opensTheWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, logoFile);
        const CommandLine c = CommandLine::Parse(QStringList {u"quilvoro"_s} + arguments, 4);
        if (exitCode < 0) {
            QCOMPARE(c.Action(), CommandLine::TAction::OpenWindow);
            QCOMPARE(c.LogoFile(), logoFile);
        } else {
            QCOMPARE(c.Action(), CommandLine::TAction::Exit);
            QCOMPARE(c.ExitCode(), exitCode);
            QCOMPARE(c.Errors().isEmpty(), exitCode == 0);
        }
    }

    void refusesBadRenderUsage_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");

        const auto region = [](const char16_t* value) {
            return QStringList {u"--region"_s, QString::fromUtf16(value)};
        };
        QTest::newRow("region left of the preview")
            << region(u"-5,-4,600,368") << u"its left edge, -5, lies left"_s;
        QTest::newRow("region below the preview")
            << region(u"0,300,10,65") << u"its bottom edge, 365, lies below"_s;
        QTest::newRow("region at the largest int")
            << region(u"2147483647,0,1,1") << u"its right edge, 2147483648, lies right"_s;
        QTest::newRow("region of no width") << region(u"0,0,0,5") << u"width and height"_s;
        QTest::newRow("region past int") << region(u"0,0,99999999999,1") << u"four whole"_s;
        QTest::newRow("trim margin with a space")
            << QStringList {u"--trim"_s, u"10"_s} << u"--trim=10"_s;
        QTest::newRow("trim margin past int")
            << QStringList {u"--trim=2147483648"_s} << u"--trim=MARGIN"_s;
        QTest::newRow("unknown suffix")
            << QStringList {u"-o"_s, u"x.tiff"_s} << u"png, bmp, jpg, webp, svg, svgz or pdf"_s;
        QTest::newRow("suffix against format")
            << QStringList {u"-o"_s, u"x.png"_s, u"--format"_s, u"jpg"_s} << u"end it in .jpg"_s;
        QTest::newRow("unknown format")
            << QStringList {u"--format"_s, u"tiff"_s} << u"png, bmp, jpg, webp, svg, svgz or pdf"_s;
        QTest::newRow("transparent jpeg by suffix")
            << QStringList {u"-o"_s, u"x.jpeg"_s, u"--transparent"_s} << u"transparent"_s;
        QTest::newRow("size past the limit")
            << QStringList {u"--size"_s, u"16385"_s} << u"--size"_s;
        QTest::newRow("no threads") << QStringList {u"-j"_s, u"0"_s} << u"-j"_s;
        QTest::newRow("in place needs -o") << QStringList {u"--in-place"_s} << u"--in-place"_s;
        QTest::newRow("Qt's platform")
            << QStringList {u"-platform"_s, u"foo"_s} << u"'-platform'"_s;
        QTest::newRow("a format not offered")
            << QStringList {u"-o"_s, u"x.gif"_s} << u"'x.gif': .gif pictures are not written"_s;
        QTest::newRow("the parser's words, in our case")
            << QStringList {u"--bogus"_s} << u": unknown option 'bogus'\n"_s;
        QTest::newRow("Qt's help, which would list refused options")
            << QStringList {u"--help-all"_s} << u"unknown option 'help-all'"_s;
        QTest::newRow("size chooses the scale")
            << QStringList {u"--size"_s, u"64"_s, u"--scale"_s, u"2"_s} << u"--size and --scale"_s;
    }

    void refusesBadRenderUsage()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const CommandLine c =
            CommandLine::Parse(QStringList {u"quilvoro"_s, u"render"_s, u"a.qvd"_s} + options, 1);
        QCOMPARE(c.Action(), CommandLine::TAction::Exit);
        QCOMPARE(c.ExitCode(), CommandLine::kUsageError);
        QVERIFY2(c.Errors().startsWith(u"quilvoro render: "_s) && c.Errors().contains(message),
                 qPrintable(c.Errors()));
    }

    void choosesTheFormat_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("format");

        QTest::newRow("png by default") << QStringList() << QByteArray("png");
        QTest::newRow("jpeg suffix") << QStringList {u"-o"_s, u"x.JPEG"_s} << QByteArray("jpg");
        QTest::newRow("no suffix, format given")
            << QStringList {u"-o"_s, u"x"_s, u"--format"_s, u"bmp"_s} << QByteArray("bmp");
        QTest::newRow("suffix and format agree")
            << QStringList {u"-o"_s, u"x.jpg"_s, u"--format"_s, u"JPG"_s} << QByteArray("jpg");
        QTest::newRow("compressed svg by suffix")
            << QStringList {u"-o"_s, u"x.svgz"_s} << QByteArray("svgz");
        QTest::newRow("compressed svg by format")
            << QStringList {u"-o"_s, u"x"_s, u"--format"_s, u"svgz"_s} << QByteArray("svgz");
        QTest::newRow("in place, the service's name")
            << QStringList {u"-o"_s, u"tumbler-1.tmp"_s, u"--in-place"_s} << QByteArray("png");
    }

    void choosesTheFormat()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, format);
        const CommandLine c =
            CommandLine::Parse(QStringList {u"quilvoro"_s, u"render"_s, u"a.qvd"_s} + options, 1);
        QVERIFY2(c.Action() == CommandLine::TAction::Render, qPrintable(c.Errors()));
        QCOMPARE(c.Request().format, format);
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
             u"--transparent"_s, u"--region"_s, u"-4,10,200,100"_s, u"--trim=7"_s, u"-j"_s, u"3"_s},
            2);
        QCOMPARE(c.Action(), CommandLine::TAction::Render);
        const RenderRequest& r = c.Request();
        QCOMPARE(r.format, QByteArray("webp"));
        QCOMPARE(r.scale, 4);
        QVERIFY(r.scaleGiven && r.transparent);
        QCOMPARE(r.region, std::optional<QRect>(QRect(-4, 10, 200, 100)));
        QCOMPARE(r.trimMargin, std::optional<int>(7));
        QCOMPARE(r.jobs, 3);
    }
};

QUILVORO_APP_TEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
