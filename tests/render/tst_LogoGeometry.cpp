// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/DocumentRenderer.h"
#include "render/LogoGeometry.h"
#include "render/LogoPainter.h"
#include "render/ShadowSweep.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TdxfEffectStyle)
Q_DECLARE_METATYPE(TdxfOrientation)
Q_DECLARE_METATYPE(TdxfLabelStyle)

namespace {

LogoLook Look(TdxfEffectStyle effect, TdxfOrientation orientation, int depth, TdxfLabelStyle style,
              int angle)
{
    LogoLook look;
    look.caption = u"Sweep 8"_s;
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(64);
    look.font = font;
    look.textColor = clWhite;
    look.shadowColor = RGB(200, 120, 40);
    look.color = clBlack;
    look.engravedBase = RGB(90, 90, 200);
    look.effectStyle = effect;
    look.orientation = orientation;
    look.depth = depth;
    look.style = style;
    look.angle = angle;
    return look;
}

// Coverage of the layers as the raster draws them: the alpha of a transparent picture.
QImage RasterCoverage(const LogoLook& look)
{
    const LogoPainter painter(look, DocumentRenderer::kPreviewSize);
    QImage picture(DocumentRenderer::kPreviewSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    painter.PaintKeyed(picture, {}, picture.rect());
    return picture;
}

// Coverage of the regions, each filled or stroked in opaque white.
QImage RegionCoverage(const std::vector<LogoRegion>& regions)
{
    QImage picture(DocumentRenderer::kPreviewSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const LogoRegion& region : regions) {
        if (region.kind == LogoRegion::Stroke)
            painter.strokePath(
                region.path,
                QPen(Qt::white, region.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.fillPath(region.path, Qt::white);
    }
    return picture;
}

// The area of a flattened path whose holes wind against its outlines.
double PolygonArea(const QPainterPath& path)
{
    double twice = 0;
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        for (int i = 0; i < polygon.size(); ++i) {
            const QPointF a = polygon[i];
            const QPointF b = polygon[(i + 1) % polygon.size()];
            twice += a.x() * b.y() - b.x() * a.y();
        }
    }
    return std::abs(twice) / 2;
}

double Area(const QImage& coverage)
{
    double sum = 0;
    for (int y = 0; y < coverage.height(); ++y)
        for (int x = 0; x < coverage.width(); ++x)
            sum += qAlpha(coverage.pixel(x, y)) / 255.0;
    return sum;
}

QRect Drawn(const QImage& coverage)
{
    return Extent(coverage, [](QColor c) { return c.alpha() > 127; });
}

} // namespace

class tst_LogoGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void runs_data()
    {
        using Runs = std::vector<LogoGeometry::Run>;
        QTest::addColumn<std::vector<std::uint32_t>>("colours");
        QTest::addColumn<Runs>("runs");
        QTest::newRow("one colour")
            << std::vector<std::uint32_t>(5, 0x808080u) << Runs {{5, 0x808080}};
        QTest::newRow("three levels share the middle one")
            << std::vector<std::uint32_t> {0x808080, 0x7F7F7F, 0x7E7E7E, 0x7D7D7D}
            << Runs {{3, 0x7F7F7F}, {4, 0x7D7D7D}};
        QTest::newRow("a level back and forth stays one run")
            << std::vector<std::uint32_t> {0x10, 0x11, 0x10, 0x11, 0x12, 0x13}
            << Runs {{5, 0x11}, {6, 0x13}};
        QTest::newRow("each channel counts")
            << std::vector<std::uint32_t> {0x000000, 0x000300, 0x000300}
            << Runs {{1, 0x000000}, {3, 0x000300}};
        QTest::newRow("none") << std::vector<std::uint32_t> {} << Runs {};
    }

    void runs()
    {
        QFETCH(std::vector<std::uint32_t>, colours);
        QFETCH(std::vector<LogoGeometry::Run>, runs);
        QVERIFY(LogoGeometry::Runs(colours) == runs);
    }

    void coversWhatTheRasterCovers_data()
    {
        QTest::addColumn<TdxfEffectStyle>("effect");
        QTest::addColumn<TdxfOrientation>("orientation");
        QTest::addColumn<int>("depth");
        QTest::addColumn<TdxfLabelStyle>("style");
        QTest::addColumn<int>("angle");
        const TdxfOrientation directions[] = {dxfLeft,     dxfRight,      dxfTop,
                                              dxfBottom,   dxfLeftTop,    dxfLeftBottom,
                                              dxfRightTop, dxfRightBottom};
        for (const TdxfOrientation direction : directions) {
            QTest::addRow("deep %d", int(direction))
                << dxfExtrude << direction << 60 << dxfNormal << 0;
            QTest::addRow("gradation %d", int(direction))
                << dxfFun << direction << 90 << dxfNormal << 20;
            QTest::addRow("flat %d", int(direction))
                << dxfCool << direction << 15 << dxfNormal << 0;
        }
        QTest::newRow("no shadow") << dxfExtrude << dxfRight << 0 << dxfNormal << 0;
        QTest::newRow("one layer") << dxfExtrude << dxfBottom << 1 << dxfNormal << 0;
        QTest::newRow("deepest, turned") << dxfExtrude << dxfLeftBottom << 200 << dxfNormal << 135;
        QTest::newRow("raised") << dxfFun << dxfRightBottom << 30 << dxfRaised << 0;
        QTest::newRow("lowered") << dxfExtrude << dxfRightBottom << 30 << dxfLowered << 0;
        QTest::newRow("outline") << dxfFun << dxfTop << 30 << dxfOutLine << 10;
        // the regions are swept from the bent outline, as the raster's mask is
        QTest::newRow("warped: arch, deep") << dxfExtrude << dxfRightBottom << 60 << dxfNormal << 0;
        QTest::newRow("warped: circle, gradation, turned")
            << dxfFun << dxfLeftBottom << 90 << dxfNormal << 30;
    }

    // The regions together cover the raster's pixels: same area and same extent.
    void coversWhatTheRasterCovers()
    {
        QFETCH(TdxfEffectStyle, effect);
        QFETCH(TdxfOrientation, orientation);
        QFETCH(int, depth);
        QFETCH(TdxfLabelStyle, style);
        QFETCH(int, angle);
        LogoLook look = Look(effect, orientation, depth, style, angle);
        if (QByteArray(QTest::currentDataTag()).startsWith("warped")) {
            const bool arch = QByteArray(QTest::currentDataTag()).contains("arch");
            look.warp = arch ? TLogoWarp::Arch : TLogoWarp::Circle;
            look.warpAmount = arch ? 80 : 100;
        }
        const LogoGeometry geometry(look, DocumentRenderer::kPreviewSize);
        const QImage raster = RasterCoverage(look);
        std::vector<LogoRegion> shapes = geometry.Regions();
        // over nothing, what has the label's colour is not drawn
        LogoGeometry::KeyOut(shapes, ToQColor(look.color), LogoGeometry::kTolerance);
        const QImage regions = RegionCoverage(shapes);
        const double rasterArea = Area(raster);
        QVERIFY(rasterArea > 1000);
        // The raster stacks the partly covered edge pixels of many layers, so the edges along
        // a stepped shadow come out a little heavier than the exact shape.
        QVERIFY2(std::abs(Area(regions) - rasterArea) < 0.05 * rasterArea,
                 qPrintable(u"%1 against %2"_s.arg(Area(regions)).arg(rasterArea)));
        const QRect drawn = Drawn(raster);
        const QRect extent = Drawn(regions);
        for (const int edge : {extent.left() - drawn.left(), extent.top() - drawn.top(),
                               extent.right() - drawn.right(), extent.bottom() - drawn.bottom()})
            QVERIFY2(std::abs(edge) <= 1,
                     qPrintable(u"%1 against %2"_s.arg(QDebug::toString(extent),
                                                       QDebug::toString(drawn))));
    }

    void gradationIsAFewBandsFarthestFirst_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("angle");
        QTest::newRow("200, turned") << 200 << 30;
        QTest::newRow("40") << 40 << 0;
        QTest::newRow("3") << 3 << 0;
    }

