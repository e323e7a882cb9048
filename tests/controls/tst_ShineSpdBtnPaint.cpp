// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineGlyphEffects.h"
#include "controls/ShineSpdBtn.h"
#include "platform/TextOutput.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TActiveImageType)
Q_DECLARE_METATYPE(TButtonLayout)
Q_DECLARE_METATYPE(TDisabledImageType)
Q_DECLARE_METATYPE(TFrameType)

namespace {

constexpr TColor kBack = 0x00404040;
constexpr QRgb kKey = 0x808000; // clOlive as a pixel word
constexpr QRgb kInk = 0xFF0000;

QRgb Rgb(TColor color)
{
    return ColorToPixel(color);
}

QImage Paint(TShineSpeedButton& b, QRgb under = 0x123456)
{
    QImage shot(b.size(), QImage::Format_RGB32);
    shot.fill(under);
    QPainter painter(&shot);
    b.PaintTo(painter);
    return shot;
}

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// A glyph of key colour with a filled square of ink.
QImage SquareGlyph(int size, QRect square)
{
    QImage glyph(size, size, QImage::Format_RGB32);
    glyph.fill(kKey);
    QPainter(&glyph).fillRect(square, QColor::fromRgb(kInk));
    return glyph;
}

// A flat button with distinct frame colours for each look.
std::unique_ptr<TShineSpeedButton> FramedButton(QWidget* parent, TFrameType type)
{
    auto b = std::make_unique<TShineSpeedButton>(parent);
    b->resize(20, 10);
    b->SetFrameType(type);
    b->Colors()->SetColor(kBack);
    b->Colors()->SetHighlight(clRed);
    b->Colors()->SetShadow(clLime);
    b->Colors()->SetDarkShadow(clBlue);
    b->PressedColors()->SetColor(kBack);
    b->PressedColors()->SetHighlight(clYellow);
    b->PressedColors()->SetShadow(clAqua);
    b->PressedColors()->SetDarkShadow(clFuchsia);
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    return b;
}

// The bounds of the pixels within a small distance of `colour` (text is antialiased).
QRect NearPixels(const QImage& image, QRgb colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40
                && std::abs(qBlue(p) - qBlue(colour)) < 40)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

QSet<QRgb> Colours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(At(image, x, y));
    return colours;
}

} // namespace

class tst_ShineSpdBtnPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void rampTruncatesTowardZero_data();
    void rampTruncatesTowardZero();
    void gradientStretchesWholeRows_data();
    void gradientStretchesWholeRows();
    void transparentButtonPaintsNoBackground();
    void frameLines_data();
    void frameLines();
    void activeGlyphEffects_data();
    void activeGlyphEffects();
    void disabledGlyphEffects_data();
    void disabledGlyphEffects();
    void maskCount_data();
    void maskCount();
    void frameLightOutlinesOnlyWhileActive();
    void frameLightTwoPixelOutline();
    void outlineReachingTheCornerMovesTheTransparentColour();
    void disabledEdgeMaskIsEmbossed();
    void downLookShiftsContentNotFrame();
    void captionDrawnWithShadowAndHighlight();
    void glyphPaintedWhereArranged_data();
    void glyphPaintedWhereArranged();
};

void tst_ShineSpdBtnPaint::rampTruncatesTowardZero_data()
{
    QTest::addColumn<QRgb>("from");
    QTest::addColumn<QRgb>("to");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QRgb>("expected");
    const QRgb silver = Rgb(clSilver);
    const QRgb navy = Rgb(0x00480000);
    QTest::newRow("first entry is the colour") << silver << navy << 0 << 0xC0C0C0u;
    QTest::newRow("-192/255 truncates to 0") << silver << navy << 1 << 0xC0C0C0u;
    QTest::newRow("last entry is the gradient colour") << silver << navy << 255 << 0x000048u;
    QTest::newRow("half way up") << 0x000000u << 0xFFFFFFu << 128 << 0x808080u;
    QTest::newRow("half way down") << 0xFFFFFFu << 0x000000u << 128 << 0x7F7F7Fu;
}

void tst_ShineSpdBtnPaint::rampTruncatesTowardZero()
{
    QFETCH(QRgb, from);
    QFETCH(QRgb, to);
    QFETCH(int, entry);
    QFETCH(QRgb, expected);
    QCOMPARE(ShineGlyph::MakeRamp(from, to)[std::size_t(entry)], expected);
}

