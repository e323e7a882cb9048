// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/MaskBlur.h"
#include "support/AppTestMain.h"

#include <QPainter>
#include <QPainterPath>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

// A square, a hairline and a dot, with room around them for the blur to spread.
QImage Shapes(double sigma)
{
    const int margin = MaskBlur::Reach(sigma) + 2;
    QImage mask(QSize(90, 60) + QSize(2 * margin, 2 * margin), QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.translate(margin, margin);
    painter.fillRect(QRect(0, 0, 40, 40), Qt::black);
    painter.fillRect(QRect(60, 0, 1, 60), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 0, 0, 160));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(80.5, 50), 3.3, 3.3);
    return mask;
}

// The true Gaussian blur of `mask`, in exact arithmetic from a wide sampled kernel.
std::vector<double> Reference(const QImage& mask, double sigma)
{
    const int w = mask.width();
    const int h = mask.height();
    const int radius = int(std::ceil(5 * sigma));
    std::vector<double> kernel(std::size_t(2 * radius + 1));
    double total = 0;
    for (int k = -radius; k <= radius; ++k)
        total += kernel[std::size_t(k + radius)] = std::exp(-k * k / (2 * sigma * sigma));
    for (double& weight : kernel)
        weight /= total;
    std::vector<double> rows(std::size_t(w * h), 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = std::max(-radius, -x); k <= std::min(radius, w - 1 - x); ++k)
                rows[std::size_t(y * w + x)] +=
                    kernel[std::size_t(k + radius)] * mask.constScanLine(y)[x + k];
    std::vector<double> blurred(rows.size(), 0.0);
    for (int y = 0; y < h; ++y)
        for (int k = std::max(-radius, -y); k <= std::min(radius, h - 1 - y); ++k)
            for (int x = 0; x < w; ++x)
                blurred[std::size_t(y * w + x)] +=
                    kernel[std::size_t(k + radius)] * rows[std::size_t((y + k) * w + x)];
    return blurred;
}

} // namespace