    // A band per run of (within a level) one colour, painted from the far end of the fade.
    void gradationIsAFewBandsFarthestFirst()
    {
        QFETCH(int, depth);
        QFETCH(int, angle);
        LogoLook look = Look(dxfFun, dxfRightBottom, depth, dxfNormal, angle);
        look.shadowColor = RGB(200, 200, 200);
        look.color = clBlack;
        const std::vector<LogoRegion> regions =
            LogoGeometry(look, DocumentRenderer::kPreviewSize).Regions();
        QVERIFY(regions.size() >= 2);
        const std::size_t bands = regions.size() - 1; // the face is last
        // 200 levels of fade in runs of three levels
        QVERIFY(bands <= std::size_t(std::min(depth, 67)));
        QVERIFY(bands >= std::size_t(std::min(depth, 200) / 4));
        for (std::size_t i = 1; i < bands; ++i)
            QVERIFY(regions[i].colour.red() > regions[i - 1].colour.red());
        QCOMPARE(regions.back().colour, QColor(Qt::white));
    }

    void fadeBandsCoverAndNest_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("angle");
        QTest::addColumn<TdxfOrientation>("orientation");
        QTest::newRow("200, turned, diagonal") << 200 << 30 << dxfRightBottom;
        QTest::newRow("40, left") << 40 << 0 << dxfLeft;
        QTest::newRow("3, up") << 3 << 0 << dxfTop;
    }

    // Over nothing a gradation is one fade: its bands lie within it and together cover it, and
    // the opacity grows toward the letters in steps of about a level.
    void fadeBandsCoverAndNest()
    {
        QFETCH(int, depth);
        QFETCH(int, angle);
        QFETCH(TdxfOrientation, orientation);
        LogoLook look = Look(dxfFun, orientation, depth, dxfNormal, angle);
        look.shadowColor = RGB(60, 60, 60); // few levels from the background to the shadow
        LogoGeometry geometry(look, DocumentRenderer::kPreviewSize);
        geometry.SetFadesOut(true);
        const std::vector<LogoRegion> regions = geometry.Regions();
        QCOMPARE(regions.size(), std::size_t(2)); // the fade and the face
        const LogoRegion& fade = regions.front();
        QCOMPARE(fade.kind, LogoRegion::Fade);
        QVERIFY(!fade.bands.empty());
        const double whole = PolygonArea(fade.path);
        QVERIFY(whole > 1000);
        // Within the slivers that rounding to Clipper's grid leaves along many thin bands; a
        // gap along every seam would be several times this.
        const double slack = 0.01 * whole;
        QPainterPath uncovered = fade.path;
        for (std::size_t i = 0; i < fade.bands.size(); ++i) {
            const LogoRegion::FadeBand& band = fade.bands[i];
            uncovered = ShadowSweep::Subtract(uncovered, band.path, LogoGeometry::kTolerance);
            QVERIFY2(
                PolygonArea(ShadowSweep::Subtract(band.path, fade.path, LogoGeometry::kTolerance))
                    < slack,
                qPrintable(QString::number(i)));
            if (i == 0)
                continue;
            const LogoRegion::FadeBand& behind = fade.bands[i - 1];
            QVERIFY(band.opacity > behind.opacity);
            // Steps of a few levels at most over any colour, however close the shadow colour lies
            // to the background, unless a single layer is a larger step.
            const double step = (band.opacity - behind.opacity) * 255;
            QVERIFY2(step < std::max(4.0, 255.0 / depth) + 0.01, qPrintable(QString::number(step)));
        }
        QVERIFY(PolygonArea(uncovered) < slack);
        QVERIFY(fade.bands.back().opacity > 0.95);
    }

    void runsMakeTheWholeSweep_data()
    {
        QTest::addColumn<QList<int>>("ends");
        QTest::newRow("one layer each") << QList<int> {1, 2, 3, 4};
        QTest::newRow("two lengths") << QList<int> {4, 9, 13, 18, 22};
        QTest::newRow("one long run") << QList<int> {60};
    }

    // The runs of a gradation, laid together, cover what the whole sweep covers, and runs of one
    // length are one shape moved to their first layer.
    void runsMakeTheWholeSweep()
    {
        QFETCH(QList<int>, ends);
        QPainterPath letters;
        letters.setFillRule(Qt::WindingFill);
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(40);
        letters.addText(10, 50, font, u"Ro"_s);
        const QPoint step(1, 1);
        const std::vector<QPainterPath> runs = ShadowSweep::Runs(
            letters, step, std::vector<int>(ends.begin(), ends.end()), LogoGeometry::kTolerance);
        QCOMPARE(runs.size(), std::size_t(ends.size()));
        const QPainterPath whole =
            ShadowSweep::Swept(letters, step, 1, ends.back(), LogoGeometry::kTolerance);
        QPainterPath left = whole;
        for (const QPainterPath& run : runs)
            left = ShadowSweep::Subtract(left, run, LogoGeometry::kTolerance);
        QVERIFY(PolygonArea(left) < 0.001 * PolygonArea(whole));
        for (qsizetype i = 2; i < ends.size(); ++i) {
            const int before = ends[i - 1] - ends[i - 2];
            if (ends[i] - ends[i - 1] == before)
                QCOMPARE(runs[std::size_t(i)], runs[std::size_t(i - 1)].translated(step * before));
        }
    }

    void keyColourCutsThroughWhatIsBeneath()
    {
        std::vector<LogoRegion> regions(3);
        regions[0].path.addRect(0, 0, 10, 10);
        regions[0].colour = Qt::red;
        regions[1].path.addRect(5, 0, 10, 10);
        regions[1].colour = Qt::black;
        regions[2].path.addRect(0, 8, 4, 4);
        regions[2].colour = Qt::blue;
        LogoGeometry::KeyOut(regions, Qt::black, LogoGeometry::kTolerance);
        QCOMPARE(regions.size(), std::size_t(2));
        QCOMPARE(regions[0].path.boundingRect(), QRectF(0, 0, 5, 10));
        // what lies above the key colour stays whole
        QCOMPARE(regions[1].colour, QColor(Qt::blue));
        QCOMPARE(regions[1].path.boundingRect(), QRectF(0, 8, 4, 4));
    }
};

QUILVORO_APP_TEST_MAIN(tst_LogoGeometry)
#include "tst_LogoGeometry.moc"
