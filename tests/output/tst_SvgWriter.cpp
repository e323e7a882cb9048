#include "VectorTesting.h"
#include "output/SvgWriter.h"
#include "render/DocumentRenderer.h"
#include "render/VectorScene.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QPainterPath>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Logo
{
    LogoDocument document;
    RenderPictures pictures;
    RenderOptions options;
};

// A logo described by words in its row name.
Logo LogoFor(const QString& tag)
{
    Logo logo;
    LogoDocument& d = logo.document;
    d.FontName = u"DejaVu Sans"_s;
    d.Text = u"Quilvoro 3D"_s;
    const QStringList words = tag.split(u' ');
    for (const QString& word : words) {
        if (word == u"normal")
            d.ShadowStyle = TLogoShadowStyle::Normal;
        else if (word == u"deep")
            d.ShadowStyle = TLogoShadowStyle::Deep;
        else if (word == u"gradation")
            d.ShadowStyle = TLogoShadowStyle::Gradation;
        else if (word == u"outline")
            d.LabelStyle = TLogoLabelStyle::Outline;
        else if (word == u"solid")
            d.LabelStyle = TLogoLabelStyle::Solid;
        else if (word == u"bold")
            d.FontStyle = TLogoFontStyle::Bold;
        else if (word == u"italic")
            d.FontStyle = TLogoFontStyle::Italic;
        else if (word == u"underline")
            d.FontStyle = TLogoFontStyle::Underline;
        else if (word == u"strikeout")
            d.FontStyle = TLogoFontStyle::StrikeOut;
        else if (word == u"gothic") {
            d.FontName = u"IPAPGothic"_s;
            d.Text = u"ロゴ工房"_s;
        } else if (word == u"textured")
            logo.pictures.texture = TestTexture();
        else if (word == u"backdrop")
            logo.pictures.background = TestBackground();
        else if (word == u"transparent")
            logo.options.transparent = true;
        else if (word == u"bevel")
            logo.options.region = QRect(-4, -4, 300, 200);
        else if (word == u"colours") {
            d.TextColor = RGB(250, 200, 20);
            d.ShadowColor = RGB(20, 80, 200);
            d.BackgroundColor = RGB(240, 240, 250);
        } else if (word.startsWith(u"size"))
            d.Size = word.mid(4).toInt();
        else if (word.startsWith(u"depth"))
            d.Depth = word.mid(5).toInt();
        else if (word.startsWith(u"angle"))
            d.Angle = word.mid(5).toInt();
        else if (word.startsWith(u"dir"))
            d.Direction = word.mid(3).toInt();
        else if (word.startsWith(u"scale"))
            logo.options.scale = word.mid(5).toInt();
    }
    return logo;
}

void AddLogoRows()
{
    QTest::addColumn<QString>("tag");
    const char* rows[] = {
        "gradation depth30",
        "gradation depth200 size100 angle30",
        "gradation depth200 size100 angle30 colours dir5",
        "deep depth200 size100 angle30",
        "deep depth1 size60",
        "deep depth7 size60 dir1",
        "deep depth60 size50 dir2 bold",
        "deep depth60 size50 dir3 italic angle350",
        "deep depth40 size50 dir4 underline",
        "gradation depth40 size50 dir5 strikeout colours",
        "gradation depth90 size70 dir6 angle90",
        "gradation depth120 size40 dir7 angle200",
        "normal depth12 size60",
        "normal depth0 size60 outline",
        "gradation depth30 size60 outline dir2",
        "deep depth25 size60 solid",
        "gradation depth50 size60 solid angle15 colours",
        "deep depth30 size70 textured",
        "gradation depth30 size70 textured solid angle20",
        "gradation depth60 size70 backdrop",
        "deep depth60 size70 backdrop textured dir6",
        "gradation depth60 size70 transparent",
        "deep depth40 size70 transparent outline",
        "deep depth40 size70 transparent colours dir2",
        "gradation depth40 size60 gothic angle45",
        "deep depth30 size60 bevel",
        "gradation depth100 size80 angle30 scale2",
    };
    for (const char* row : rows)
        QTest::newRow(row) << QString::fromLatin1(row);
}

} // namespace

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
        if (difference.meanLevels > 2 || difference.farShare > 0.01) {
            drawn.save(FDir.filePath(u"failed-svg.png"_s));
            raster.save(FDir.filePath(u"failed-raster.png"_s));
            FarOffPixels(raster, drawn).save(FDir.filePath(u"failed-far.png"_s));
            FDir.setAutoRemove(false);
        }
        QVERIFY2(
            difference.meanLevels <= 2,
            qPrintable(u"mean %1 levels, in %2"_s.arg(difference.meanLevels).arg(FDir.path())));
        QVERIFY2(
            difference.farShare <= 0.01,
            qPrintable(u"%1 % far off, in %2"_s.arg(difference.farShare * 100).arg(FDir.path())));
    }

private:
    static bool WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
