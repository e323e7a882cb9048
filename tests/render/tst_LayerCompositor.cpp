// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReferenceBlend.h"
#include "render/LayerCompositor.h"
#include "render/Workers.h"
#include "support/AppTestMain.h"
#include "support/OverAnyColour.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdint>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// What one text draw per layer gives: every layer blended over the pixel, farthest first.
void PaintLayerByLayer(QImage& target, const QRect& area, const QImage& mask, QPoint maskOrigin,
                       QPoint step, const std::vector<std::uint32_t>& colours)
{
    const QRect clip = area.intersected(target.rect());
    for (int k = int(colours.size()); k >= 1; --k) {
        const std::uint32_t colour = colours[std::size_t(k) - 1] | 0xff000000u;
        for (int y = clip.top(); y <= clip.bottom(); ++y) {
            for (int x = clip.left(); x <= clip.right(); ++x) {
                const QPoint sample = QPoint(x, y) - step * k - maskOrigin;
                if (!mask.rect().contains(sample))
                    continue;
                const std::uint32_t coverage = qBlue(mask.pixel(sample));
                const std::uint32_t under = target.pixel(x, y);
                target.setPixel(x, y, ByteMul(colour, coverage) + ByteMul(under, 255 - coverage));
            }
        }
    }
}

// White on black. "speckled": mostly partly covered samples, as in the stems of small text;
// "shapes": solid rectangles with antialiased edges and gaps between them.
QImage Mask(const QByteArray& kind, QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            int coverage = 0;
            if (kind == "speckled") {
                const int roll = random.bounded(10);
                coverage = roll < 6 ? random.bounded(1, 255) : roll < 8 ? 255 : 0;
            } else {
                const bool inside = (x / 7) % 2 == 0 && (y / 5) % 3 != 0;
                const bool edge = x % 7 == 0 || x % 7 == 6 || y % 5 == 0;
                coverage = !inside ? 0 : edge ? random.bounded(1, 255) : 255;
            }
            mask.setPixel(x, y, qRgb(coverage, coverage, coverage));
        }
    }
    return mask;
}

QImage Background(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

std::vector<std::uint32_t> Gradient(int depth)
{
    std::vector<std::uint32_t> colours;
    for (int k = 0; k < depth; ++k)
        colours.push_back(qRgb(250 - k % 200, 40 + k % 180, (k * 37) % 256) & 0xffffffu);
    return colours;
}

} // namespace

