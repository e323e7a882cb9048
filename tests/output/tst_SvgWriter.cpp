// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "VectorTesting.h"
#include "output/SvgWriter.h"
#include "output/VectorFile.h"
#include "platform/PanelDrawing.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"
#include "render/TextWarp.h"
#include "render/VectorScene.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QColorSpace>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TLogoWarp)

class tst_SvgWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QVERIFY(FDir.isValid());
    }

    void pathData_data()
    {
        QTest::addColumn<QPainterPath>("path");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("decimals");
        QPainterPath square;
        square.addRect(1, 2, 3, 4);
        QTest::newRow("closed square") << square << QByteArray("M1 2l3 0 0 4-3 0z") << 2;
        QPainterPath open;
        open.moveTo(0.5, 0.25);
        open.lineTo(-1.125, 0.25);
        QTest::newRow("open line, hundredths") << open << QByteArray("M0.5 0.25l-1.63 0") << 2;
        QPainterPath curve;
        curve.moveTo(10, 10);
        curve.cubicTo(11, 10, 12, 11, 12, 12);
        curve.lineTo(10, 10);
        QTest::newRow("curve, closed") << curve << QByteArray("M10 10c1 0 2 1 2 2z") << 2;
        QPainterPath two;
        two.addRect(0, 0, 1, 1);
        two.addRect(5, 5, 1, 1);
        QTest::newRow("tenths") << open << QByteArray("M0.5 0.3l-1.6 0") << 1;
        QTest::newRow("two subpaths")
            << two << QByteArray("M0 0l1 0 0 1-1 0zM5 5l1 0 0 1-1 0z") << 2;
    }

    void pathData()
    {
        QFETCH(QPainterPath, path);
        QFETCH(QByteArray, data);
        QFETCH(int, decimals);
        QCOMPARE(SvgWriter::PathData(path, decimals), data);
    }

    void title_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("markup") << u"<a> & \"b\""_s << QByteArray("&lt;a&gt; &amp; &quot;b&quot;");
        QTest::newRow("japanese") << u"ロゴ"_s << u"ロゴ"_s.toUtf8();
        QTest::newRow("control characters") << u"a\u0001b\u001Fc"_s << QByteArray("abc");
    }

    // The text is searchable and the document stays well-formed whatever it holds.
    void title()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, title);
        Logo logo = LogoFor(u"deep depth10"_s);
        logo.document.Text = text;
        const QByteArray svg =
            SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options));
        QVERIFY(svg.contains("<title>" + title + "</title>"));
        QCOMPARE(Lint(svg), 0);
    }

    void invalidRegionWritesNothing()
    {
        RenderOptions options;
        options.region = QRect(-10, 0, 50, 50);
        QVERIFY(SvgWriter::Write(VectorScene::Of(LogoDocument(), {}, options)).isEmpty());
    }

    void drawnLikeTheRaster_data() { AddLogoRows(); }

    // librsvg draws the file at the raster's size as Quilvoro draws it itself.
    void drawnLikeTheRaster()
    {
        QFETCH(QString, tag);
        const Logo logo = LogoFor(tag);
        const QByteArray svg =
            SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options));
        QCOMPARE(Lint(svg), 0);
        QVERIFY2(!svg.contains("<text"), "no dependence on fonts");
        const QString file = FDir.filePath(u"logo.svg"_s);
        const QString png = FDir.filePath(u"logo.png"_s);
        QVERIFY(WriteFile(file, svg));
        QByteArray messages;
        QCOMPARE(Run(u"rsvg-convert"_s, {u"-o"_s, png, file}, &messages), 0);
        const QImage drawn(png);
        const QImage raster = DocumentRenderer::Render(logo.document, logo.pictures, logo.options);
        QCOMPARE(drawn.size(), raster.size());
        const PictureDifference difference = Difference(raster, drawn);
        QVERIFY2(difference.meanLevels <= 2,
                 qPrintable(u"mean %1 levels"_s.arg(difference.meanLevels)));
        QVERIFY2(difference.farShare <= 0.01,
                 qPrintable(u"%1 % far off"_s.arg(difference.farShare * 100)));
    }

    void drawnByBrowserAndEditor_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("program");
        const char* rows[] = {
            "gradation depth40 size60 rings gradient blur glow angle20",
            "deep depth30 size60 glow faint rings transparent",
            "gradation depth30 size60 spaced gradient warp1:60",
            "gradation depth200 size100 angle30",
        };
        for (const char* row : rows)
            for (const char* program : {"chromium", "inkscape"})
                QTest::addRow("%s, %s", row, program)
                    << QString::fromLatin1(row) << QString::fromLatin1(program);
    }

    // The decorations' filters and gradients as a browser and a drawing program show them: the
    // filters are ones both draw (a drop-shadow primitive would be hidden by one of them).
    void drawnByBrowserAndEditor()
    {
        QFETCH(QString, tag);
        QFETCH(QString, program);
        const Logo logo = LogoFor(tag);
        const QImage raster = DocumentRenderer::Render(logo.document, logo.pictures, logo.options);
        const QString file = FDir.filePath(u"reader.svg"_s);
        const QString png = FDir.filePath(u"reader.png"_s);
        QFile::remove(png);
        QVERIFY(WriteFile(
            file, SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options))));
        const QStringList arguments = program == u"chromium"
            ? QStringList {u"--headless"_s,
                           u"--no-sandbox"_s,
                           u"--disable-gpu"_s,
                           u"--hide-scrollbars"_s,
                           u"--force-device-scale-factor=1"_s,
                           u"--default-background-color=00000000"_s,
                           u"--user-data-dir="_s + FDir.filePath(u"chromium"_s),
                           u"--window-size=%1,%2"_s.arg(raster.width()).arg(raster.height()),
                           u"--screenshot="_s + png,
                           QUrl::fromLocalFile(file).toString()}
            : QStringList {u"--export-type=png"_s, u"--export-filename="_s + png, file};
        QByteArray messages;
        QVERIFY2(Run(program, arguments, &messages) == 0, messages.constData());
        const QImage drawn(png);
        QCOMPARE(drawn.size(), raster.size());
        const PictureDifference difference = Difference(raster, drawn);
        QVERIFY2(difference.meanLevels <= 2,
                 qPrintable(u"mean %1 levels"_s.arg(difference.meanLevels)));
        QVERIFY2(difference.farShare <= 0.01,
                 qPrintable(u"%1 % far off"_s.arg(difference.farShare * 100)));
    }

    void picturesAsShown_data()
    {
        QTest::addColumn<QByteArray>("source"); // the picture file's format
        QTest::addColumn<QByteArray>("embedded");
        QTest::newRow("png") << QByteArray("png") << QByteArray("png");
        QTest::newRow("jpeg") << QByteArray("jpeg") << QByteArray("jpeg");
        QTest::newRow("bmp") << QByteArray("bmp") << QByteArray("png");
    }

    // A background picture larger than the label is embedded as the raster shows it: only the
    // part in view, its pixels without the source's colour profile or text (dates made identical
    // logos differ), and a photograph that came as JPEG stays JPEG.
    void picturesAsShown()
    {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, embedded);
        QImage picture = TestBackground().scaled(900, 500);
        picture.setColorSpace(QColorSpace::DisplayP3);
        picture.setText(u"date:create"_s, u"2026-01-01T00:00:00+00:00"_s);
        const QString file = FDir.filePath(u"picture."_s + QString::fromLatin1(source));
        QVERIFY(picture.save(file, source.constData()));
        Logo logo = LogoFor(u"deep depth10"_s);
        logo.pictures.background = TPictureFile::Load(file);
        const QString svg = QString::fromLatin1(
            SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options)));
        const QRegularExpressionMatch image =
            QRegularExpression(u"data:image/(\\w+);base64,([^\"]*)"_s).match(svg);
        QCOMPARE(image.captured(1).toLatin1(), embedded);
        const QImage decoded =
            QImage::fromData(QByteArray::fromBase64(image.captured(2).toLatin1()));
        QVERIFY(!decoded.colorSpace().isValid() && decoded.textKeys().isEmpty());
        const QRect region = DocumentRenderer::DefaultRegion();
        QCOMPARE(decoded.size(), region.size());
        if (embedded == "png") {
            const QRect whole =
                PanelDrawing::CenteredRect(DocumentRenderer::kPreviewSize, picture.size());
            QImage shown = logo.pictures.background.copy(region.translated(-whole.topLeft()));
            shown.setColorSpace({}); // the same pixels, unconverted, as the raster draws them
            QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32),
                     shown.convertToFormat(QImage::Format_RGB32));
        }
    }

    void groupsForEditing_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("groups"); // ids back to front, with how many shapes each holds
        QTest::newRow("gradation's bands in one group")
            << u"gradation depth30 colours"_s << u"background:1 shadow:30 face:1"_s;
        QTest::newRow("raised, textured, over a picture")
            << u"normal depth5 solid textured backdrop"_s
            << u"background:2 shadow:1 face:2 texture:1"_s;
        QTest::newRow("outline over nothing")
            << u"deep depth10 outline transparent"_s << u"shadow:1 outline:1"_s;
    }

    // An editor lists the logo's parts by name, each part one group, and reads out the text.
    void groupsForEditing()
    {
        QFETCH(QString, tag);
        QFETCH(QString, groups);
        const Logo logo = LogoFor(tag);
        QXmlStreamReader xml(
            SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options)));
        QStringList found;
        int shapes = 0;
        bool defined = false; // within <defs>, where a shape placed by <use> is written
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"g")
                found.last() += u':' + QString::number(shapes);
            if (xml.tokenType() == QXmlStreamReader::EndElement && xml.name() == u"defs")
                defined = false;
            if (xml.tokenType() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == u"svg")
                QCOMPARE(a.value(u"aria-label"_s).toString(), logo.document.Text);
            if (xml.name() == u"g") {
                QVERIFY(
                    a.hasAttribute(u"http://www.inkscape.org/namespaces/inkscape"_s, u"label"_s));
                found << a.value(u"id"_s).toString();
                shapes = 0;
            } else if (xml.name() == u"defs") {
                defined = true;
            } else if (xml.name() == u"path" || xml.name() == u"image" || xml.name() == u"rect"
                       || xml.name() == u"use") {
                shapes += xml.namespaceUri() == u"http://www.w3.org/2000/svg" && !defined;
            }
        }
        QVERIFY(!xml.hasError());
        QCOMPARE(found.join(u' '), groups);
    }

    void gradationIsAFewShapesPlaced_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::newRow("opaque") << u"gradation depth200 size100 angle30"_s;
        QTest::newRow("fading out") << u"gradation depth200 size100 angle30 transparent"_s;
        QTest::newRow("at 3x") << u"gradation depth200 size100 angle30 scale3"_s;
    }

    // The runs of a gradation take a few lengths, so the file holds a few shapes and places them
    // once per run, rather than an outline per run. The shapes are the document's, outside every
    // group, so that an editor removing a group leaves what the others place.
    void gradationIsAFewShapesPlaced()
    {
        QFETCH(QString, tag);
        const Logo logo = LogoFor(tag);
        const QByteArray svg =
            SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options));
        const qsizetype shapes = svg.count("<path id=\"shape");
        const qsizetype placed = svg.count("<use ");
        QVERIFY(svg.lastIndexOf("<path id=\"shape") < svg.indexOf("<g "));
        QVERIFY2(shapes >= 1 && shapes <= 4, qPrintable(QString::number(shapes)));
        QVERIFY2(placed >= 30, qPrintable(QString::number(placed)));
        QVERIFY2(svg.size() < 40000, qPrintable(QString::number(svg.size())));
    }

    // .svgz is the SVG through gzip, with no time in its header, so it too is the same each time.
    void compressedIsTheSvg()
    {
        const Logo logo = LogoFor(u"gradation depth40"_s);
        const VectorScene scene = VectorScene::Of(logo.document, logo.pictures, logo.options);
        const QByteArray svgz = VectorFile::Encode(scene, "svgz");
        QVERIFY(VectorFile::IsVectorFormat("svgz"));
        QVERIFY(svgz.startsWith("\x1f\x8b"));
        QCOMPARE(svgz.mid(4, 4), QByteArray(4, '\0'));
        const QString file = FDir.filePath(u"logo.svgz"_s);
        QVERIFY(WriteFile(file, svgz));
        QByteArray svg;
        QCOMPARE(Run(u"gzip"_s, {u"-dc"_s, file}, &svg), 0);
        QCOMPARE(svg, SvgWriter::Write(scene));
        QVERIFY(svgz.size() * 2 < svg.size());
    }

    void warpedLettersStayRound_data()
    {
        QTest::addColumn<TLogoWarp>("kind");
        QTest::addColumn<int>("amount");
        QTest::newRow("arch") << TLogoWarp::Arch << 80;
        QTest::newRow("circle") << TLogoWarp::Circle << 100;
        QTest::newRow("perspective") << TLogoWarp::Perspective << -100;
    }

    // Bent letters written by the SVG writer and zoomed sixteenfold in librsvg are the true bend
    // of the outline, drawn from a thousandfold finer mapping: curves, not straight pieces.
    void warpedLettersStayRound()
    {
        QFETCH(TLogoWarp, kind);
        QFETCH(int, amount);
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(60);
        const QFontMetrics metrics(font);
        const QString text = u"ogQ"_s;
        const TextWarp warp(kind, amount,
                            QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                            metrics.ascent());
        const QPainterPath straight = TextWarp::TextOutline(text, font, metrics.ascent()).letters;
        VectorScene scene;
        scene.region = warp.MapPath(straight, 0.5).boundingRect().toAlignedRect();
        scene.outputSize = scene.region.size();
        scene.labelRect = scene.backdropRect = scene.region;
        scene.backdrop = Qt::white;
        LogoRegion letters;
        letters.path = warp.MapPath(straight);
        letters.colour = Qt::black;
        scene.regions.push_back(letters);
        constexpr int kZoom = 16;
        const QImage drawn = Drawn(SvgWriter::Write(scene), kZoom);
        QImage truth(scene.region.size() * kZoom, QImage::Format_RGB32);
        truth.fill(Qt::white);
        QPainter painter(&truth);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kZoom, kZoom);
        painter.translate(-scene.region.topLeft());
        painter.fillPath(warp.MapPath(straight, TextWarp::kTolerance / 1000), Qt::black);
        const PictureDifference difference = Difference(truth, drawn);
        QVERIFY2(difference.meanLevels <= 0.5 && difference.farShare <= 0.0005,
                 qPrintable(u"mean %1 levels, %2 % far off"_s.arg(difference.meanLevels)
                                .arg(difference.farShare * 100)));
    }

    void linesWhereTheRasterDrawsThem_data()
    {
        QTest::addColumn<QString>("tag");
        for (const char* line : {"underline", "strikeout"})
            for (const char* look : {"size20", "size30", "size80", "size160", "size30 scale2",
                                     "size80 scale3", "size50 angle180"})
                QTest::addRow("%s %s", line, look)
                    << u"%1 %2"_s.arg(QLatin1String(line), QLatin1String(look));
    }

    // The underline and strike-out cover the very rows of pixels the raster's text draw paints,
    // at every size and scale: a column through the spaces between two letters shows only them.
    void linesWhereTheRasterDrawsThem()
    {
        QFETCH(QString, tag);
        Logo logo = LogoFor(u"normal depth0 "_s + tag);
        logo.document.Text = u"I        I"_s;
        const QImage drawn =
            Drawn(SvgWriter::Write(VectorScene::Of(logo.document, logo.pictures, logo.options)));
        const QImage raster = DocumentRenderer::Render(logo.document, logo.pictures, logo.options);
        QCOMPARE(drawn.size(), raster.size());
        const int x = raster.width() / 2;
        int lineRows = 0;
        for (int y = 0; y < raster.height(); ++y) {
            const int ours = qGray(raster.pixel(x, y));
            const int theirs = qGray(drawn.pixel(x, y));
            QVERIFY2(std::abs(ours - theirs) <= 4,
                     qPrintable(u"row %1: %2 drawn as %3"_s.arg(y).arg(ours).arg(theirs)));
            lineRows += ours != qGray(raster.pixel(x, 0));
        }
        QVERIFY(lineRows > 0);
    }

private:
    QImage Drawn(const QByteArray& svg, int zoom = 1)
    {
        const QString file = FDir.filePath(u"logo.svg"_s);
        const QString png = FDir.filePath(u"logo.png"_s);
        if (!WriteFile(file, svg)
            || Run(u"rsvg-convert"_s, {u"-z"_s, QString::number(zoom), u"-o"_s, png, file}) != 0)
            return {};
        return QImage(png);
    }

    int Lint(const QByteArray& svg)
    {
        const QString file = FDir.filePath(u"lint.svg"_s);
        if (!WriteFile(file, svg))
            return -1;
        return Run(u"xmllint"_s, {u"--noout"_s, file});
    }

    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_SvgWriter)
#include "tst_SvgWriter.moc"
