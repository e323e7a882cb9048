// `quilvoro render` run as a real process, as a script runs it: without any display.
#include "document/LogoFile.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace FileTesting;

namespace {

struct TRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program in `folder` with no display server in its environment.
TRun Run(const QStringList& arguments, const QString& folder,
         const QString& program = QStringLiteral(QUILVORO_PROGRAM))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(name);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
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

    void drawsWhatTheRendererDraws()
    {
        const QString file = Path(u"parity.qvd"_s);
        WriteAll(file,
                 "[SET]\r\nLabel=Par\r\nSize=70\r\nAngle=20\r\nDepth=40\r\nStyle2=1\r\n"
                 "Color1=65535\r\n");
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
        QTest::newRow("option over suffix")
            << QStringList {u"--format"_s, u"bmp"_s, u"-o"_s, u"odd.png"_s} << u"odd.png"_s
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
        const TRun run = Run({u"-qec"_s, command, u"/dev/null"_s}, FDir.path(), u"script"_s);
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
        QVERIFY(lines[0].contains(u"/nowhere/texture.bmp"_s));
        QVERIFY(lines[1].contains(u"/nowhere/back.bmp"_s));
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
        QCOMPARE(Run({u"render"_s, u"logo.qvd"_s, u"-o"_s, u"old.png"_s}, FDir.path()).exitCode, 0);
        QCOMPARE(ReadImage(Path(u"old.png"_s)).size(), FDefault);
        // no temporary file is left behind
        QCOMPARE(QDir(FDir.path()).entryList({u"old.png*"_s}, QDir::Files),
                 QStringList {u"old.png"_s});
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
