// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoDocument.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/OverAnyColour.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QtTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar kBlock(0x2588); // a solid glyph: every inner pixel is fully covered

LogoDocument Document(const QString& tag)
{
    LogoDocument document;
    document.FontName = u"DejaVu Sans"_s;
    if (tag.contains(u"outline"_s))
        document.LabelStyle = TLogoLabelStyle::Outline;
    if (tag.contains(u"solid"_s))
        document.LabelStyle = TLogoLabelStyle::Solid;
    if (tag.contains(u"deep"_s))
        document.ShadowStyle = TLogoShadowStyle::Deep;
    if (tag.contains(u"flat"_s))
        document.ShadowStyle = TLogoShadowStyle::Normal;
    if (tag.contains(u"turned"_s))
        document.Angle = 33;
    if (tag.contains(u"large"_s)) {
        document.Size = 100;
        document.Depth = 200;
        document.Angle = 30;
    }
    if (tag.contains(u"arch"_s)) {
        document.Warp = TLogoWarp::Arch;
        document.WarpAmount = 80;
    }
    if (tag.contains(u"wave"_s)) {
        document.Warp = TLogoWarp::Wave;
        document.WarpAmount = -60;
        document.FontStyle = TLogoFontStyle::StrikeOut;
    }
    if (tag.contains(u"colours"_s)) {
        document.TextColor = RGB(250, 200, 20);
        document.ShadowColor = RGB(20, 80, 200);
        document.BackgroundColor = RGB(240, 240, 250);
        document.Direction = 5;
    }
    return document;
}

// The picture reduced by a whole factor, each pixel the mean of its block.
QImage Reduced(const QImage& image, int factor)
{
    QImage small(image.size() / factor, QImage::Format_RGB32);
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const QRgb p = image.pixel(x * factor + i, y * factor + j);
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                }
            }
            const int n = factor * factor;
            small.setPixel(x, y, qRgb(r / n, g / n, b / n));
        }
    }
    return small;
}

} // namespace

