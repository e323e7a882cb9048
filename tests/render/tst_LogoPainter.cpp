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
Q_DECLARE_METATYPE(TdxfLabelStyle)

namespace {

constexpr QSize kLabel(220, 90);

// A red shadow and a yellow face on green: what showed a fringe of the background colour.
LogoLook Look(TdxfLabelStyle style, TdxfEffectStyle effect, TdxfOrientation orientation,
              bool texture)
{
    LogoLook look;
    look.caption = u"Qa/k"_s;
    look.font = QFont(u"DejaVu Sans"_s);
    look.font.setPixelSize(34);
    look.color = RGB(0, 128, 0);
    look.engravedBase = look.color;
    look.textColor = RGB(250, 200, 20);
    look.shadowColor = RGB(200, 0, 0);
    look.style = style;
    look.effectStyle = effect;
    look.orientation = orientation;
    look.depth = 7;
    // Turned on the diagonals, so that edges run at every slope.
    look.angle = orientation >= dxfLeftTop ? 25 : 0;
    if (texture)
        look.texture = Checkers(QSize(12, 12), 3);
    return look;
}

QImage Transparent(const LogoPainter& painter)
{
    QImage image(painter.DeviceSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    painter.PaintTransparent(image, {}, image.rect());
    return image;
}

QImage On(const LogoPainter& painter, QRgb ground)
{
    QImage image(painter.DeviceSize(), QImage::Format_RGB32);
    painter.PaintOn(image, {}, image.rect(), QColor::fromRgb(ground));
    return image;
}

// The opaque picture of the look with `ground` as its background colour, where a gradation
// fades toward it. A system background colour's fade runs toward silver whatever lies beneath,
// and ink of the background colour is background, showing whatever lies beneath.
QImage OpaqueOn(const LogoLook& look, int scale, QRgb ground)
{
    if (IsSystemColor(look.color) || look.textColor == look.color || look.shadowColor == look.color)
        return On(LogoPainter(look, kLabel, scale), ground);
    LogoLook on = look;
    on.color = RGB(qRed(ground), qGreen(ground), qBlue(ground));
    QImage image(LogoPainter(on, kLabel, scale).DeviceSize(), QImage::Format_RGB32);
    LogoPainter(on, kLabel, scale).PaintOpaque(image, {}, image.rect());
    return image;
}

// Pixels that differ between two pictures of the same size.
int Differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

class tst_LogoPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // The transparent picture over any colour is the picture on that colour, within rounding.
    void transparentOverAnyColour_data()
    {
        QTest::addColumn<LogoLook>("look");
        QTest::addColumn<int>("scale");
        const std::pair<TdxfLabelStyle, const char*> styles[] = {{dxfNormal, "normal"},
                                                                 {dxfOutLine, "outline"},
                                                                 {dxfRaised, "solid"},
                                                                 {dxfLowered, "lowered"}};
        const std::pair<TdxfEffectStyle, const char*> effects[] = {
            {dxfCool, "flat"}, {dxfExtrude, "deep"}, {dxfFun, "gradation"}};
        for (const auto& [style, styleName] : styles)
            for (const auto& [effect, effectName] : effects)
                for (int direction = 0; direction < 8; ++direction)
                    for (const bool texture : {false, true})
                        for (const int scale : {1, 2, 4})
                            QTest::addRow("%s, %s, direction %d%s, scale %d", styleName, effectName,
                                          direction, texture ? ", texture" : "", scale)
                                << Look(style, effect, TdxfOrientation(direction), texture)
                                << scale;
        LogoLook vanishing = Look(dxfNormal, dxfExtrude, dxfRightBottom, false);
        vanishing.textColor = vanishing.color;
        QTest::newRow("face in the background colour") << vanishing << 2;
        // A long fade reaches the background colour exactly in its farthest layers.
        LogoLook fade = Look(dxfNormal, dxfFun, dxfLeftTop, false);
        fade.depth = 60;
        fade.shadowColor = RGB(40, 150, 10);
        QTest::newRow("fade into the background") << fade << 1;
        LogoLook system = Look(dxfRaised, dxfFun, dxfBottom, false);
        system.color = system.engravedBase = clBtnFace;
        QTest::newRow("system background colour") << system << 1;
    }

    void transparentOverAnyColour()
    {
        QFETCH(LogoLook, look);
        QFETCH(int, scale);
        const LogoPainter painter(look, kLabel, scale);
        const QImage clear = Transparent(painter);
        const QRgb background = ColorToPixel(look.color) | 0xff000000u;
        const QImage opaque = On(painter, background);
        QImage reference(opaque.size(), QImage::Format_RGB32);
        painter.PaintOpaque(reference, {}, reference.rect());
        QCOMPARE(opaque, reference);

        const QRgb grounds[] = {background, qRgb(0, 0, 0), qRgb(255, 255, 255),
                                ~background | 0xff000000u, qRgb(128, 128, 128)};
        OverAnyColour::Tally tally;
        for (const QRgb ground : grounds) {
            OverAnyColour::Compare(clear, ground,
                                   ground == background ? opaque : OpaqueOn(look, scale, ground),
                                   opaque, background, tally);
            QVERIFY2(tally.failure.isEmpty(), qPrintable(tally.failure));
        }
        if (look.textColor != look.color)
            QVERIFY(tally.partial > 0);
        QVERIFY2(tally.StalledShareHolds(), qPrintable(tally.Figures()));
    }

    // The face and a flat shadow blended from the caption's mask are the pixels of text draws.
    void maskedFaceIsTheDrawnFace_data()
    {
        QTest::addColumn<LogoLook>("look");
        QTest::addColumn<int>("scale");
        for (const TdxfLabelStyle style : {dxfNormal, dxfOutLine, dxfRaised, dxfLowered}) {
            for (const int angle : {0, 30, 200}) {
                for (const int scale : {1, 3}) {
                    LogoLook look = Look(style, dxfCool, dxfLeftBottom, false);
                    look.angle = angle;
                    QTest::addRow("style %d, %d°, scale %d", style, angle, scale) << look << scale;
                    look.depth = 0;
                    look.texture = Checkers(QSize(9, 9), 3);
                    QTest::addRow("style %d, %d°, scale %d, textured", style, angle, scale)
                        << look << scale;
                }
            }
        }
    }

    void maskedFaceIsTheDrawnFace()
    {
        QFETCH(LogoLook, look);
        QFETCH(int, scale);
        LogoPainter painter(look, kLabel, scale);
        QImage masked(painter.DeviceSize(), QImage::Format_RGB32);
        painter.PaintOpaque(masked, {}, masked.rect());
        painter.SetCompositeLayers(false);
        QImage drawn(painter.DeviceSize(), QImage::Format_RGB32);
        painter.PaintOpaque(drawn, {}, drawn.rect());
        QCOMPARE(Differences(masked, drawn), 0);
    }

    // The kept mask draws the caption once while only colours, depth and direction change, and
    // the pictures are those of a fresh mask each time, with the outline and the letters the
    // texture shows through kept too.
    void keptMaskIsDrawnOnce_data()
    {
        QTest::addColumn<TdxfLabelStyle>("style");
        QTest::newRow("raised") << dxfRaised;
        QTest::newRow("outline") << dxfOutLine;
        QTest::newRow("normal") << dxfNormal;
    }

    void keptMaskIsDrawnOnce()
    {
        QFETCH(TdxfLabelStyle, style);
        CaptionMask cache;
        LogoLook look = Look(style, dxfFun, dxfRight, true);
        const auto paint = [&](const LogoLook& shown, CaptionMask* mask) {
            LogoPainter painter(shown, kLabel, 2);
            painter.SetMaskCache(mask);
            QImage image(painter.DeviceSize(), QImage::Format_RGB32);
            painter.PaintOpaque(image, {}, image.rect());
            return image;
        };
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        look.shadowColor = RGB(10, 20, 200);
        look.depth = 12;
        look.orientation = dxfLeftTop;
        look.color = RGB(90, 90, 90);
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        QCOMPARE(cache.Draws(), 1);
        look.angle = 40;
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        look.caption = u"Other"_s;
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        QCOMPARE(cache.Draws(), 3);
        // a warp, and each amount of it, is another caption; the same bend is kept
        look.warp = TLogoWarp::Arch;
        look.warpAmount = 40;
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        look.depth = 30;
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        look.warpAmount = 41;
        QCOMPARE(paint(look, &cache), paint(look, nullptr));
        QCOMPARE(cache.Draws(), 5);
    }

    // Every field of the placement but where it lies decides the coverage kept.
    void keptMaskFollowsThePlacement_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("draws");
        QTest::newRow("moved by whole pixels") << 0 << 1;
        QTest::newRow("lead") << 1 << 2;
        QTest::newRow("baseline") << 2 << 2;
        QTest::newRow("turn") << 3 << 2;
    }