void tst_ShineSpdBtnPaint::gradientStretchesWholeRows_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("extent");
    QTest::newRow("vertical, one row per entry") << true << 256;
    QTest::newRow("vertical, each entry twice") << true << 512;
    QTest::newRow("horizontal, entries dropped") << false << 40;
}

void tst_ShineSpdBtnPaint::gradientStretchesWholeRows()
{
    QFETCH(bool, vertical);
    QFETCH(int, extent);
    TShineSpeedButton b;
    b.resize(vertical ? 8 : extent, vertical ? extent : 8);
    b.SetUpFrame(false);
    b.Colors()->SetColor(clSilver);
    b.Colors()->SetGradColor(0x00480000);
    b.Colors()->SetGradVertical(vertical);
    b.Colors()->SetGradation(true);
    const QImage shot = Paint(b);
    const auto ramp = ShineGlyph::MakeRamp(Rgb(clSilver), Rgb(0x00480000));
    for (int d = 0; d < extent; ++d) {
        const QRgb want = ramp[std::size_t(d * 256 / extent)];
        const QPoint p = vertical ? QPoint(3, d) : QPoint(d, 3);
        QCOMPARE(At(shot, p.x(), p.y()), want);
        // a whole row (or column) of one colour
        QCOMPARE(At(shot, vertical ? 7 : d, vertical ? d : 7), want);
    }
    QCOMPARE(At(shot, 0, 0), 0xC0C0C0u);
}

void tst_ShineSpdBtnPaint::transparentButtonPaintsNoBackground()
{
    TShineSpeedButton b;
    b.resize(30, 20);
    b.SetTransparent(true);
    b.SetUpFrame(false);
    b.Colors()->SetGradation(true);
    const QImage shot = Paint(b, 0x00FF00FF);
    QCOMPARE(Colours(shot), QSet<QRgb> {0xFF00FFu});
}

void tst_ShineSpdBtnPaint::frameLines_data()
{
    QTest::addColumn<TFrameType>("type");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("upFrame");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<TColor>>("colours");
    const QPoint tl(0, 0), tr(19, 0), bl(0, 9), br(19, 9);
    QTest::newRow("flat up") << ftFlatFrame << false << true
                             << QList<QPoint> {tl, {5, 0}, {0, 5}, br, {5, 9}, {19, 5}, tr, bl}
                             << QList<TColor> {clRed,  clRed,  clRed, clLime,
                                               clLime, clLime, kBack, kBack};
    QTest::newRow("flat down") << ftFlatFrame << true << true
                               << QList<QPoint> {tl, {5, 0}, br, {19, 5}, {1, 1}}
                               << QList<TColor> {clAqua, clAqua, clYellow, clYellow, kBack};
    QTest::newRow("normal up") << ftNormalFrame << false << true
                               << QList<QPoint> {tl, {18, 0}, {18, 8}, {5, 8}, {18, 5},
                                                 br, {5, 9},  tr,      bl,     {1, 1}}
                               << QList<TColor> {clRed,  clRed,  clLime, clLime, clLime,
                                                 clBlue, clBlue, kBack,  kBack,  kBack};
    QTest::newRow("normal down") << ftNormalFrame << true << true
                                 << QList<QPoint> {{1, 1}, {5, 1}, {1, 5},  tl,     {5, 0},
                                                   br,     {5, 9}, {19, 5}, {18, 8}}
                                 << QList<TColor> {clAqua,    clAqua,    clAqua,
                                                   clFuchsia, clFuchsia, clYellow,
                                                   clYellow,  clYellow,  kBack};
    QTest::newRow("enclosed up") << ftEnclosedFrame << false << true
                                 << QList<QPoint> {tl,     tr,      bl,     br,      {1, 1},
                                                   {5, 1}, {18, 8}, {5, 8}, {18, 1}, {2, 2}}
                                 << QList<TColor> {clBlue, clBlue, clBlue, clBlue, clRed,
                                                   clRed,  clLime, clLime, kBack,  kBack};
    QTest::newRow("enclosed down keeps the up rectangle")
        << ftEnclosedFrame << true << true << QList<QPoint> {tl, br, {1, 1}, {18, 8}, {1, 8}}
        << QList<TColor> {clBlue, clBlue, clAqua, clYellow, kBack};
    QTest::newRow("enclosed without up frame draws nothing")
        << ftEnclosedFrame << false << false << QList<QPoint> {tl, br, {1, 1}, {18, 8}}
        << QList<TColor> {kBack, kBack, kBack, kBack};
    QTest::newRow("no such frame type")
        << TFrameType(7) << false << true << QList<QPoint> {tl, br, {1, 1}}
        << QList<TColor> {kBack, kBack, kBack};
}

