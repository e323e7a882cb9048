// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/CaptionMask.h"
#include "render/LogoPainter.h"
#include "render/TextPlacement.h"
#include "support/AppTestMain.h"
#include "support/OverAnyColour.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogoLook)

namespace {

constexpr QSize kLabel(240, 110);

// A plain face without a shadow on black, at `pixels` pixels.
LogoLook Plain(const QString& caption, int pixels = 60)
{
    LogoLook look;
    look.caption = caption;
    look.font = QFont(u"DejaVu Sans"_s);
    look.font.setPixelSize(pixels);
    look.font.setBold(true);
    look.color = clBlack;
    look.textColor = clWhite;
    look.depth = 0;
    return look;
}

QImage Opaque(const LogoLook& look, int scale = 1)
{
    const LogoPainter painter(look, kLabel, scale);
    QImage image(painter.DeviceSize(), QImage::Format_RGB32);
    painter.PaintOpaque(image, {}, image.rect());
    return image;
}

// The first column of `row` from the left where the red channel passes half.
int LeftEdge(const QImage& image, int row)
{
    for (int x = 0; x < image.width(); ++x)
        if (qRed(image.pixel(x, row)) > 128)
            return x;
    return -1;
}

// The mean colour of the face's pixels (those not black) whose position along `axis` lies in
// [from, to) of the face's extent along it.
QColor MeanAlong(const QImage& image, QPointF axis, double from, double to)
{
    double low = 1e9, high = -1e9;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) != 0) {
                const double t = x * axis.x() + y * axis.y();
                low = std::min(low, t);
                high = std::max(high, t);
            }
    double sum[3] = {};
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const double t = (x * axis.x() + y * axis.y() - low) / (high - low);
            if ((p & 0xFFFFFF) == 0 || t < from || t >= to)
                continue;
            sum[0] += qRed(p);
            sum[1] += qGreen(p);
            sum[2] += qBlue(p);
            ++n;
        }
    return n == 0 ? QColor() : QColor(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n));
}

} // namespace