    void keptMaskFollowsThePlacement()
    {
        QFETCH(int, field);
        QFETCH(int, draws);
        TextPlacement placement;
        placement.text = u"Qa/k"_s;
        placement.font = QFont(u"DejaVu Sans"_s);
        placement.font.setPixelSize(30);
        placement.baseline = 28;
        placement.origin = {10, 10};
        const QRect reach(0, 0, 400, 200);
        CaptionMask cache;
        QPoint topLeft;
        cache.Of(placement, reach, topLeft);
        const QPoint before = topLeft - placement.origin;
        switch (field) {
        case 0:
            placement.origin += QPoint(7, 3);
            break;
        case 1:
            placement.lead = 5.5;
            break;
        case 2:
            placement.baseline = 29;
            break;
        case 3:
            placement.escapement = 90;
            break;
        }
        const QImage& mask = cache.Of(placement, reach, topLeft);
        QCOMPARE(cache.Draws(), draws);
        if (draws == 1)
            QCOMPARE(topLeft - placement.origin, before);
        else
            QCOMPARE(mask, CaptionMask::Draw(placement, placement.Bounds({}).intersected(reach)));
    }

    // A paint of part of the label is that part of the whole label's paint, wherever it lands.
    void clippedPaintIsPartOfTheWhole_data()
    {
        QTest::addColumn<QRect>("clip");
        QTest::addColumn<QPoint>("origin");
        QTest::addColumn<bool>("transparent");
        for (const bool transparent : {false, true}) {
            QTest::addRow("middle%s", transparent ? ", transparent" : "")
                << QRect(60, 20, 150, 90) << QPoint() << transparent;
            QTest::addRow("moved%s", transparent ? ", transparent" : "")
                << QRect(0, 0, 500, 300) << QPoint(-37, 11) << transparent;
            QTest::addRow("one row%s", transparent ? ", transparent" : "")
                << QRect(0, 77, 440, 1) << QPoint() << transparent;
        }
    }

