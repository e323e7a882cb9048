// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Logos written as shapes where pictures go: `quilvoro render` as a real process, the window's
// export dialog and the clipboard, each drawn by librsvg or poppler against the raster.
#include "WorkingWindow.h"
#include "app/Makewindow1.h"
#include "app/WindowActions.h"
#include "controls/SelShape.h"
#include "document/LogoFile.h"
#include "framework/TEdit.h"
#include "output/VectorTesting.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// The program in `folder`, with no display server in its environment; its exit code.
int RunProgram(const QStringList& arguments, const QString& folder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(name);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(QUILVORO_PROGRAM), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

// The picture a vector file shows at `size`, drawn by librsvg or poppler.
QImage Drawn(const QString& file, QSize size, const QString& folder)
{
    const QString png = folder + u"/drawn.png"_s;
    QFile::remove(png);
    if (file.endsWith(u".svg"_s)) {
        if (Run(u"rsvg-convert"_s, {u"-o"_s, png, file}) != 0)
            return {};
    } else if (Run(u"pdftoppm"_s,
                   {u"-png"_s, u"-singlefile"_s, u"-scale-to-x"_s, QString::number(size.width()),
                    u"-scale-to-y"_s, QString::number(size.height()), file, folder + u"/drawn"_s})
               != 0) {
        return {};
    }
    return QImage(png);
}

// Within the bounds a vector file keeps to its raster.
bool Matches(const QImage& raster, const QImage& drawn)
{
    const PictureDifference d = Difference(raster, drawn);
    if (d.meanLevels > 2 || d.farShare > 0.01)
        qWarning() << "mean" << d.meanLevels << "far" << d.farShare;
    return d.meanLevels <= 2 && d.farShare <= 0.01;
}

QByteArray Attribute(const QByteArray& svg, const char* name)
{
    const QRegularExpression pattern(u"<svg [^>]*\\b%1=\"([^\"]*)\""_s.arg(QLatin1String(name)));
    return pattern.match(QString::fromUtf8(svg)).captured(1).toUtf8();
}

} // namespace