class tst_DecorationPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // The transparent picture over any colour is the decorated picture on that colour.
    void transparentOverAnyColour_data()
    {
        QTest::addColumn<LogoLook>("look");
        QTest::addColumn<int>("scale");
        LogoLook look = Plain(u"Qa/k"_s, 34);
        look.color = RGB(0, 128, 0);
        look.textColor = RGB(250, 200, 20);
        look.shadowColor = RGB(200, 0, 0);
        look.depth = 7;
        look.angle = 25;
        LogoLook rings = look;
        rings.effectStyle = dxfFun;
        rings.decorations.edges = {{{2, clWhite}, {0, clBlack}, {3, RGB(20, 20, 160)}}};
        QTest::newRow("rings casting a gradation") << rings << 1;
        QTest::newRow("rings casting a gradation, scale 2") << rings << 2;
        LogoLook soft = rings;
        soft.effectStyle = dxfExtrude;
        soft.decorations.shadowBlur = 4;
        soft.decorations.shadowOpacity = 60;
        QTest::newRow("soft deep shadow") << soft << 2;
        LogoLook glowing = look;
        glowing.effectStyle = dxfCool;
        glowing.decorations.glowSize = 8;
        glowing.decorations.glowColor = RGB(255, 255, 0);
        glowing.decorations.glowOpacity = 80;
        glowing.decorations.gradient = true;
        glowing.decorations.fillColor2 = RGB(40, 40, 255);
        glowing.decorations.fillAngle = 30;
        QTest::newRow("glow, gradient, flat shadow") << glowing << 1;
    }

    void transparentOverAnyColour()
    {
        QFETCH(LogoLook, look);
        QFETCH(int, scale);
        const LogoPainter painter(look, kLabel, scale);
        QImage clear(painter.DeviceSize(), QImage::Format_ARGB32_Premultiplied);
        clear.fill(Qt::transparent);
        painter.PaintTransparent(clear, {}, clear.rect());
        const QRgb background = ColorToPixel(look.color) | 0xff000000u;
        const QImage opaque = Opaque(look, scale);
        OverAnyColour::Tally tally;
        for (const QRgb ground : {background, qRgb(0, 0, 0), qRgb(255, 255, 255)}) {
            LogoLook on = look;
            on.color = RGB(qRed(ground), qGreen(ground), qBlue(ground));
            OverAnyColour::Compare(clear, ground, Opaque(on, scale), opaque, background, tally);
            QVERIFY2(tally.failure.isEmpty(), qPrintable(tally.failure));
        }
        QVERIFY2(tally.StalledShareHolds(), qPrintable(tally.Figures()));
    }

    // Ring by ring outward from the letter's edge, at every scale.
    void ringsLieAroundTheLetters_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("preview") << 1;
        QTest::newRow("scale 3") << 3;
    }

    void ringsLieAroundTheLetters()
    {
        QFETCH(int, scale);
        LogoLook look = Plain(u"I"_s);
        const QImage plain = Opaque(look, scale);
        look.decorations.edges = {{{3, clRed}, {4, clBlue}, {0, clWhite}}};
        const QImage ringed = Opaque(look, scale);
        const int row = plain.height() / 2;
        const int edge = LeftEdge(plain, row);
        QVERIFY(edge > 10 * scale);
        QCOMPARE(Pixel(ringed, edge - 2 * scale, row), 0xFF0000u);
        QCOMPARE(Pixel(ringed, edge - 5 * scale, row), 0x0000FFu);
        QCOMPARE(Pixel(ringed, edge - 9 * scale, row), 0u);
        QCOMPARE(Pixel(ringed, edge + 2 * scale, row), 0xFFFFFFu);
    }

    // The gradient's colours at the letters' ends along its direction, which turns with the text.
    void gradientRunsAcrossTheLetters_data()
    {
        QTest::addColumn<int>("fillAngle");
        QTest::addColumn<int>("textAngle");
        QTest::addColumn<QPointF>("axis"); // on the screen, from the first colour to the last
        QTest::newRow("left to right") << 0 << 0 << QPointF(1, 0);
        QTest::newRow("right to left") << 180 << 0 << QPointF(-1, 0);
        QTest::newRow("upward") << 90 << 0 << QPointF(0, -1);
        QTest::newRow("turned with the text") << 0 << 90 << QPointF(0, -1);
    }

    void gradientRunsAcrossTheLetters()
    {
        QFETCH(int, fillAngle);
        QFETCH(int, textAngle);
        QFETCH(QPointF, axis);
        LogoLook look = Plain(u"HIH"_s, 50);
        look.angle = textAngle;
        look.textColor = clRed;
        look.decorations.gradient = true;
        look.decorations.fillColor2 = clBlue;
        look.decorations.fillAngle = fillAngle;
        const QImage image = Opaque(look);
        const QColor first = MeanAlong(image, axis, 0, 0.15);
        const QColor last = MeanAlong(image, axis, 0.85, 1.01);
        QVERIFY2(first.red() > 190 && first.blue() < 65, qPrintable(first.name()));
        QVERIFY2(last.blue() > 190 && last.red() < 65, qPrintable(last.name()));
        // a third colour takes the middle
        look.decorations.fillColor2 = clLime;
        look.decorations.fillColor3 = clBlue;
        const QColor middle = MeanAlong(Opaque(look), axis, 0.45, 0.55);
        QVERIFY2(middle.green() > 190, qPrintable(middle.name()));
    }

    // A flat white shadow's opacity and blur, sampled inside it and beyond its right edge.
    void softShadow_data()
    {
        QTest::addColumn<int>("blur");
        QTest::addColumn<int>("opacity");
        QTest::addColumn<int>("inside"); // 5 pixels in from the edge
        QTest::addColumn<int>("outside"); // 6 pixels beyond it
        QTest::newRow("sharp") << 0 << 100 << 255 << 0;
        QTest::newRow("half") << 0 << 50 << 128 << 0;
        QTest::newRow("blurred") << 6 << 100 << 230 << 20;
    }

    void softShadow()
    {
        QFETCH(int, blur);
        QFETCH(int, opacity);
        QFETCH(int, inside);
        QFETCH(int, outside);
        LogoLook look = Plain(u"I"_s, 80);
        look.textColor = clBlack;
        look.shadowColor = clWhite;
        look.effectStyle = dxfCool;
        look.orientation = dxfRight;
        look.depth = 12;
        const QImage sharp = Opaque(look);
        look.decorations.shadowBlur = blur;
        look.decorations.shadowOpacity = opacity;
        const QImage image = Opaque(look);
        const int row = image.height() / 2;
        int edge = image.width() - 1;
        while (edge > 0 && qRed(sharp.pixel(edge, row)) < 128)
            --edge;
        const int tolerance = blur > 0 ? 22 : 2;
        QVERIFY(std::abs(qRed(image.pixel(edge - 5, row)) - inside) <= tolerance);
        QVERIFY(std::abs(qRed(image.pixel(edge + 6, row)) - outside) <= tolerance);
    }

    // A label keeps its decorations between paints and builds again only what a change reaches;
    // every paint gives the bytes of a fresh one, opaque, see-through and as coverage.
    void keptDecorationsFollowTheirSources_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("builds");
        // the outlines, the glow, three rings, and the shadow in colour and as coverage
        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("face and ring colours") << 1 << 0;
        QTest::newRow("glow colour") << 2 << 0;
        QTest::newRow("shadow colour") << 3 << 1;
        QTest::newRow("glow opacity") << 4 << 1;
        QTest::newRow("shadow depth") << 5 << 2;
        QTest::newRow("ring width") << 6 << 7;
        QTest::newRow("caption") << 7 << 7;
    }

    void keptDecorationsFollowTheirSources()
    {
        QFETCH(int, change);
        QFETCH(int, builds);
        LogoLook look = Plain(u"Kept"_s, 50);
        look.angle = 20;
        look.effectStyle = dxfFun;
        look.orientation = dxfRightBottom;
        look.depth = 8;
        look.shadowColor = RGB(200, 30, 30);
        look.decorations.edges = {LogoEdge {3, clWhite}, LogoEdge {2, RGB(0, 0, 160)},
                                  LogoEdge {2, clYellow}};
        look.decorations.gradient = true;
        look.decorations.shadowBlur = 3;
        look.decorations.glowSize = 8;
        look.decorations.glowColor = clAqua;
        CaptionMask cache;
        const auto paint = [&](const LogoLook& shown, CaptionMask* kept) {
            LogoPainter painter(shown, kLabel);
            painter.SetMaskCache(kept);
            QImage opaque(painter.DeviceSize(), QImage::Format_RGB32);
            painter.PaintOpaque(opaque, {}, opaque.rect());
            QImage keyed(painter.DeviceSize(), QImage::Format_ARGB32_Premultiplied);
            painter.PaintKeyed(keyed, {}, keyed.rect());
            return std::pair(opaque, keyed);
        };
        QVERIFY(paint(look, &cache) == paint(look, nullptr));
        const int before = cache.Decorations().Builds();
        QCOMPARE(before, 7);
        switch (change) {
        case 1:
            look.textColor = RGB(10, 200, 90);
            look.decorations.fillColor2 = RGB(90, 0, 90);
            look.decorations.edges[1].color = RGB(250, 120, 0);
            break;
        case 2:
            look.decorations.glowColor = clFuchsia;
            break;
        case 3:
            look.shadowColor = RGB(20, 30, 200);
            break;
        case 4:
            look.decorations.glowOpacity = 60;
            break;
        case 5:
            look.depth = 12;
            break;
        case 6:
            look.decorations.edges[0].width = 5;
            break;
        case 7:
            look.caption = u"Kapt"_s;
            break;
        }
        QVERIFY(paint(look, &cache) == paint(look, nullptr));
        QCOMPARE(cache.Decorations().Builds() - before, builds);
    }

    // The spacing is added after every letter by the shaping, at the painter's scale.
    void spacingWidensTheCaption_data()
    {
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("scale");
        QTest::newRow("wide") << 50 << 1;
        QTest::newRow("wide, scale 2") << 50 << 2;
        QTest::newRow("tight") << -20 << 1;
    }

    void spacingWidensTheCaption()
    {
        QFETCH(int, spacing);
        QFETCH(int, scale);
        LogoLook look = Plain(u"AVATAR"_s, 40);
        const auto width = [&](const LogoLook& l) {
            return LogoPainter(l, kLabel, scale).Placement({}).Path({}).boundingRect().width();
        };
        const double plain = width(look);
        look.decorations.spacing = spacing;
        const double expected = plain + 5 * 40 * scale * spacing / 100.0;
        QVERIFY2(std::abs(width(look) - expected) <= 1.5 * scale,
                 qPrintable(QStringLiteral("%1, not %2").arg(width(look)).arg(expected)));
    }
};

QUILVORO_APP_TEST_MAIN(tst_DecorationPainter)
#include "tst_DecorationPainter.moc"