    void clippedPaintIsPartOfTheWhole()
    {
        QFETCH(QRect, clip);
        QFETCH(QPoint, origin);
        QFETCH(bool, transparent);
        const LogoPainter painter(Look(dxfNormal, dxfFun, dxfLeft, true), kLabel, 2);
        const auto format =
            transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        QImage whole(painter.DeviceSize(), format);
        QImage part(QSize(500, 300), format);
        whole.fill(Qt::transparent);
        part.fill(0xff123456u);
        const QImage before = part;
        if (transparent) {
            painter.PaintTransparent(whole, {}, whole.rect());
            painter.PaintTransparent(part, origin, clip);
        } else {
            painter.PaintOpaque(whole, {}, whole.rect());
            painter.PaintOpaque(part, origin, clip);
        }
        const QRect painted = QRect(origin, whole.size()) & clip & part.rect();
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x) {
                const QRgb expected = painted.contains(x, y) ? whole.pixel(QPoint(x, y) - origin)
                                                             : before.pixel(x, y);
                if (part.pixel(x, y) != expected)
                    QFAIL(qPrintable(u"%1,%2"_s.arg(x).arg(y)));
            }
    }
};

QUILVORO_APP_TEST_MAIN(tst_LogoPainter)
#include "tst_LogoPainter.moc"
