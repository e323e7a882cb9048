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
        QByteArray messages;
        QCOMPARE(Run(program,
                     {u"-png"_s, u"-singlefile"_s, u"-scale-to-x"_s,
                      QString::number(raster.width()), u"-scale-to-y"_s,
                      QString::number(raster.height()), file, FDir.filePath(u"logo"_s)},
                     &messages),
                 0);
        const QImage drawn(FDir.filePath(u"logo.png"_s));
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
            QEXPECT_FAIL("", "pdftoppm smooths a pattern's picture drawn at its own size",
                         Continue);
        QVERIFY2(difference.farShare <= 0.01,
                 qPrintable(u"%1 % far off"_s.arg(difference.farShare * 100)));
    }

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_PdfWriter)
#include "tst_PdfWriter.moc"