void tst_ShineSpdBtnPaint::frameLines()
{
    QFETCH(TFrameType, type);
    QFETCH(bool, down);
    QFETCH(bool, upFrame);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<TColor>, colours);
    QWidget parent;
    auto b = FramedButton(&parent, type);
    b->SetUpFrame(upFrame);
    b->SetDown(down);
    QCOMPARE(b->DrawState(), down ? shsDown : shsUp);
    const QImage shot = Paint(*b);
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPoint p = points[i];
        QVERIFY2(At(shot, p.x(), p.y()) == Rgb(colours[i]),
                 qPrintable(QStringLiteral("pixel %1,%2 is %3")
                                .arg(p.x())
                                .arg(p.y())
                                .arg(At(shot, p.x(), p.y()), 6, 16, QLatin1Char('0'))));
    }
}

void tst_ShineSpdBtnPaint::activeGlyphEffects_data()
{
    QTest::addColumn<TActiveImageType>("type");
    QTest::addColumn<QRgb>("pixel");
    QTest::addColumn<QRgb>("expected");
    const QRgb glyph = 0x204080;
    // shine is yellow: 0xFFFF00
    QTest::newRow("normal") << aiNormal << glyph << glyph;
    QTest::newRow("xor") << aiXorLight << glyph << 0xDFBF80u;
    QTest::newRow("half") << aiHalfLight << glyph << 0x8F9F40u;
    QTest::newRow("quarter") << aiQuaterLight << glyph << 0xC7CF20u;
    QTest::newRow("add saturates") << aiAddLight << glyph << 0xFFFF80u;
}

void tst_ShineSpdBtnPaint::activeGlyphEffects()
{
    QFETCH(TActiveImageType, type);
    QFETCH(QRgb, pixel);
    QFETCH(QRgb, expected);
    QImage glyph(3, 2, QImage::Format_RGB32);
    glyph.fill(pixel);
    glyph.setPixel(0, 1, kKey);
    const QImage out = ShineGlyph::ActiveGlyph(glyph, type, Rgb(clYellow));
    QCOMPARE(At(out, 2, 0), expected);
    QCOMPARE(At(out, 0, 1), kKey); // transparent pixels never change
}

void tst_ShineSpdBtnPaint::disabledGlyphEffects_data()
{
    QTest::addColumn<TDisabledImageType>("type");
    QTest::addColumn<QRgb>("expected");
    // glyph pixel 0x204080, face 0xC0C0C0
    QTest::newRow("grayscale") << diGrayscale << 0x4A4A4Au;
    QTest::newRow("half") << diAlphaHalfTrans << 0x7080A0u;
    QTest::newRow("quarter") << diAlphaQuaterTrans << 0x98A0B0u;
}

void tst_ShineSpdBtnPaint::disabledGlyphEffects()
{
    QFETCH(TDisabledImageType, type);
    QFETCH(QRgb, expected);
    QImage glyph(3, 2, QImage::Format_RGB32);
    glyph.fill(0x204080);
    glyph.setPixel(0, 1, kKey);
    const QImage out = ShineGlyph::DisabledGlyph(glyph, type, 0xC0C0C0);
    QCOMPARE(At(out, 1, 0), expected);
    QCOMPARE(At(out, 0, 1), kKey);
}

void tst_ShineSpdBtnPaint::maskCount_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("checkerboard");
    QTest::newRow("even by even") << 4 << 4 << true;
    QTest::newRow("odd by odd") << 5 << 3 << true;
    QTest::newRow("odd wide, even high") << 5 << 4 << false;
    QTest::newRow("even wide, odd high") << 4 << 3 << false;
}

void tst_ShineSpdBtnPaint::maskCount()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, checkerboard);
    QImage glyph(width, height, QImage::Format_RGB32);
    glyph.fill(kInk);
    glyph.setPixel(0, height - 1, kKey);
    const QImage light = ShineGlyph::ActiveGlyph(glyph, aiMaskLight, 0xFFFF00);
    const QImage holes = ShineGlyph::DisabledGlyph(glyph, diMaskTrans, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x == 0 && y == height - 1)
                continue;
            const bool selected = checkerboard ? (x + y) % 2 == 1 : x % 2 == 1;
            QCOMPARE(At(light, x, y), selected ? 0xFFFF00u : kInk);
            QCOMPARE(At(holes, x, y), selected ? kKey : kInk);
        }
    }
}

