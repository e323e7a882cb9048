// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `quilvoro render` run as a real process, as a script runs it: without any display.
#include "document/LogoFile.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace FileTesting;

namespace {

using ProgramRun::TRun;

TRun Run(const QStringList& arguments, const QString& folder)
{
    return ProgramRun::Run(arguments, folder, QStringLiteral(QUILVORO_PROGRAM));
}

QImage ReadImage(const QString& path, QByteArray* format = nullptr)
{
    QImageReader reader(path);
    if (format)
        *format = reader.format();
    return reader.read();
}

// Counts pixels by alpha: fully transparent, partial, opaque.
std::array<int, 3> AlphaCounts(const QImage& image)
{
    std::array<int, 3> counts {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(argb.pixel(x, y));
            ++counts[alpha == 0 ? 0 : alpha == 255 ? 2 : 1];
        }
    }
    return counts;
}

bool RowHasInk(const QImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(image.pixel(x, y)) != 0)
            return true;
    }
    return false;
}

bool ColumnHasInk(const QImage& image, int x)
{
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(x, y)) != 0)
            return true;
    }
    return false;
}

} // namespace

class tst_RenderCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FontInfo::InstallSubstitutions();
        FDefault = DocumentRenderer::OutputSize({});
        WriteAll(Path(u"logo.qvd"_s), "[SET]\r\nLabel=Logo\r\nColor3=255\r\n");
    }

    void writesBesideTheLogoFileByDefault()
    {
        const TRun run = Run({u"render"_s, u"logo.qvd"_s}, FDir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QByteArray format;
        const QImage image = ReadImage(Path(u"logo.png"_s), &format);
        QCOMPARE(format, QByteArray("png"));
        QCOMPARE(image.size(), FDefault);
        QVERIFY(!image.hasAlphaChannel());
    }

    void drawsWhatTheRendererDraws_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::newRow("outline, turned")
            << QByteArray("Label=Par\r\nSize=70\r\nAngle=20\r\nDepth=40\r\nStyle2=1\r\n"
                          "Color1=65535\r\n");
        QTest::newRow("arched, heavy")
            << QByteArray("Label=Arch\r\nSize=100\r\nDepth=200\r\nWarp=1\r\nWarpAmount=80\r\n");
        QTest::newRow("circle, underlined")
            << QByteArray("Label=Round badge\r\nUnder=1\r\nWarp=3\r\nWarpAmount=100\r\n");
    }

    void drawsWhatTheRendererDraws()
    {
        QFETCH(QByteArray, keys);
        const QString file = Path(u"parity.qvd"_s);
        WriteAll(file, "[SET]\r\n" + keys);
        QCOMPARE(Run({u"render"_s, file, u"-o"_s, Path(u"parity.png"_s)}, FDir.path()).exitCode, 0);
        const QImage expected = DocumentRenderer::Render(LogoFile::Read(file), {});
        QCOMPARE(ReadImage(Path(u"parity.png"_s)).convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }

    // A transparent PNG decodes to the renderer's picture, pixel for pixel.
    void transparentPngIsTheRenderersPicture_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("scale");
        QTest::newRow("deep, solid")
            << QByteArray("Style3=1\r\nShadow2=1\r\nDepth=12\r\nColor2=255\r\n") << 1;
        QTest::newRow("flat, outline, turned")
            << QByteArray("Style2=1\r\nShadow1=1\r\nDepth=6\r\nAngle=30\r\n") << 3;
        QTest::newRow("gradation") << QByteArray("Shadow3=1\r\nDepth=80\r\nColor2=255\r\n") << 2;
    }

    void transparentPngIsTheRenderersPicture()
    {
        QFETCH(QByteArray, settings);
        QFETCH(int, scale);
        const QString file = Path(u"clear.qvd"_s);
        WriteAll(file, "[SET]\r\nLabel=Qk/\r\nSize=60\r\nColor3=32768\r\n" + settings);
        QCOMPARE(Run({u"render"_s, file, u"-o"_s, Path(u"clear.png"_s), u"--transparent"_s,
                      u"--scale"_s, QString::number(scale)},
                     FDir.path())
                     .exitCode,
                 0);
        RenderOptions options;
        options.transparent = true;
        options.scale = scale;
        const QImage expected = DocumentRenderer::Render(LogoFile::Read(file), {}, options);
        QCOMPARE(QImage(Path(u"clear.png"_s)).convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 expected);
    }

    void writesEachFormat_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("format");

        QTest::newRow("png by default") << QStringList() << u"logo.png"_s << QByteArray("png");
        QTest::newRow("bmp by suffix")
            << QStringList {u"-o"_s, u"out.bmp"_s} << u"out.bmp"_s << QByteArray("bmp");
        QTest::newRow("jpeg by suffix")
            << QStringList {u"-o"_s, u"out.jpeg"_s} << u"out.jpeg"_s << QByteArray("jpeg");
        QTest::newRow("webp by option")
            << QStringList {u"--format"_s, u"webp"_s} << u"logo.webp"_s << QByteArray("webp");
        QTest::newRow("option for a name without suffix")
            << QStringList {u"--format"_s, u"bmp"_s, u"-o"_s, u"plain"_s} << u"plain"_s
            << QByteArray("bmp");
    }

    void writesEachFormat()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(QByteArray, format);
        const TRun run = Run(QStringList {u"render"_s, u"logo.qvd"_s} + options, FDir.path());
        QCOMPARE(run.exitCode, 0);
        QByteArray read;
        const QImage image = ReadImage(Path(output), &read);
        QCOMPARE(read, format);
        QCOMPARE(image.size(), FDefault);
        if (format == "bmp") // 24 bits per pixel, as the window writes
            QCOMPARE(ReadAll(Path(output)).mid(28, 2), QByteArray("\x18\x00", 2));
        // red background, away from the text
        const QRgb corner = image.pixel(image.width() - 2, image.height() - 2);
        QVERIFY2(qRed(corner) > 240 && qGreen(corner) < 16 && qBlue(corner) < 16,
                 qPrintable(QString::number(corner, 16)));
    }

    void scalesAndLeavesOutTheBackground()
    {
        const TRun run = Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, u"big.png"_s, u"--scale"_s,
                              u"3"_s, u"--transparent"_s},
                             FDir.path());
        QCOMPARE(run.exitCode, 0);
        const QImage image = ReadImage(Path(u"big.png"_s));
        QCOMPARE(image.size(), FDefault * 3);
        QVERIFY(image.hasAlphaChannel());
        const std::array<int, 3> counts = AlphaCounts(image);
        QVERIFY(counts[0] > 0); // background
        QVERIFY(counts[1] > 0); // anti-aliased edges
        QVERIFY(counts[2] > 0); // inside letters
    }

    void takesARegion_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");

        QTest::newRow("region") << QStringList {u"--region"_s, u"10,20,100,50"_s} << QSize(100, 50);
        QTest::newRow("region at scale 2")
            << QStringList {u"--region"_s, u"0,0,592,360"_s, u"--scale"_s, u"2"_s}
            << QSize(1184, 720);
        QTest::newRow("fitted into 64")
            << QStringList {u"--size"_s, u"64"_s} << FDefault.scaled(64, 64, Qt::KeepAspectRatio);
        QTest::newRow("fitted into 2000, drawn larger")
            << QStringList {u"--size"_s, u"2000"_s}
            << FDefault.scaled(2000, 2000, Qt::KeepAspectRatio);
    }

    void takesARegion()
    {
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        const TRun run =
            Run(QStringList {u"render"_s, u"logo.qvd"_s, u"-o"_s, u"region.png"_s} + options,
                FDir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(ReadImage(Path(u"region.png"_s)).size(), size);
    }

    void trimsToTheDrawnPixels()
    {
        const QString file = Path(u"small.qvd"_s);
        WriteAll(file, "[SET]\r\nLabel=ab\r\nSize=20\r\nDepth=4\r\n");
        const QStringList common = {u"render"_s, file, u"--transparent"_s};
        QCOMPARE(
            Run(common + QStringList {u"-o"_s, u"tight.png"_s, u"--trim"_s}, FDir.path()).exitCode,
            0);
        const QImage tight = ReadImage(Path(u"tight.png"_s));
        QVERIFY(tight.width() < FDefault.width() / 2 && tight.height() < FDefault.height() / 2);
        QVERIFY(RowHasInk(tight, 0) && RowHasInk(tight, tight.height() - 1));
        QVERIFY(ColumnHasInk(tight, 0) && ColumnHasInk(tight, tight.width() - 1));

        QCOMPARE(Run(common + QStringList {u"-o"_s, u"margin.png"_s, u"--trim=3"_s}, FDir.path())
                     .exitCode,
                 0);
        const QImage margin = ReadImage(Path(u"margin.png"_s));
        QCOMPARE(margin.size(), tight.size() + QSize(6, 6));
        QVERIFY(!RowHasInk(margin, 0) && !ColumnHasInk(margin, 0));

        // an opaque picture crops to the same pixels
        QCOMPARE(
            Run({u"render"_s, file, u"-o"_s, u"opaque.png"_s, u"--trim"_s}, FDir.path()).exitCode,
            0);
        QCOMPARE(ReadImage(Path(u"opaque.png"_s)).size(), tight.size());

        // a margin wider than any picture keeps the whole picture
        QCOMPARE(
            Run(common + QStringList {u"-o"_s, u"all.png"_s, u"--trim=2147483647"_s}, FDir.path())
                .exitCode,
            0);
        QCOMPARE(ReadImage(Path(u"all.png"_s)).size(), FDefault);
    }

    void writesSeveralFilesIntoAFolder()
    {
        const QString sub = Path(u"batch"_s);
        QDir().mkpath(sub);
        QStringList arguments = {u"render"_s, u"-d"_s, u"out/pictures"_s, u"-j"_s, u"2"_s};
        for (int i = 0; i < 5; ++i) {
            const QString name = u"batch/logo%1.qvd"_s.arg(i);
            WriteAll(Path(name), "[SET]\r\nLabel=" + QByteArray::number(i) + "\r\n");
            arguments.append(name);
        }
        const TRun run = Run(arguments, FDir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString()); // no progress line when not on a terminal
        const QStringList written = QDir(Path(u"out/pictures"_s)).entryList(QDir::Files);
        QCOMPARE(written,
                 (QStringList {u"logo0.png"_s, u"logo1.png"_s, u"logo2.png"_s, u"logo3.png"_s,
                               u"logo4.png"_s}));
    }

    void showsTheProgressOfABatchOnATerminal()
    {
        WriteAll(Path(u"first.qvd"_s), "[SET]\r\nLabel=1\r\n");
        WriteAll(Path(u"second.qvd"_s), "[SET]\r\nLabel=2\r\n");
        // script(1) gives the program a terminal for its standard error
        const QString command = u"'%1' render -d tty first.qvd second.qvd missing.qvd"_s.arg(
            QStringLiteral(QUILVORO_PROGRAM));
        const TRun run =
            ProgramRun::Run({u"-qec"_s, command, u"/dev/null"_s}, FDir.path(), u"script"_s);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains(u"\r\x1b[Krendering 3 of 3"_s), qPrintable(run.out));
        QVERIFY2(run.out.contains(u"\r\x1b[Kquilvoro: missing.qvd: "_s), qPrintable(run.out));
    }

    void goesOnWithoutAMissingPicture()
    {
        const QString file = Path(u"nopicture.qvd"_s);
        WriteAll(file,
                 "[SET]\r\nLabel=Tex\r\nImage1=/nowhere/texture.bmp\r\n"
                 "Image2=/nowhere/back.bmp\r\n");
        const TRun run = Run({u"render"_s, file}, FDir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(Path(u"nopicture.png"_s)));
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString& line : lines) {
            QVERIFY2(line.contains(file) && line.contains(u"warning"_s), qPrintable(line));
        }
        // each names its picture once, in the reason
        QCOMPARE(lines[0].count(u"/nowhere/texture.bmp"_s), 1);
        QCOMPARE(lines[1].count(u"/nowhere/back.bmp"_s), 1);
    }

    void reportsFailedFilesAndWritesTheOthers()
    {
        WriteAll(Path(u"notalogo.qvd"_s), "just text\r\n");
        const TRun run = Run(
            {u"render"_s, u"-d"_s, u"mixed"_s, u"missing.qvd"_s, u"logo.qvd"_s, u"notalogo.qvd"_s},
            FDir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(QFile::exists(Path(u"mixed/logo.png"_s)));
        QCOMPARE(QDir(Path(u"mixed"_s)).entryList(QDir::Files), QStringList {u"logo.png"_s});
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(run.err.contains(u"quilvoro: missing.qvd: "_s), qPrintable(run.err));
        QVERIFY2(run.err.contains(u"quilvoro: notalogo.qvd: "_s), qPrintable(run.err));
    }

    void reportsAnUnwritableOutput()
    {
        WriteAll(Path(u"afile"_s), "x");
        const QString output = Path(u"afile/out.png"_s); // a folder that is a file
        const TRun run = Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, output}, FDir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(u"quilvoro: "_s + output + u": cannot write"_s),
                 qPrintable(run.err));
    }

    void replacesAnOldPictureWhole()
    {
        WriteAll(Path(u"old.png"_s), QByteArray(100000, 'x'));
        // what a run killed before its rename leaves
        WriteAll(Path(u".old.png.quilvoro-k1LLed"_s), QByteArray(100000, 'y'));
        QCOMPARE(Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, u"old.png"_s}, FDir.path()).exitCode, 0);
        QCOMPARE(ReadImage(Path(u"old.png"_s)).size(), FDefault);
        // no temporary file is left behind, neither this run's nor the killed one's
        QCOMPARE(QDir(FDir.path()).entryList({u"*old.png*"_s}, QDir::Files | QDir::Hidden),
                 QStringList {u"old.png"_s});
    }

    // A thumbnail service reads back through the handle of the file it made; anyone else must
    // never see a half-written picture.
    void writesInPlaceOnlyWhenAsked_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("replaced whole") << false;
        QTest::newRow("in place") << true;
    }

    void writesInPlaceOnlyWhenAsked()
    {
        QFETCH(bool, inPlace);
        const QString output = Path(u"service-made.tmp"_s);
        WriteAll(output, QByteArray());
        QFile held(output);
        QVERIFY(held.open(QIODevice::ReadOnly));
        QStringList arguments = {u"render"_s, u"logo.qvd"_s, u"-o"_s,       output,
                                 u"--size"_s, u"128"_s,      u"--format"_s, u"png"_s};
        if (inPlace)
            arguments.append(u"--in-place"_s);
        const TRun run = Run(arguments, FDir.path());
        QCOMPARE(run.exitCode, inPlace ? 0 : 2); // a .tmp name is no PNG name
        if (!inPlace)
            return;
        QImage image;
        QVERIFY(image.loadFromData(held.readAll(), "PNG"));
        QCOMPARE(std::max(image.width(), image.height()), 128);
    }

    void neverOverwritesALogoFile_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("options");

        QTest::newRow("-o the input") << u"same.qvd"_s << QStringList {u"-o"_s, u"same.qvd"_s};
        QTest::newRow("-o a link to the input")
            << u"same.qvd"_s << QStringList {u"-o"_s, u"link.png"_s};
        QTest::newRow("-d onto the input's own name")
            << u"logo-as.png"_s << QStringList {u"-d"_s, u"."_s};
        QTest::newRow("beside, onto the input's own name") << u"logo-as.png"_s << QStringList();
    }

    void neverOverwritesALogoFile()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, options);
        const QByteArray logo = "[SET]\r\nLabel=Keep\r\n";
        WriteAll(Path(input), logo);
        QFile::remove(Path(u"link.png"_s));
        QVERIFY(QFile::link(Path(u"same.qvd"_s), Path(u"link.png"_s)));
        const TRun run = Run(QStringList {u"render"_s, input} + options, FDir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(u"would overwrite the logo file"_s), qPrintable(run.err));
        QCOMPARE(ReadAll(Path(input)), logo);
    }

    void neverDrawsBeyondTheLargestScale()
    {
        const TRun run = Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, u"huge.png"_s, u"--size"_s,
                              u"16384"_s, u"--region"_s, u"0,0,3,2"_s},
                             FDir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(ReadImage(Path(u"huge.png"_s)).size(), QSize(24, 16));
        QVERIFY2(run.err.startsWith(u"quilvoro: logo.qvd: warning: the largest picture at scale 8 "
                                    "is 24x16 pixels"_s),
                 qPrintable(run.err));
    }

    void fitsAPdfPageIntoWhatReadersOpen_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("longest");
        QTest::newRow("the largest page") << 14400 << 14400;
        QTest::newRow("beyond it") << 16384 << 14400;
    }

    void fitsAPdfPageIntoWhatReadersOpen()
    {
        QFETCH(int, size);
        QFETCH(int, longest);
        const TRun run = Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, u"page.pdf"_s, u"--size"_s,
                              QString::number(size)},
                             FDir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.contains(u"warning: a PDF page"_s), size > longest);
        static const QRegularExpression box(u"/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"_s);
        const QRegularExpressionMatch match =
            box.match(QString::fromLatin1(ReadAll(Path(u"page.pdf"_s))));
        QVERIFY(match.hasMatch());
        QCOMPARE(qRound(std::max(match.captured(1).toDouble(), match.captured(2).toDouble())),
                 longest);
    }

    // Without a display the window says so, and where pictures can be made without one.
    void theWindowNeedsADisplay_data()
    {
        QTest::addColumn<QString>("display"); // empty: none named
        QTest::newRow("none named") << QString();
        QTest::newRow("named, but not there") << u":97"_s;
    }

    void theWindowNeedsADisplay()
    {
        QFETCH(QString, display);
        QProcess window;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        if (!display.isEmpty())
            environment.insert(u"DISPLAY"_s, display);
        window.setProcessEnvironment(environment);
        window.start(QStringLiteral(QUILVORO_PROGRAM), {});
        QVERIFY(window.waitForFinished(30000));
        const QString err = QString::fromLocal8Bit(window.readAllStandardError());
        QCOMPARE(window.exitStatus(), QProcess::NormalExit);
        QCOMPARE(window.exitCode(), 1);
        QVERIFY2(err.startsWith(u"quilvoro: no display found"_s)
                     && err.contains(u"quilvoro render"_s),
                 qPrintable(err));
        QVERIFY2(!err.contains(u"Reinstalling"_s), qPrintable(err));
    }

    // Qt must not take options of its own before ours are read: it aborts on a bad platform.
    void refusesQtsOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("window") << QStringList {u"-platform"_s, u"nowhere"_s};
        QTest::newRow("render") << QStringList {u"render"_s, u"-platform"_s, u"nowhere"_s,
                                                u"logo.qvd"_s};
        QTest::newRow("window, unknown option") << QStringList {u"--bogus"_s};
    }

    void refusesQtsOptions()
    {
        QFETCH(QStringList, arguments);
        const TRun run = Run(arguments, FDir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(u"Try 'quilvoro"_s), qPrintable(run.err));
    }

    // The command line speaks English whatever the locale, down to the system's reasons.
    void explainsFailuresInEnglish_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing logo file")
            << QStringList {u"missing.qvd"_s} << u"cannot read the logo file: no such file"_s;
        QTest::newRow("not a logo file")
            << QStringList {u"plain.qvd"_s} << u"not a logo file (no settings under [SET])"_s;
        QTest::newRow("a logo file that is a folder")
            << QStringList {u"folder.qvd"_s} << u"it is a folder"_s;
        QTest::newRow("missing texture")
            << QStringList {u"textured.qvd"_s} << u"\"/nowhere/t.bmp\": no such file"_s;
        QTest::newRow("a folder under a file")
            << QStringList {u"logo.qvd"_s, u"-d"_s, u"plain.qvd/out"_s}
            << u"cannot make the folder: a part of the path is not a folder"_s;
        QTest::newRow("output into a missing folder")
            << QStringList {u"logo.qvd"_s, u"-o"_s, u"nowhere/x.png"_s}
            << u"cannot write: no such file or folder"_s;
    }

    void explainsFailuresInEnglish()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        WriteAll(Path(u"plain.qvd"_s), "no settings\r\n");
        WriteAll(Path(u"textured.qvd"_s), "[SET]\r\nLabel=T\r\nImage1=/nowhere/t.bmp\r\n");
        QDir().mkpath(Path(u"folder.qvd"_s));
        const TRun run = ProgramRun::Run(
            QStringList {u"render"_s} + arguments, FDir.path(), QStringLiteral(QUILVORO_PROGRAM),
            {{u"LC_ALL"_s, u"ja_JP.UTF-8"_s}, {u"LANG"_s, u"ja_JP.UTF-8"_s}});
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        const bool ascii = std::all_of(run.err.cbegin(), run.err.cend(),
                                       [](QChar c) { return c.unicode() < 0x80; });
        QVERIFY2(ascii, qPrintable(run.err));
    }

    void refusesBadUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        QTest::newRow("bad region")
            << QStringList {u"logo.qvd"_s, u"--region"_s, u"0,0,900,10"_s} << u"bad region"_s;
        QTest::newRow("region not numbers")
            << QStringList {u"logo.qvd"_s, u"--region"_s, u"a,b,c,d"_s} << u"bad region"_s;
        QTest::newRow("no file") << QStringList() << u"no logo file"_s;
        QTest::newRow("unknown option") << QStringList {u"logo.qvd"_s, u"--bogus"_s} << u"bogus"_s;
        QTest::newRow("scale 9") << QStringList {u"logo.qvd"_s, u"--scale"_s, u"9"_s}
                                 << u"--scale"_s;
        QTest::newRow("transparent bmp")
            << QStringList {u"logo.qvd"_s, u"--transparent"_s, u"--format"_s, u"bmp"_s}
            << u"transparent"_s;
        QTest::newRow("-o with two files")
            << QStringList {u"logo.qvd"_s, u"small.qvd"_s, u"-o"_s, u"x.png"_s} << u"-d"_s;
        QTest::newRow("same name twice")
            << QStringList {u"logo.qvd"_s, u"batch/../logo.qvd"_s} << u"both"_s;
        QTest::newRow("region at the largest int")
            << QStringList {u"logo.qvd"_s, u"--region=2147483647,0,1,1"_s} << u"right edge"_s;
        QTest::newRow("margin with a space")
            << QStringList {u"logo.qvd"_s, u"--trim"_s, u"10"_s} << u"--trim=10"_s;
        QTest::newRow("format against the name")
            << QStringList {u"logo.qvd"_s, u"-o"_s, u"x.png"_s, u"--format"_s, u"jpg"_s}
            << u"png, bmp, jpg, webp, svg, svgz or pdf"_s;
    }

    void refusesBadUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFile::remove(Path(u"logo.png"_s));
        const TRun run = Run(QStringList {u"render"_s} + arguments, FDir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(u"quilvoro render: "_s) && run.err.contains(message),
                 qPrintable(run.err));
        QVERIFY(!QFile::exists(Path(u"logo.png"_s)));
    }

    void answersHelpAndVersion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");

        QTest::newRow("render help") << QStringList {u"render"_s, u"--help"_s}
                                     << u"Usage: quilvoro render [options] FILE.qvd..."_s;
        QTest::newRow("window help")
            << QStringList {u"--help"_s} << u"Usage: quilvoro [options] [FILE.qvd]"_s;
        QTest::newRow("version") << QStringList {u"--version"_s} << u"quilvoro 2."_s;
        QTest::newRow("render version") << QStringList {u"render"_s, u"-v"_s} << u"quilvoro 2."_s;
    }

    void answersHelpAndVersion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        const TRun run = Run(arguments, FDir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(output), qPrintable(run.out));
        QCOMPARE(run.err, QString());
    }

    // A missing logo file named on the command line is said in the window, as a recent file's
    // is; an X server without a window manager shows which windows open.
    void saysInTheWindowThatALogoFileIsMissing()
    {
        for (const QString& tool : {u"Xvfb"_s, u"xdotool"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is not installed (make deps installs it)"_s));
        }
        QProcess server;
        server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s});
        QVERIFY(server.waitForReadyRead(20000));
        const QString display = u":"_s + QString::fromLatin1(server.readLine().trimmed());
        QProcess window;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        window.setProcessEnvironment(environment);
        window.start(QStringLiteral(QUILVORO_PROGRAM), {Path(u"missing.qvd"_s)});
        QProcess search;
        search.setProcessEnvironment(environment);
        // the message box carries the bare title; the main window adds its version
        search.start(u"timeout"_s,
                     {u"20"_s, u"xdotool"_s, u"search"_s, u"--sync"_s, u"--onlyvisible"_s,
                      u"--name"_s, u"^Quilvoro$"_s});
        QVERIFY(search.waitForFinished(30000));
        const QByteArray found = search.readAllStandardOutput();
        window.kill();
        window.waitForFinished();
        server.terminate();
        server.waitForFinished();
        QVERIFY2(!found.trimmed().isEmpty(), "no message box opened");
        QCOMPARE(window.readAllStandardError().contains("missing.qvd"), false);
    }

    void refusesTwoLogoFilesForTheWindowWithoutADisplay()
    {
        const TRun run = Run({u"a.qvd"_s, u"b.qvd"_s}, FDir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(u"quilvoro: only one logo file"_s), qPrintable(run.err));
    }

private:
    QString Path(const QString& name) const { return FDir.filePath(name); }

    QTemporaryDir FDir;
    QSize FDefault;
};

QUILVORO_APP_TEST_MAIN(tst_RenderCommandLine)
#include "tst_RenderCommandLine.moc"
