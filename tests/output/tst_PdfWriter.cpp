// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "VectorTesting.h"
#include "output/PdfWriter.h"
#include "render/VectorScene.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_PdfWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QVERIFY(FDir.isValid());
    }

    void invalidRegionWritesNothing()
    {
        RenderOptions options;
        options.scale = 0;
        QVERIFY(PdfWriter::Write(VectorScene::Of(LogoDocument(), {}, options)).isEmpty());
    }

    // One page the region's size, a point per pixel, titled with the logo's text.
    void pageOfTheRegion()
    {
        Logo logo = LogoFor(u"deep depth10"_s);
        logo.options.region = QRect(10, 20, 300, 150);
        const QByteArray pdf =
            PdfWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options));
        const QString file = FDir.filePath(u"page.pdf"_s);
        QVERIFY(WriteFile(file, pdf));
        QByteArray info;
        QCOMPARE(Run(u"pdfinfo"_s, {file}, &info), 0);
        QVERIFY2(info.contains("Pages:           1"), info.constData());
        QVERIFY2(info.contains("300 x 150 pts"), info.constData());
        QVERIFY2(info.contains(logo.document.Text.toUtf8()), info.constData());
    }

    void sameLogoSameBytes_data()
    {
        QTest::addColumn<QByteArray>("epoch");
        QTest::addColumn<QByteArray>("date"); // what the document says, if anything
        QTest::newRow("no source date") << QByteArray() << QByteArray();
        QTest::newRow("source date")
            << QByteArray("1700000000") << QByteArray("/CreationDate (D:20231114221320Z)");
        QTest::newRow("not a time") << QByteArray("soon") << QByteArray();
    }

    // A logo kept with its exports under version control does not change on every export: the
    // only date is SOURCE_DATE_EPOCH's, and the file stays one that readers take.
    void sameLogoSameBytes()
    {
        QFETCH(QByteArray, epoch);
        QFETCH(QByteArray, date);
        const QByteArray saved = qgetenv("SOURCE_DATE_EPOCH");
        if (epoch.isEmpty())
            qunsetenv("SOURCE_DATE_EPOCH");
        else
            qputenv("SOURCE_DATE_EPOCH", epoch);
        const Logo logo = LogoFor(u"deep depth10 textured"_s);
        const VectorScene scene = VectorScene::Of(logo.document, logo.pictures, logo.options);
        const QByteArray first = PdfWriter::Write(scene);
        const QByteArray second = PdfWriter::Write(scene);
        if (saved.isNull())
            qunsetenv("SOURCE_DATE_EPOCH");
        else
            qputenv("SOURCE_DATE_EPOCH", saved);
        QCOMPARE(first, second);
        QCOMPARE(first.contains("/CreationDate"), !date.isEmpty());
        if (!date.isEmpty())
            QVERIFY(first.contains(date));
        const QString file = FDir.filePath(u"dated.pdf"_s);
        QVERIFY(WriteFile(file, first));
        QByteArray info;
        QCOMPARE(Run(u"pdfinfo"_s, {file}, &info), 0);
        QVERIFY2(!info.contains("Syntax Error"), info.constData());
    }

    void fractionalScale_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<double>("scale");
        QTest::newRow("texture at 1.53") << u"deep depth20 size70 textured"_s << 1.53;
        QTest::newRow("texture at 1.27") << u"deep depth20 size70 textured solid"_s << 1.27;
        QTest::newRow("background at 1.37") << u"deep depth20 size70 backdrop"_s << 1.37;
    }

    // Drawn at a size between whole scales, as thumbnails and --size are, the texture stays on
    // the letters and the pictures are smoothed, as the raster drawn larger and scaled shows.
    void fractionalScale()
    {
        QFETCH(QString, tag);
        QFETCH(double, scale);
        const Logo logo = LogoFor(tag);
        const VectorScene scene = VectorScene::Of(logo.document, logo.pictures, logo.options);
        const QString file = FDir.filePath(u"scaled.pdf"_s);
        QVERIFY(WriteFile(file, PdfWriter::Write(scene)));
        QByteArray list;
        QCOMPARE(Run(u"pdfimages"_s, {u"-list"_s, file}, &list), 0);
        const QList<QByteArray> images = list.trimmed().split('\n').mid(2);
        QVERIFY(!images.isEmpty());
        for (const QByteArray& image : images)
            QVERIFY2(image.simplified().split(' ').value(9) == "yes", image.constData());

        const QSize size = (QSizeF(scene.region.size()) * scale).toSize();
        RenderOptions larger = logo.options;
        larger.scale = 2;
        const QImage raster = DocumentRenderer::Render(logo.document, logo.pictures, larger)
                                  .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage drawn = DrawnBy(u"pdftoppm"_s, file, size);
        QCOMPARE(drawn.size(), size);
        const PictureDifference difference = Difference(raster, drawn);
        QVERIFY2(difference.meanLevels <= 2 && difference.farShare <= 0.01,
                 qPrintable(u"mean %1 levels, %2 % far off"_s.arg(difference.meanLevels)
                                .arg(difference.farShare * 100)));
    }

    void drawnLikeTheRaster_data() { AddLogoRows({u"pdftoppm"_s, u"pdftocairo"_s}); }

    // Both of poppler's renderers draw the page at the raster's size as Quilvoro draws it.
    void drawnLikeTheRaster()
    {
        QFETCH(QString, tag);
        const Logo logo = LogoFor(tag);
        const QByteArray pdf =
            PdfWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options));
        const QString file = FDir.filePath(u"logo.pdf"_s);
        QVERIFY(WriteFile(file, pdf));
        QImage raster = DocumentRenderer::Render(logo.document, logo.pictures, logo.options);
        QFETCH(QString, program);
        // Cairo draws the pictures that Splash smooths; Splash covers the rest.
        const bool textured = tag.contains(u"textured");
        if (program == u"pdftocairo" && !textured)
            QSKIP("drawn by pdftoppm");
        const QImage drawn = DrawnBy(program, file, raster.size());
        QCOMPARE(drawn.size(), raster.size());
        if (raster.hasAlphaChannel()) {
            // a page is paper: what is left out shows white
            QImage paper(raster.size(), QImage::Format_RGB32);
            paper.fill(Qt::white);
            QPainter(&paper).drawImage(0, 0, raster);
            raster = paper;
        }
        const PictureDifference difference = Difference(raster, drawn);
        QVERIFY2(difference.meanLevels <= 2,
                 qPrintable(u"mean %1 levels"_s.arg(difference.meanLevels)));
        if (program == u"pdftoppm" && textured)
            QEXPECT_FAIL("", "pdftoppm smooths a picture drawn at its own size", Continue);
        QVERIFY2(difference.farShare <= 0.01,
                 qPrintable(u"%1 % far off"_s.arg(difference.farShare * 100)));
    }

    void fadeShowsEachBandAtItsOpacity_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("pdftoppm") << u"pdftoppm"_s;
        QTest::newRow("pdftocairo") << u"pdftocairo"_s;
        QTest::newRow("mutool") << u"mutool"_s;
        // Ghostscript takes a mask's greys through its colour management unless they are RGB
        QTest::newRow("gs") << u"gs"_s;
    }

    // A fade of many bands, each a rectangle holding the nearer ones, shows every band at its
    // own opacity through the soft mask, however many bands lie beneath it.
    void fadeShowsEachBandAtItsOpacity()
    {
        QFETCH(QString, program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP("not installed");
        constexpr int kBands = 200;
        constexpr int kRing = 2; // pixels of each band that no nearer band covers
        VectorScene scene;
        scene.region = QRect(0, 0, kBands * kRing, 10);
        scene.outputSize = scene.region.size();
        scene.labelRect = scene.region;
        LogoRegion fade;
        fade.kind = LogoRegion::Fade;
        fade.colour = Qt::black;
        for (int i = 0; i < kBands; ++i) { // farthest first
            QPainterPath band;
            band.addRect(0, 0, (kBands - i) * kRing, 10);
            fade.bands.push_back({band, double(i + 1) / kBands});
        }
        fade.path = fade.bands.front().path;
        scene.regions.push_back(fade);

        const QString file = FDir.filePath(u"fade.pdf"_s);
        QVERIFY(WriteFile(file, PdfWriter::Write(scene)));
        const QImage drawn = DrawnBy(program, file, scene.outputSize);
        QCOMPARE(drawn.size(), scene.outputSize);
        for (int i = 0; i < kBands; ++i) {
            // black at the band's opacity over white paper
            const double expected = 255.0 * (1 - fade.bands[std::size_t(i)].opacity);
            const int grey = qGreen(drawn.pixel((kBands - 1 - i) * kRing + kRing / 2, 5));
            QVERIFY2(std::abs(grey - expected) <= 2,
                     qPrintable(u"band %1: %2 instead of %3"_s.arg(i).arg(grey).arg(expected)));
        }
    }

private:
    // The page drawn by `program` at `size` pixels; null when it fails.
    QImage DrawnBy(const QString& program, const QString& file, QSize size)
    {
        const QString png = FDir.filePath(u"drawn"_s);
        // pages are a point per pixel
        if (program == u"mutool")
            return Run(program,
                       {u"draw"_s, u"-q"_s, u"-r"_s, u"72"_s, u"-o"_s, png + u".png"_s, file})
                    == 0
                ? QImage(png + u".png"_s)
                : QImage();
        if (program == u"gs")
            return Run(program,
                       {u"-q"_s, u"-dNOPAUSE"_s, u"-dBATCH"_s, u"-dSAFER"_s, u"-sDEVICE=png16m"_s,
                        u"-r72"_s, u"-dGraphicsAlphaBits=4"_s, u"-sOutputFile="_s + png + u".png"_s,
                        file})
                    == 0
                ? QImage(png + u".png"_s)
                : QImage();
        if (Run(program,
                {u"-png"_s, u"-singlefile"_s, u"-scale-to-x"_s, QString::number(size.width()),
                 u"-scale-to-y"_s, QString::number(size.height()), file, png})
            != 0)
            return {};
        return QImage(png + u".png"_s);
    }

    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_PdfWriter)
#include "tst_PdfWriter.moc"