class tst_LayerCompositor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The compositor must give exactly what one blend per layer gives, in every direction, for
    // depths from one layer to more than the ring of a short line holds, wherever the mask and
    // the painted area lie against the target's edges.
    void matchesOneBlendPerLayer_data()
    {
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QByteArray>("mask");
        QTest::addColumn<QPoint>("maskOrigin");
        QTest::addColumn<QRect>("area");
        const QPoint steps[] = {{-1, 0},  {1, 0},  {0, -1}, {0, 1},
                                {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        struct TCase
        {
            const char* name;
            int depth;
            QByteArray mask;
            QPoint maskOrigin;
            QRect area;
        };
        const TCase cases[] = {
            {"one layer", 1, "shapes", {10, 8}, {0, 0, 64, 48}},
            {"shallow over shapes", 5, "shapes", {10, 8}, {0, 0, 64, 48}},
            {"deep speckles", 40, "speckled", {12, 9}, {0, 0, 64, 48}},
            {"deeper than the target", 90, "shapes", {-20, -15}, {0, 0, 64, 48}},
            {"mask past every edge", 12, "speckled", {-10, -7}, {0, 0, 64, 48}},
            {"part of the target", 25, "shapes", {5, 4}, {9, 6, 30, 22}},
        };
        for (const TCase& c : cases) {
            for (const QPoint step : steps) {
                QTest::addRow("%s, step %d,%d", c.name, step.x(), step.y())
                    << step << c.depth << c.mask << c.maskOrigin << c.area;
            }
        }
    }

    void matchesOneBlendPerLayer()
    {
        QFETCH(QPoint, step);
        QFETCH(int, depth);
        QFETCH(QByteArray, mask);
        QFETCH(QPoint, maskOrigin);
        QFETCH(QRect, area);
        const QImage shape = Mask(mask, {50, 40}, quint32(depth * 31 + step.x() * 7 + step.y()));
        const std::vector<std::uint32_t> colours = Gradient(depth);
        QImage composited = Background({64, 48});
        QImage expected = composited;
        LayerCompositor::Composite(composited, area, shape, maskOrigin, step, colours);
        PaintLayerByLayer(expected, area, shape, maskOrigin, step, colours);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                if (composited.pixel(x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("%1,%2: %3, expected %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(composited.pixel(x, y), 0, 16)
                                         .arg(expected.pixel(x, y), 0, 16)));
            }
        }
    }

    // A stack over a large area is painted in groups of lines on several threads; every group
    // boundary must leave the pixels as one thread paints them, opaque and over transparency.
    void threadsGiveTheBytesOfOne_data()
    {
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<int>("threads");
        const QPoint steps[] = {{1, 1}, {-1, 0}, {0, -1}, {-1, 1}};
        for (const QPoint step : steps) {
            QTest::addRow("opaque, step %d,%d", step.x(), step.y()) << step << false << 2;
            QTest::addRow("transparent, step %d,%d", step.x(), step.y()) << step << true << 3;
        }
    }

    void threadsGiveTheBytesOfOne()
    {
        QFETCH(QPoint, step);
        QFETCH(bool, transparent);
        QFETCH(int, threads);
        // The work, where the layers reach, is over the size that is shared out.
        const QSize size(1200, 1000);
        const QImage shape = Mask("shapes", {1100, 950}, 5);
        const QPoint at(50, 25);
        std::vector<std::uint32_t> colours = Gradient(150);
        if (transparent) {
            // Fading out, as a gradation toward the background over nothing.
            for (std::size_t k = 0; k < colours.size(); ++k)
                colours[k] = qPremultiply(colours[k] | std::uint32_t(255 - k) << 24);
        }
        const QImage start =
            transparent ? QImage(size, QImage::Format_ARGB32_Premultiplied) : Background(size);
        auto painted = [&](int count) {
            Workers::SetCount(count);
            QImage target = start;
            if (transparent) {
                target.fill(Qt::transparent);
                LayerCompositor::CompositePremultiplied(target, target.rect(), shape, at, step,
                                                        colours, 0x203040);
            } else {
                LayerCompositor::Composite(target, target.rect(), shape, at, step, colours);
            }
            Workers::SetCount(0);
            return target;
        };
        const QImage serial = painted(1);
        QVERIFY(serial != start);
        QCOMPARE(painted(threads), serial);
    }

    // White on black reads the same in any format, and as bytes of coverage.
    void maskFormatsGiveTheSamePicture_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<bool>("asAlpha");
        QTest::newRow("premultiplied") << QImage::Format_ARGB32_Premultiplied << false;
        QTest::newRow("grey") << QImage::Format_Grayscale8 << false;
        QTest::newRow("alpha") << QImage::Format_Grayscale8 << true;
    }

    void maskFormatsGiveTheSamePicture()
    {
        QFETCH(QImage::Format, format);
        QFETCH(bool, asAlpha);
        const QImage shape = Mask("shapes", {50, 40}, 7);
        QImage converted = shape.convertToFormat(format);
        if (asAlpha)
            converted.reinterpretAsFormat(QImage::Format_Alpha8);
        const std::vector<std::uint32_t> colours = Gradient(20);
        QImage expected = Background({64, 48});
        QImage composited = expected;
        QImage blended = expected;
        QImage expectedBlend = expected;
        LayerCompositor::Composite(expected, expected.rect(), shape, {6, 5}, {1, -1}, colours);
        LayerCompositor::Composite(composited, composited.rect(), converted, {6, 5}, {1, -1},
                                   colours);
        QCOMPARE(composited, expected);
        LayerCompositor::BlendShape(expectedBlend, expected.rect(), shape, {3, 2}, 0xff2040c0u);
        LayerCompositor::BlendShape(blended, expected.rect(), converted, {3, 2}, 0xff2040c0u);
        QCOMPARE(blended, expectedBlend);
    }

    // A copy blended over transparency is the copy blended on the ground, seen over that
    // ground; what shows the ground within a level there is clear.
    void blendOverTransparencyClearsWhatShowsTheGround_data()
    {
        QTest::addColumn<QRgb>("ink");
        QTest::newRow("other colour") << qRgb(0x20, 0x40, 0xc0);
        QTest::newRow("the ground") << qRgb(0x30, 0x90, 0x60);
        QTest::newRow("a level off the ground") << qRgb(0x31, 0x8f, 0x60);
        QTest::newRow("nothing") << QRgb(0);
    }

    void blendOverTransparencyClearsWhatShowsTheGround()
    {
        QFETCH(QRgb, ink);
        const QRgb ground = qRgb(0x30, 0x90, 0x60);
        const QImage shape = Mask("shapes", {50, 40}, 11);
        QImage clear(64, 48, QImage::Format_ARGB32_Premultiplied);
        clear.fill(Qt::transparent);
        QImage on(clear.size(), QImage::Format_ARGB32_Premultiplied);
        on.fill(ground);
        // Twice, so that the second copy also lands on what the first cleared.
        for (const QPoint at : {QPoint(3, 2), QPoint(6, 4)}) {
            LayerCompositor::BlendShapeOverTransparency(clear, clear.rect(), shape, at, ink,
                                                        ground & 0x00ffffffu);
            LayerCompositor::BlendShape(on, on.rect(), shape, at, ink == 0 ? ground : ink);
        }
        int covered = 0;
        for (int y = 0; y < clear.height(); ++y) {
            for (int x = 0; x < clear.width(); ++x) {
                const QRgb painted = on.pixel(x, y);
                const QRgb seen = clear.pixel(x, y);
                if (OverAnyColour::ChannelDistance(painted, ground) <= 1) {
                    QVERIFY2(seen == 0, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
                    continue;
                }
                ++covered;
                QVERIFY2(OverAnyColour::ChannelDistance(OverAnyColour::Over(seen, ground), painted)
                             <= 1,
                         qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            }
        }
        QCOMPARE(covered > 0, qRed(ink) == 0x20);
    }

    // A picture laid in tiles through a kept coverage is what the painter draws clipped to the
    // antialiased shape, wherever the tiles start and however far the area reaches.
    void tilesThroughCoverageAsThePainterClips_data()
    {
        QTest::addColumn<QPoint>("tileOrigin");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("transparent");
        QTest::newRow("tiles from the corner") << QPoint(0, 0) << QRect(0, 0, 90, 70) << false;
        QTest::newRow("tiles from inside") << QPoint(13, -5) << QRect(0, 0, 90, 70) << false;
        QTest::newRow("part of the target") << QPoint(4, 4) << QRect(20, 10, 40, 30) << false;
        QTest::newRow("over transparency") << QPoint(4, 4) << QRect(0, 0, 90, 70) << true;
    }

    void tilesThroughCoverageAsThePainterClips()
    {
        QFETCH(QPoint, tileOrigin);
        QFETCH(QRect, area);
        QFETCH(bool, transparent);
        QPainterPath shape;
        shape.addEllipse(QRectF(8.3, 6.6, 61.2, 47.9));
        shape.addText(QPointF(10.5, 60.25), QFont(QStringLiteral("DejaVu Sans"), 30), u"Qg"_s);
        shape.setFillRule(Qt::OddEvenFill);
        QImage coverage(90, 70, QImage::Format_Alpha8);
        coverage.fill(0);
        {
            QPainter painter(&coverage);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(shape, Qt::white);
        }
        const QImage tile = Background({17, 11});
        QImage expected = transparent ? QImage(90, 70, QImage::Format_ARGB32_Premultiplied)
                                      : Background({90, 70});
        if (transparent)
            expected.fill(qRgba(10, 20, 30, 100));
        QImage blended = expected;
        {
            QPainter painter(&expected);
            painter.setClipRect(area);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setClipPath(shape, Qt::IntersectClip);
            for (int x = tileOrigin.x() - 17; x < 90; x += 17)
                for (int y = tileOrigin.y() - 11; y < 70; y += 11)
                    painter.drawImage(QPoint(x, y), tile);
        }
        LayerCompositor::BlendTiles(blended, area, coverage, {}, tile, tileOrigin, tile.size());
        QCOMPARE(blended, expected);
    }

    // The mask only needs to cover what can reach the area: the area and the area moved back
    // by the depth.
    void sourceRegionReachesBackAlongTheStep_data()
    {
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("left") << QPoint(-1, 0) << QRect(10, 20, 130, 50);
        QTest::newRow("down right") << QPoint(1, 1) << QRect(-20, -10, 130, 80);
    }

    void sourceRegionReachesBackAlongTheStep()
    {
        QFETCH(QPoint, step);
        QFETCH(QRect, expected);
        QCOMPARE(LayerCompositor::SourceRegion(QRect(10, 20, 100, 50), step, 30), expected);
    }
};

QUILVORO_APP_TEST_MAIN(tst_LayerCompositor)
#include "tst_LayerCompositor.moc"