class tst_MaskBlur : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesGaussian_data()
    {
        QTest::addColumn<double>("sigma");
        QTest::addColumn<double>("tolerance"); // levels of 255
        // a sampled kernel is exact within rounding; boxes, also on a coarser grid, within 3 % of
        // full coverage
        QTest::newRow("kernel 0.6") << 0.6 << 1.0;
        QTest::newRow("kernel 1.9") << 1.9 << 1.0;
        QTest::newRow("boxes 2") << 2.0 << 0.03 * 255;
        QTest::newRow("boxes 2.3") << 2.3 << 0.03 * 255;
        QTest::newRow("coarse 3") << 3.0 << 0.03 * 255;
        QTest::newRow("coarse 3.9") << 3.9 << 0.03 * 255;
        QTest::newRow("coarse 4") << 4.0 << 0.03 * 255;
        QTest::newRow("coarse 5.9") << 5.9 << 0.03 * 255;
        QTest::newRow("coarse 11.9") << 11.9 << 0.03 * 255;
        QTest::newRow("coarse 24") << 24.0 << 0.03 * 255;
        QTest::newRow("coarse 50") << 50.0 << 0.03 * 255;
    }

    void matchesGaussian()
    {
        QFETCH(double, sigma);
        QFETCH(double, tolerance);
        const QImage mask = Shapes(sigma);
        QImage blurred = mask;
        MaskBlur::Blur(blurred, sigma);
        const std::vector<double> expected = Reference(mask, sigma);
        double worst = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                worst = std::max(worst,
                                 std::abs(blurred.constScanLine(y)[x]
                                          - expected[std::size_t(y * mask.width() + x)]));
        QVERIFY2(worst <= tolerance, qPrintable(QString::number(worst)));
    }

    void drawnOnTheCoarseGrid_data()
    {
        QTest::addColumn<double>("sigma");
        QTest::addColumn<int>("extra"); // added to the sides, so that odd and even sides are seen
        QTest::newRow("3, odd") << 3.0 << 1;
        QTest::newRow("4, odd") << 4.0 << 1;
        QTest::newRow("4, even") << 4.0 << 0;
        QTest::newRow("9.5, odd") << 9.5 << 1;
        QTest::newRow("30, even") << 30.0 << 0;
    }

    // A shape drawn straight onto the blur's coarse grid, blurred there and read back, is the
    // shape drawn at every pixel and blurred, within a few levels: the grid lies where
    // ToCoarse puts it.
    void drawnOnTheCoarseGrid()
    {
        QFETCH(double, sigma);
        QFETCH(int, extra);
        const int factor = MaskBlur::CoarseFactor(sigma);
        QVERIFY(factor > 1);
        const int margin = MaskBlur::Reach(sigma);
        const QSize size(2 * margin + 70 + extra, 2 * margin + 41 + extra);
        QPainterPath shape;
        shape.addEllipse(QPointF(margin + 20.3, margin + 20.6), 18.2, 15.5);
        shape.addRect(QRectF(margin + 45.5, margin + 3.25, 20, 30));
        auto draw = [&](QSize picture, const QTransform& transform) {
            QImage mask(picture, QImage::Format_Alpha8);
            mask.fill(0);
            QPainter painter(&mask);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setTransform(transform);
            painter.fillPath(shape, Qt::black);
            return mask;
        };
        QImage fine = draw(size, {});
        MaskBlur::Blur(fine, sigma);
        QImage coarse = draw(MaskBlur::CoarseSize(size, factor), MaskBlur::ToCoarse(size, factor));
        MaskBlur::Blur(coarse, MaskBlur::CoarseSigma(sigma, factor));
        QImage read(size, QImage::Format_Alpha8);
        MaskBlur::Refine(coarse, read, factor);
        int worst = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                worst =
                    std::max(worst, std::abs(fine.constScanLine(y)[x] - read.constScanLine(y)[x]));
        QVERIFY2(worst <= 4, qPrintable(QString::number(worst)));
    }

    void picturesBlurChannelByChannel_data()
    {
        QTest::addColumn<double>("sigma");
        QTest::newRow("kernel") << 1.2;
        QTest::newRow("boxes") << 2.5;
        QTest::newRow("coarse") << 9.0;
    }

    // A premultiplied picture blurs as each of its four channels blurred as a mask would, the
    // colour then kept within the alpha.
    void picturesBlurChannelByChannel()
    {
        QFETCH(double, sigma);
        const int margin = MaskBlur::Reach(sigma);
        QImage picture(2 * margin + 37, 2 * margin + 23, QImage::Format_ARGB32_Premultiplied);
        picture.fill(0);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 40, 90, 230));
        painter.drawEllipse(QRectF(margin + 2.5, margin + 1.5, 20, 19));
        painter.setBrush(QColor(10, 250, 120, 140));
        painter.drawRect(QRectF(margin + 15.25, margin + 6.5, 20, 14));
        painter.end();
        std::vector<QImage> planes;
        for (int shift = 0; shift < 32; shift += 8) {
            QImage plane(picture.size(), QImage::Format_Alpha8);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    plane.scanLine(y)[x] = std::uint8_t(picture.pixel(x, y) >> shift);
            MaskBlur::Blur(plane, sigma);
            planes.push_back(plane);
        }
        MaskBlur::BlurPremultiplied(picture, sigma);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const int alpha = planes[3].constScanLine(y)[x];
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(int(picture.pixel(x, y) >> (8 * c) & 0xFF),
                             std::min(int(planes[std::size_t(c)].constScanLine(y)[x]), alpha));
                QCOMPARE(qAlpha(picture.pixel(x, y)), alpha);
            }
    }

    // A square in the middle stays in the middle: the blur of its mirror image is the mirror
    // image of its blur, to the level.
    void keepsShapesInPlace_data()
    {
        QTest::addColumn<double>("sigma");
        QTest::newRow("kernel") << 1.3;
        QTest::newRow("boxes") << 4.6;
        QTest::newRow("coarse, odd side") << 40.0;
        QTest::newRow("coarse, even side") << 13.0;
    }

    void keepsShapesInPlace()
    {
        QFETCH(double, sigma);
        const int side = 2 * MaskBlur::Reach(sigma) + 21;
        QImage mask(side, side, QImage::Format_Alpha8);
        mask.fill(0);
        QPainter(&mask).fillRect(QRect(side / 2 - 5, side / 2 - 7, 11, 15), Qt::black);
        MaskBlur::Blur(mask, sigma);
        QCOMPARE(mask.mirrored(true, true), mask);
    }

    // A wide solid area stays solid inside, and the blur spreads out to its reach but no further.
    void reachBoundsTheSpread_data()
    {
        QTest::addColumn<double>("sigma");
        QTest::newRow("1.2") << 1.2;
        QTest::newRow("2") << 2.0;
        QTest::newRow("31.7") << 31.7;
        QTest::newRow("200") << 200.0;
    }

    void reachBoundsTheSpread()
    {
        QFETCH(double, sigma);
        const int reach = MaskBlur::Reach(sigma);
        const int side = 6 * reach + 20;
        QImage mask(side, 2 * reach + 9, QImage::Format_Grayscale8);
        mask.fill(0);
        for (int y = 0; y < mask.height(); ++y)
            std::fill_n(mask.scanLine(y) + reach + 5, side - 2 * reach - 10, std::uint8_t(255));
        MaskBlur::Blur(mask, sigma);
        const std::uint8_t* row = mask.constScanLine(mask.height() / 2);
        QCOMPARE(row[4], std::uint8_t(0));
        QCOMPARE(row[side - 5], std::uint8_t(0));
        QVERIFY(row[reach + 5 - reach / 2] > 0);
        QCOMPARE(row[side / 2], std::uint8_t(255));
    }
};

QUILVORO_APP_TEST_MAIN(tst_MaskBlur)
#include "tst_MaskBlur.moc"