void tst_ShineSpdBtnPaint::frameLightOutlinesOnlyWhileActive()
{
    QWidget parent;
    TShineSpeedButton b(&parent);
    b.resize(30, 30);
    b.SetUpFrame(false);
    b.SetActiveFrame(false);
    b.SetDownFrame(false);
    b.Colors()->SetColor(kBack);
    b.PressedColors()->SetColor(kBack);
    b.SetGlyph(SquareGlyph(16, QRect(6, 6, 4, 4)));
    const QPoint origin(7, 7); // centred: (30 - 16) / 2
    auto outline = [&](const QImage& shot) {
        return At(shot, origin.x() + 5, origin.y() + 7) == Rgb(clYellow)
            && At(shot, origin.x() + 10, origin.y() + 7) == Rgb(clYellow)
            && At(shot, origin.x() + 7, origin.y() + 5) == Rgb(clYellow);
    };
    QImage up = Paint(b);
    QCOMPARE(At(up, origin.x() + 6, origin.y() + 6), kInk);
    QVERIFY(!outline(up));
    QCOMPARE(At(up, origin.x() + 5, origin.y() + 7), Rgb(kBack));

    b.MouseEnter(0, 1, 1);
    QCOMPARE(b.DrawState(), shsUpActive);
    const QImage active = Paint(b);
    QVERIFY(outline(active));
    // diagonal neighbours are not part of a one-pixel outline
    QCOMPARE(At(active, origin.x() + 5, origin.y() + 5), Rgb(kBack));
    QCOMPARE(At(active, origin.x(), origin.y()), Rgb(kBack));

    b.MouseLeave(0, -1, -1);
    QVERIFY(!outline(Paint(b)));
}

void tst_ShineSpdBtnPaint::frameLightTwoPixelOutline()
{
    QImage glyph(7, 7, QImage::Format_RGB32);
    glyph.fill(kKey);
    glyph.setPixel(3, 3, kInk);
    const QImage out = ShineGlyph::ActiveGlyph(glyph, aiFrameLight2, 0xFFFF00);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int distance = std::abs(x - 3) + std::abs(y - 3);
            const QRgb want = distance == 0 ? kInk : distance <= 2 ? 0xFFFF00u : kKey;
            QCOMPARE(At(out, x, y), want);
        }
    }
}

void tst_ShineSpdBtnPaint::outlineReachingTheCornerMovesTheTransparentColour()
{
    QWidget parent;
    TShineSpeedButton b(&parent);
    b.SetGlyph(SquareGlyph(4, QRect(0, 2, 1, 1))); // opaque pixel right above bottom-left
    b.MouseEnter(0, 1, 1);
    const auto glyph = b.CreateStateGlyph();
    QVERIFY(glyph);
    QCOMPARE(glyph->TransparentColor & 0xFFFFFF, Rgb(clYellow));
    // the former key colour is now drawn, the outline left out
    const QImage drawn = ShineGlyph::WithoutColor(glyph->Image, glyph->TransparentColor);
    QCOMPARE(qAlpha(drawn.pixel(3, 0)), 255);
    QCOMPARE(qAlpha(drawn.pixel(1, 2)), 0);

    b.MouseLeave(0, -1, -1);
    QCOMPARE(b.CreateStateGlyph()->TransparentColor, kKey);
    b.SetGlyph(QImage());
    QVERIFY(!b.CreateStateGlyph());
}