class tst_VectorExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"Quilvoro"_s, u"Quilvoro"_s).clear();
        QVERIFY(FDir.isValid());
        LogoDocument logo;
        logo.FontName = u"DejaVu Sans"_s;
        logo.Size = 60;
        logo.Depth = 80;
        logo.Angle = 20;
        LogoFile::Write(logo, FDir.filePath(u"logo.qvd"_s));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("viewBox"); // empty: not an SVG, or trimmed
        QTest::newRow("svg by suffix")
            << QStringList() << u"out.svg"_s << QByteArray("2 2 588 356");
        QTest::newRow("pdf by suffix") << QStringList() << u"out.pdf"_s << QByteArray();
        QTest::newRow("svg by --format, no suffix")
            << QStringList {u"--format"_s, u"svg"_s} << u"out"_s << QByteArray("2 2 588 356");
        QTest::newRow("region") << QStringList {u"--region"_s, u"10,20,300,200"_s} << u"out.svg"_s
                                << QByteArray("10 20 300 200");
        QTest::newRow("region into the bevel") << QStringList {u"--region"_s, u"-4,-4,200,120"_s}
                                               << u"out.svg"_s << QByteArray("-4 -4 200 120");
        QTest::newRow("transparent")
            << QStringList {u"--transparent"_s} << u"out.svg"_s << QByteArray("2 2 588 356");
        QTest::newRow("trimmed") << QStringList {u"--trim=3"_s} << u"out.svg"_s << QByteArray();
        QTest::newRow("pdf, region, transparent")
            << QStringList {u"--region"_s, u"50,50,400,250"_s, u"--transparent"_s} << u"out.pdf"_s
            << QByteArray();
        QTest::newRow("pdf trimmed") << QStringList {u"--trim"_s} << u"out.pdf"_s << QByteArray();
    }

    // The vector file the program writes shows what its picture with the same options shows.
    void commandLine()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(QByteArray, viewBox);
        const QString folder = FDir.path();
        QCOMPARE(
            RunProgram(QStringList {u"render"_s, u"logo.qvd"_s, u"-o"_s, output} + options, folder),
            0);
        QStringList rasterOptions = options;
        const qsizetype format = rasterOptions.indexOf(u"--format"_s);
        if (format >= 0)
            rasterOptions.remove(format, 2);
        QCOMPARE(RunProgram(QStringList {u"render"_s, u"logo.qvd"_s, u"-o"_s, u"raster.png"_s}
                                + rasterOptions,
                            folder),
                 0);
        const QImage raster(FDir.filePath(u"raster.png"_s));
        QVERIFY(!raster.isNull());
        const QString file = FDir.filePath(output);
        const QByteArray bytes = FileTesting::ReadAll(file);
        QString drawable = file;
        if (bytes.startsWith("<?xml")) {
            QCOMPARE(Run(u"xmllint"_s, {u"--noout"_s, file}), 0);
            if (!viewBox.isEmpty())
                QCOMPARE(Attribute(bytes, "viewBox"), viewBox);
            QCOMPARE(Attribute(bytes, "width").toInt(), raster.width());
            QCOMPARE(Attribute(bytes, "height").toInt(), raster.height());
            QCOMPARE(bytes.contains("<rect"), !options.contains(u"--transparent"_s));
            if (!file.endsWith(u".svg"_s)) {
                drawable = file + u".svg"_s;
                QFile::remove(drawable);
                QVERIFY(QFile::copy(file, drawable));
            }
        } else {
            QVERIFY(bytes.startsWith("%PDF-"));
        }
        QImage reference = raster;
        if (drawable.endsWith(u".pdf"_s) && reference.hasAlphaChannel()) {
            reference = QImage(raster.size(), QImage::Format_RGB32);
            reference.fill(Qt::white);
            QPainter(&reference).drawImage(0, 0, raster);
        }
        const QImage drawn = Drawn(drawable, raster.size(), folder);
        QCOMPARE(drawn.size(), raster.size());
        QVERIFY(Matches(reference, drawn));
    }

    void unknownFormatIsAUsageError()
    {
        QCOMPARE(RunProgram({u"render"_s, u"logo.qvd"_s, u"--format"_s, u"eps"_s}, FDir.path()), 2);
    }

    void exportDialog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("svg") << u"export.svg"_s;
        QTest::newRow("pdf") << u"export.PDF"_s;
    }

    // The export dialog offers both and writes the framed region as shown.
    void exportDialog()
    {
        QFETCH(QString, name);
        TestDialogs dialogs;
        const QString file = FDir.filePath(name);
        dialogs.fileAnswers.push_back(file);
        const std::unique_ptr<TMakeForm1> window = WorkingWindow::WorkingForm();
        TMakeForm1& form = *window;
        form.SpeedButton6Click(&form);
        const QStringList entries =
            TDialogs::QtFilter(dialogs.fileRequests.first().filter).split(u";;"_s);
        QVERIFY(entries.contains(u"SVGファイル (*.svg)"_s));
        QVERIFY(entries.contains(u"PDFファイル (*.pdf)"_s));
        QVERIFY(dialogs.pngRequests.isEmpty());
        QString drawable = file;
        if (name.endsWith(u".PDF"_s)) {
            drawable = FDir.filePath(u"export.pdf"_s);
            QFile::remove(drawable);
            QVERIFY(QFile::copy(file, drawable));
        }
        const QImage shown = form.CaptureSelection();
        const QImage drawn = Drawn(drawable, shown.size(), FDir.path());
        QCOMPARE(drawn.size(), form.SelShape1->size());
        QVERIFY(Matches(shown, drawn));
    }

    // A paste into a vector program gets the same region as shapes, the logo alone.
    void clipboardOffersSvg()
    {
        const std::unique_ptr<TMakeForm1> window = WorkingWindow::WorkingForm();
        TMakeForm1& form = *window;
        form.Actions->CopyToClipboard();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasImage());
        QVERIFY(data->formats().contains(u"image/svg+xml"_s));
        const QByteArray svg = data->data(u"image/svg+xml"_s);
        QVERIFY(svg.contains("<title>"));
        QVERIFY(!svg.contains("<rect")); // transparent, as the picture is
        const QString file = FDir.filePath(u"clip.svg"_s);
        QVERIFY(WriteFile(file, svg));
        QCOMPARE(Run(u"xmllint"_s, {u"--noout"_s, file}), 0);
        const QImage picture = form.Actions->ClipboardPicture();
        const QImage drawn = Drawn(file, picture.size(), FDir.path());
        QCOMPARE(drawn.size(), form.SelShape1->size());
        // The start logo's gradation fades out over nothing.
        QVERIFY(Matches(picture, drawn));
    }

    // The copy is drawn when a program asks for it, and then shows the logo of the copy, not
    // the one edited since.
    void clipboardKeepsTheLogoOfTheCopy()
    {
        const std::unique_ptr<TMakeForm1> window = WorkingWindow::WorkingForm();
        TMakeForm1& form = *window;
        const QImage picture = form.Actions->ClipboardPicture();
        const QByteArray svg = form.Actions->ClipboardSvg();
        form.Actions->CopyToClipboard();
        form.Edit1->SetText(u"Changed"_s);
        QVERIFY(form.Actions->ClipboardSvg() != svg);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->data(u"image/svg+xml"_s), svg);
        QCOMPARE(qvariant_cast<QImage>(data->imageData()), picture);
        QCOMPARE(QGuiApplication::clipboard()->image(), picture);
    }

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_VectorExport)
#include "tst_VectorExport.moc"