class tst_DocumentRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void defaultRegionIsTheSelectionFrame()
    {
        QCOMPARE(DocumentRenderer::DefaultRegion(), QRect(2, 2, 588, 356));
        const QImage picture = DocumentRenderer::Render(LogoDocument(), {});
        QCOMPARE(picture.size(), QSize(588, 356));
        QCOMPARE(picture.format(), QImage::Format_RGB32);
        RenderOptions options;
        options.scale = 4;
        options.transparent = true;
        QCOMPARE(DocumentRenderer::OutputSize(options), QSize(2352, 1424));
    }

    void invalidRequestsGiveNothing_data()
    {
        QTest::addColumn<QRect>("region");
        QTest::addColumn<int>("scale");
        QTest::newRow("empty region") << QRect(10, 10, 0, 5) << 1;
        QTest::newRow("left of the bevel") << QRect(-5, 0, 20, 20) << 1;
        QTest::newRow("past the bottom") << QRect(0, 350, 20, 15) << 1;
        QTest::newRow("scale 0") << QRect(0, 0, 20, 20) << 0;
        QTest::newRow("scale 9") << QRect(0, 0, 20, 20) << 9;
    }

    void invalidRequestsGiveNothing()
    {
        QFETCH(QRect, region);
        QFETCH(int, scale);
        RenderOptions options;
        options.region = region;
        options.scale = scale;
        QVERIFY(DocumentRenderer::Render(LogoDocument(), {}, options).isNull());
    }

    void regionsReachIntoTheBevel()
    {
        RenderOptions options;
        options.region = QRect(-4, -4, 12, 12);
        const QImage corner = DocumentRenderer::Render(LogoDocument(), {}, options);
        // Raised outer bevel: light top-left edge; lowered inner one: dark; then the preview.
        QCOMPARE(corner.pixel(0, 5) & 0xFFFFFF, 0xFFFFFFu);
        QCOMPARE(corner.pixel(2, 5) & 0xFFFFFF, ColorToPixel(clBtnShadow));
        QCOMPARE(corner.pixel(6, 6) & 0xFFFFFF, 0x000000u);
        options.scale = 3;
        const QImage scaled = DocumentRenderer::Render(LogoDocument(), {}, options);
        QCOMPARE(scaled.size(), QSize(36, 36));
        QCOMPARE(scaled.pixel(2, 15) & 0xFFFFFF, 0xFFFFFFu);
        QCOMPARE(scaled.pixel(6, 15) & 0xFFFFFF, ColorToPixel(clBtnShadow));
    }

    void backgroundPictureIsCentredOnThePanel()
    {
        LogoDocument document = Document(u"plain"_s);
        document.Text.clear();
        document.BackgroundColor = clRed;
        RenderPictures pictures;
        pictures.background = Checkers(QSize(100, 60), 7);
        RenderOptions options;
        options.region = QRect(0, 0, 592, 360);
        const QImage picture = DocumentRenderer::Render(document, pictures, options);
        // Outside the picture the panel shows, not the label's colour (it is keyed out).
        QCOMPARE(picture.pixel(10, 10) & 0xFFFFFF, 0x000000u);
        for (int y = 0; y < 60; y += 5)
            for (int x = 0; x < 100; x += 3)
                QCOMPARE(picture.pixel(246 + x, 150 + y), pictures.background.pixel(x, y));
        options.transparent = true;
        const QImage bare = DocumentRenderer::Render(document, pictures, options);
        QCOMPARE(bare.pixel(246 + 50, 150 + 30), 0u);
    }

    void transparentKeepsEdgesAsAlpha_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("scale");
        for (const char* tag : {"plain", "colours deep turned", "outline flat", "solid colours",
                                "large", "arch deep", "wave solid"}) {
            QTest::newRow(tag) << QString::fromLatin1(tag) << 1;
            QTest::addRow("%s, scale 3", tag) << QString::fromLatin1(tag) << 3;
        }
        QTest::newRow("texture") << u"texture turned"_s << 2;
    }

    void transparentKeepsEdgesAsAlpha()
    {
        QFETCH(QString, tag);
        QFETCH(int, scale);
        const LogoDocument document = Document(tag);
        RenderPictures pictures;
        if (tag.contains(u"texture"_s))
            pictures.texture = Checkers(QSize(16, 16), 4);
        RenderOptions options;
        options.scale = scale;
        const QImage opaque = DocumentRenderer::Render(document, pictures, options);
        options.transparent = true;
        const QImage clear = DocumentRenderer::Render(document, pictures, options);
        QCOMPARE(clear.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(clear.size(), opaque.size());
        const QRgb background = ColorToPixel(document.BackgroundColor) | 0xFF000000u;
        int transparent = 0, partial = 0, solid = 0;
        for (int y = 0; y < clear.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(clear.constScanLine(y));
            for (int x = 0; x < clear.width(); ++x) {
                const int alpha = qAlpha(line[x]);
                transparent += alpha == 0;
                partial += alpha > 0 && alpha < 255;
                solid += alpha == 255;
                if (opaque.pixel(x, y) == background)
                    QCOMPARE(alpha, 0);
                const int distance = OverAnyColour::ChannelDistance(
                    OverAnyColour::Over(line[x], background), opaque.pixel(x, y));
                QVERIFY2(distance <= 2,
                         qPrintable(u"%1,%2: %3 over the background, opaque %4"_s.arg(x)
                                        .arg(y)
                                        .arg(line[x], 0, 16)
                                        .arg(opaque.pixel(x, y), 0, 16)));
            }
        }
        QVERIFY(transparent > clear.width() * clear.height() / 4);
        QVERIFY(partial > 100 * scale);
        QVERIFY(solid > 1000 * scale * scale);
    }

    // A face in the background colour vanishes in a transparent picture, edges included.
    void faceInTheBackgroundColourVanishes()
    {
        LogoDocument document = Document(u"plain"_s);
        document.TextColor = document.BackgroundColor = RGB(0, 128, 0);
        document.Depth = 0;
        RenderOptions options;
        options.transparent = true;
        const QImage clear = DocumentRenderer::Render(document, {}, options);
        for (int y = 0; y < clear.height(); ++y)
            for (int x = 0; x < clear.width(); ++x)
                QCOMPARE(clear.pixel(x, y), 0u);
    }

    void largerScalesReduceToScaleOne_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("scale");
        QTest::newRow("plain 2") << u"plain"_s << 2;
        QTest::newRow("plain 4") << u"plain"_s << 4;
        QTest::newRow("deep turned 4") << u"deep turned colours"_s << 4;
        QTest::newRow("solid 3") << u"solid"_s << 3;
        QTest::newRow("outline 4") << u"outline flat"_s << 4;
        QTest::newRow("large 4") << u"large"_s << 4;
        QTest::newRow("arch deep 4") << u"arch deep"_s << 4;
        QTest::newRow("wave outline turned 3") << u"wave outline turned"_s << 3;
        QTest::newRow("large arch 2") << u"large arch"_s << 2;
    }

    // Amount 0 bends nothing: the very bytes of the straight logo.
    void noAmountDrawsTheStraightLogo_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::newRow("plain") << u"plain"_s;
        QTest::newRow("large solid") << u"large solid"_s;
        QTest::newRow("outline flat turned") << u"outline flat turned"_s;
    }

    void noAmountDrawsTheStraightLogo()
    {
        QFETCH(QString, tag);
        const LogoDocument straight = Document(tag);
        const QImage expected = DocumentRenderer::Render(straight, {});
        for (int k = 1; k <= LogoDocument::kMaxWarp; ++k) {
            LogoDocument document = straight;
            document.Warp = TLogoWarp(k);
            document.WarpAmount = 0;
            QCOMPARE(DocumentRenderer::Render(document, {}), expected);
        }
        LogoDocument arched = straight;
        arched.Warp = TLogoWarp::Arch;
        arched.WarpAmount = 1;
        QVERIFY(DocumentRenderer::Render(arched, {}) != expected);
    }

    void largerScalesReduceToScaleOne()
    {
        QFETCH(QString, tag);
        QFETCH(int, scale);
        const LogoDocument document = Document(tag);
        const QImage one = DocumentRenderer::Render(document, {});
        RenderOptions options;
        options.scale = scale;
        const QImage reduced = Reduced(DocumentRenderer::Render(document, {}, options), scale);
        QCOMPARE(reduced.size(), one.size());
        qint64 total = 0;
        int far = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                const int d = OverAnyColour::ChannelDistance(one.pixel(x, y), reduced.pixel(x, y));
                total += d;
                far += d > 96;
            }
        }
        const double mean = double(total) / (one.width() * one.height());
        const double farShare = double(far) / (one.width() * one.height());
        QVERIFY2(mean < 4.0, qPrintable(QString::number(mean)));
        QVERIFY2(farShare < 0.01, qPrintable(QString::number(farShare)));
    }

    // One layer per device pixel: the outer edge of a diagonal extrusion climbs one pixel per
    // row, never in steps of the scale.
    void scaledShadowHasNoStairs()
    {
        LogoDocument document = Document(u"deep"_s);
        document.Text = QString(1, kBlock);
        document.Depth = 12;
        document.Direction = 0; // to the lower right
        document.ShadowColor = clRed;
        RenderOptions options;
        options.scale = 4;
        const QImage picture = DocumentRenderer::Render(document, {}, options);
        const QRgb red = qRgb(255, 0, 0);
        // Rightmost red pixel per row, over the rows where the extrusion's top edge climbs.
        QList<int> rights;
        for (int y = 0; y < picture.height(); ++y) {
            int right = -1;
            for (int x = picture.width() - 1; x >= 0 && right < 0; --x)
                if (picture.pixel(x, y) == red)
                    right = x;
            if (right >= 0)
                rights.append(right);
        }
        QVERIFY(rights.size() > 48);
        int climbing = 0;
        for (qsizetype i = 1; i < rights.size(); ++i) {
            const int rise = rights[i] - rights[i - 1];
            QVERIFY2(rise <= 1, qPrintable(u"row %1: %2"_s.arg(i).arg(rise)));
            climbing += rise == 1;
        }
        QVERIFY(climbing >= 12 * 4 - 2);
    }

    // Crisp at scale: the face's straight top edge takes at most two device pixels to go from
    // the background to the face colour, as at scale 1, not `scale` of them.
    void scaledTextIsDrawnFromTheFont()
    {
        LogoDocument document = Document(u"plain"_s);
        document.Text = QString(1, kBlock);
        document.Depth = 0;
        RenderOptions options;
        options.scale = 8;
        options.region = QRect(0, 0, 592, 360);
        const QImage picture = DocumentRenderer::Render(document, {}, options);
        const int x = picture.width() / 2;
        int blurred = 0;
        int y = 0;
        while (y < picture.height() && picture.pixel(x, y) == qRgb(0, 0, 0))
            ++y;
        while (y < picture.height() && picture.pixel(x, y) != qRgb(255, 255, 255)) {
            ++blurred;
            ++y;
        }
        QVERIFY(y < picture.height());
        QVERIFY2(blurred <= 2, qPrintable(QString::number(blurred)));
    }

    void threadsRenderTheSamePictures()
    {
        QList<LogoDocument> documents;
        for (const char* tag : {"plain", "colours deep turned", "outline flat", "solid", "large"})
            documents.append(Document(QString::fromLatin1(tag)));
        RenderPictures pictures;
        pictures.texture = Checkers(QSize(10, 10), 3);
        pictures.background = Checkers(QSize(300, 200), 20);
        RenderOptions options;
        options.scale = 2;
        QList<QImage> serial;
        for (const LogoDocument& document : documents)
            serial.append(DocumentRenderer::Render(document, pictures, options));

        std::vector<QList<QImage>> results(4);
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < results.size(); ++t) {
            threads.emplace_back([&, t] {
                for (int round = 0; round < 2; ++round)
                    for (const LogoDocument& document : documents)
                        results[t].append(DocumentRenderer::Render(document, pictures, options));
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        for (const QList<QImage>& result : results) {
            QCOMPARE(result.size(), 2 * documents.size());
            for (qsizetype i = 0; i < result.size(); ++i)
                QVERIFY(result[i] == serial[i % documents.size()]);
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_DocumentRenderer)
#include "tst_DocumentRenderer.moc"