void tst_ShineSpdBtnPaint::disabledEdgeMaskIsEmbossed()
{
    // A 3 x 3 glyph with one opaque centre: the edge mask marks the top-left 2 x 2 block.
    QImage glyph(3, 3, QImage::Format_RGB32);
    glyph.fill(kKey);
    glyph.setPixel(1, 1, kInk);
    const QImage mask = ShineGlyph::EdgeMask(glyph);
    const QList<QRgb> rows {0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(At(mask, i % 3, i / 3), rows[i]);

    QWidget parent;
    TShineSpeedButton b(&parent);
    b.resize(13, 13);
    b.SetUpFrame(false);
    b.Colors()->SetColor(kBack);
    b.SetDisabledHighlight(clWhite);
    b.SetDisabledShadow(clNavy);
    b.SetGlyph(glyph);
    b.setEnabled(false);
    const QImage shot = Paint(b);
    QCOMPARE(b.DrawState(), shsDisabled);
    const QPoint p(5, 5);
    QCOMPARE(At(shot, p.x(), p.y()), Rgb(clNavy)); // dark on top
    QCOMPARE(At(shot, p.x() + 1, p.y() + 1), Rgb(clNavy));
    QCOMPARE(At(shot, p.x() + 2, p.y() + 2), Rgb(clWhite)); // light peeks out down-right
    QCOMPARE(At(shot, p.x() + 2, p.y()), Rgb(kBack));
}

void tst_ShineSpdBtnPaint::downLookShiftsContentNotFrame()
{
    QWidget parent;
    auto b = FramedButton(&parent, ftNormalFrame);
    b->resize(30, 30);
    b->SetGlyph(SquareGlyph(16, QRect(6, 6, 4, 4)));
    const QImage up = Paint(*b);
    b->SetDown(true);
    const QImage down = Paint(*b);
    QCOMPARE(At(up, 13, 13), kInk);
    QCOMPARE(At(up, 17, 17), Rgb(kBack));
    QCOMPARE(At(down, 13, 13), Rgb(kBack));
    QCOMPARE(At(down, 17, 17), kInk);
    QCOMPARE(At(down, 0, 0), Rgb(clFuchsia));
    QCOMPARE(At(down, 29, 29), Rgb(clYellow));
}

void tst_ShineSpdBtnPaint::captionDrawnWithShadowAndHighlight()
{
    QWidget parent;
    TShineSpeedButton b(&parent);
    b.resize(80, 30);
    b.SetUpFrame(false);
    b.Colors()->SetColor(clSilver);
    b.Font()->SetColor(clWhite);
    b.Font()->SetHeight(-16);
    b.Font()->SetStyle(fsBold);
    b.SetCaption(QStringLiteral("HIH"));
    const QImage plain = Paint(b);
    QVERIFY(!NearPixels(plain, 0xFFFFFF).isEmpty());
    QVERIFY(NearPixels(plain, 0x000000).isEmpty());
    QVERIFY(NearPixels(plain, Rgb(0x00800040)).isEmpty());

    b.SetFontShadow(clBlack);
    b.SetFontHighlight(0x00800040);
    const QImage shaded = Paint(b);
    const QRect face = NearPixels(shaded, 0xFFFFFF);
    const QRect shadow = NearPixels(shaded, 0x000000);
    const QRect highlight = NearPixels(shaded, Rgb(0x00800040));
    QVERIFY(!face.isEmpty() && !shadow.isEmpty() && !highlight.isEmpty());
    // shadow one pixel below-right of the face, highlight above-left of it
    QVERIFY(shadow.top() > face.top() && shadow.bottom() > face.bottom());
    QVERIFY(highlight.bottom() < face.bottom());
}

void tst_ShineSpdBtnPaint::glyphPaintedWhereArranged_data()
{
    QTest::addColumn<TButtonLayout>("layout");
    QTest::addColumn<int>("margin");
    QTest::newRow("left") << blGlyphLeft << -1;
    QTest::newRow("right, margin") << blGlyphRight << 3;
    QTest::newRow("top") << blGlyphTop << -1;
    QTest::newRow("bottom, margin") << blGlyphBottom << 0;
}

// The paint measures the caption in the look's font and puts the glyph where the layout
// arithmetic says.
void tst_ShineSpdBtnPaint::glyphPaintedWhereArranged()
{
    QFETCH(TButtonLayout, layout);
    QFETCH(int, margin);
    QWidget parent;
    TShineSpeedButton b(&parent);
    b.resize(121, 61);
    b.SetUpFrame(false);
    b.SetLayout(layout);
    b.SetMargin(margin);
    b.SetCaption(QStringLiteral("Ab\ncd"));
    b.SetGlyph(SquareGlyph(10, QRect(0, 0, 1, 1)));
    const QSize caption = b.MeasureCaption(b.Font()->ToQFont());
    QVERIFY(caption.height() > 0);
    const QPoint glyphPos =
        TShineSpeedButton::CalcDrawPosition(b.size(), QSize(10, 10), caption, layout, margin, 4)
            .GlyphPos;
    const QImage shot = Paint(b);
    QCOMPARE(At(shot, glyphPos.x(), glyphPos.y()), kInk);
    QCOMPARE(At(shot, glyphPos.x() + 1, glyphPos.y() + 1), Rgb(b.Colors()->Color()));
}

QUILVORO_APP_TEST_MAIN(tst_ShineSpdBtnPaint)
#include "tst_ShineSpdBtnPaint.moc"
