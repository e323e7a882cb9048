// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/GradBox.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>
#include <memory>

// The setters whose repaint depends on another property.
enum class Setter { OutLine, Back, Depth };

Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(TFontStyle3D)
Q_DECLARE_METATYPE(TGradStyle)

namespace {

quint32 Gray(int v)
{
    return quint32(v) * 0x010101u;
}

// A box without background showing a caption in a large bold face.
void PrepareCaption(TGradBox& box, QSize size, const QString& caption, TColor color)
{
    box.resize(size);
    box.SetGradStyle(gsNone);
    box.SetCaption(caption);
    box.Font()->SetName(QStringLiteral("DejaVu Sans"));
    box.Font()->SetHeight(-30);
    box.Font()->SetStyle(fsBold);
    box.Font()->SetColor(color);
}

// Bounding box of the pixels a predicate picks.
} // namespace

class tst_GradBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void bandsShowPerRowOrColumn_data();
    void bandsShowPerRowOrColumn();
    void bandSpans_data();
    void bandSpans();
    void colarrayRoundsAndKeepsEndColours();
    void noGradientKeepsParentButDrawsOutline();
    void threeDimensionalLayers_data();
    void threeDimensionalLayers();
    void disabledCaptionIsEmbossed();
    void captionWrapsAtWords();
    void settersRepaintOnlyWhenVisible_data();
    void settersRepaintOnlyWhenVisible();
};

void tst_GradBox::bandsShowPerRowOrColumn_data()
{
    QTest::addColumn<TGradStyle>("style");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("index"); // row for vertical styles, column for horizontal ones
    QTest::addColumn<int>("gray");
    // White to black: entry i is 255 - i; black to white: entry i is i.
    QTest::newRow("26 high, row 0: entry 5") << gsTopBottom << QSize(802, 26) << 0 << 250;
    QTest::newRow("26 high, row 25: entry 251") << gsTopBottom << QSize(802, 26) << 25 << 4;
    QTest::newRow("20 high bottom-top, row 0: entry 7") << gsBottomTop << QSize(802, 20) << 0 << 7;
    QTest::newRow("20 high bottom-top, row 19: entry 249")
        << gsBottomTop << QSize(802, 20) << 19 << 249;
    const int columns[] = {22, 64, 107, 149, 192, 234};
    for (int c = 0; c < 6; ++c) {
        QTest::addRow("6 wide left-right, column %d", c)
            << gsLeftRight << QSize(6, 447) << c << 255 - columns[c];
        QTest::addRow("6 wide right-left, column %d", c)
            << gsRightLeft << QSize(6, 447) << c << columns[c];
    }
    // 447 rows: step 1.753, bands three rows high, each overlapping the next; bands 0 and 1
    // share rows 0..2 and band 2 starts at row 2.
    QTest::newRow("447 high, row 0: entry 1") << gsTopBottom << QSize(6, 447) << 0 << 254;
    QTest::newRow("447 high, row 1: entry 1") << gsTopBottom << QSize(6, 447) << 1 << 254;
    QTest::newRow("447 high, row 3: entry 2") << gsTopBottom << QSize(6, 447) << 3 << 253;
    QTest::newRow("447 high, row 4: entry 3") << gsTopBottom << QSize(6, 447) << 4 << 252;
    QTest::newRow("447 high, row 444: entry 254") << gsTopBottom << QSize(6, 447) << 444 << 1;
    QTest::newRow("447 high, row 446: entry 255") << gsTopBottom << QSize(6, 447) << 446 << 0;
}

void tst_GradBox::bandsShowPerRowOrColumn()
{
    QFETCH(TGradStyle, style);
    QFETCH(QSize, size);
    QFETCH(int, index);
    QFETCH(int, gray);
    TGradBox box;
    box.resize(size);
    box.SetGradStyle(style);
    box.SetTopColor(clWhite);
    box.SetLastColor(clBlack);
    const QImage image = RenderOver(box);
    const bool vertical = style == gsTopBottom || style == gsBottomTop;
    const int across = vertical ? size.width() : size.height();
    for (int a = 0; a < across; ++a) {
        const int x = vertical ? a : index;
        const int y = vertical ? index : a;
        QCOMPARE(Pixel(image, x, y), Gray(gray));
    }
}

void tst_GradBox::bandSpans_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("extent");
    // 447 pixels: a step of 1.753, bands 3 pixels long; bands 0 and 1 both start at 0.
    QTest::newRow("447, band 0") << 447 << 0 << 0 << 3;
    QTest::newRow("447, band 1") << 447 << 1 << 0 << 3;
    QTest::newRow("447, band 2") << 447 << 2 << 2 << 3;
    QTest::newRow("447, band 3") << 447 << 3 << 4 << 3;
    QTest::newRow("447, band 255") << 447 << 255 << 445 << 3;
    // A step of exactly 1: two pixels per band, one behind the index.
    QTest::newRow("255, band 100") << 255 << 100 << 99 << 2;
    // Shorter than 255: one pixel each, many bands on one pixel, the last past the end.
    QTest::newRow("26, band 10") << 26 << 10 << 1 << 1;
    QTest::newRow("26, band 255") << 26 << 255 << 26 << 1;
    QTest::newRow("empty side") << 0 << 200 << 0 << 1;
}

void tst_GradBox::bandSpans()
{
    QFETCH(int, length);
    QFETCH(int, index);
    QFETCH(int, start);
    QFETCH(int, extent);
    const TGradBox::TBand band = TGradBox::BandAt(index, length);
    QCOMPARE(band.Start, start);
    QCOMPARE(band.Extent, extent);
}

void tst_GradBox::colarrayRoundsAndKeepsEndColours()
{
    TGradBox box;
    box.SetColarray(clBtnFace, clBlack, gsTopBottom);
    const auto& bands = box.ColArray();
    QCOMPARE(bands[0], clBtnFace);
    QCOMPARE(bands[255], clBlack);
    // The standard button face is (212, 208, 200): 212 * 254 / 255 = 211.17, 212 / 255 = 0.83.
    QCOMPARE(bands[1], RGB(211, 207, 199));
    QCOMPARE(bands[254], RGB(1, 1, 1));

    // A one-step channel changes exactly at the middle: 127/255 rounds down, 128/255 up.
    box.SetColarray(RGB(0, 10, 0), RGB(1, 10, 0), gsLeftRight);
    QCOMPARE(bands[127], RGB(0, 10, 0));
    QCOMPARE(bands[128], RGB(1, 10, 0));

    // Bottom-top runs from the last colour; gsNone leaves the bands as they were.
    box.SetColarray(clWhite, clNavy, gsBottomTop);
    QCOMPARE(bands[0], clNavy);
    QCOMPARE(bands[255], clWhite);
    box.SetColarray(clRed, clLime, gsNone);
    QCOMPARE(bands[0], clNavy);
}

void tst_GradBox::noGradientKeepsParentButDrawsOutline()
{
    TGradBox box;
    box.resize(60, 40);
    box.SetGradStyle(gsNone);
    box.SetDrawOutLine(true);
    box.SetOutLineColor(clNavy);
    QObject* painted = nullptr;
    box.OnPaint = [&](QObject* sender) {
        painted = sender;
    };
    const QImage image = RenderOver(box);
    QCOMPARE(painted, &box);
    const quint32 navy = 0x000080;
    for (const QPoint p : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 39), QPoint(59, 39),
                           QPoint(30, 0), QPoint(30, 39), QPoint(0, 20), QPoint(59, 20)})
        QCOMPARE(Pixel(image, p.x(), p.y()), navy);
    QCOMPARE(Pixel(image, 1, 1), kMagenta);
    QCOMPARE(Pixel(image, 58, 38), kMagenta);
}

void tst_GradBox::threeDimensionalLayers_data()
{
    QTest::addColumn<TFontStyle3D>("style");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("shift"); // where the back layers reach beyond the front
    QTest::newRow("low shadow") << fsLowShadow << 3 << 3;
    QTest::newRow("raise shadow") << fsRaiseShadow << 3 << -3;
    QTest::newRow("low 3D") << fsLow3D << 3 << 3;
    QTest::newRow("raise 3D") << fsRaise3D << 3 << -3;
    QTest::newRow("raise 3D depth 0 draws no back") << fsRaise3D << 0 << 0;
    QTest::newRow("low shadow depth 0 lies under the front") << fsLowShadow << 0 << 0;
}

void tst_GradBox::threeDimensionalLayers()
{
    QFETCH(TFontStyle3D, style);
    QFETCH(int, depth);
    QFETCH(int, shift);
    TGradBox box;
    PrepareCaption(box, {120, 60}, QStringLiteral("I"), clBlue);
    box.SetFont3D(true);
    box.SetStyle3D(style);
    box.SetFontDepth(std::uint8_t(depth));
    box.SetBackFont(clRed);
    const QImage image = RenderOver(box, 0);
    const QRect front = Extent(image, [](QColor c) { return c.blue() > 128; });
    const QRect back = Extent(image, [](QColor c) { return c.red() > 128; });
    QVERIFY(!front.isEmpty());
    if (shift == 0) {
        QVERIFY(back.isEmpty());
        return;
    }
    if (shift > 0) {
        QCOMPARE(back.right(), front.right() + shift);
        QCOMPARE(back.bottom(), front.bottom() + shift);
    } else {
        QCOMPARE(back.left(), front.left() + shift);
        QCOMPARE(back.top(), front.top() + shift);
    }
    // Only the 3D styles have a layer one step from the front, beside its outer corner.
    const bool solid = style == fsLow3D || style == fsRaise3D;
    const QPoint corner = shift > 0 ? QPoint(front.left() + 1, front.bottom() + 1)
                                    : QPoint(front.right() - 1, front.top() - 1);
    QCOMPARE(image.pixelColor(corner).red() > 128, solid);
}

void tst_GradBox::disabledCaptionIsEmbossed()
{
    TGradBox box;
    PrepareCaption(box, {120, 60}, QStringLiteral("H"), clBlue);
    box.SetFont3D(true);
    box.SetBackFont(clRed);
    box.setEnabled(false);
    const QImage image = RenderOver(box, 0);
    const QRect gray = Extent(image, [](QColor c) { return c.rgb() == qRgb(128, 128, 128); });
    const QRect white = Extent(image, [](QColor c) { return c.rgb() == qRgb(255, 255, 255); });
    QVERIFY(!gray.isEmpty());
    QVERIFY(!white.isEmpty());
    QCOMPARE(white.bottomRight(), gray.bottomRight() + QPoint(1, 1));
    QVERIFY(Extent(image, [](QColor c) {
                return c.blue() > c.red() || c.red() > c.green();
            }).isEmpty());
}

void tst_GradBox::captionWrapsAtWords()
{
    TGradBox box;
    PrepareCaption(box, {140, 200}, QStringLiteral("MMM MMM MMM"), clWhite);
    box.SetCaptionLeft(8);
    box.SetCaptionTop(5);
    const QImage image = RenderOver(box, 0);
    const QRect text = Extent(image, [](QColor c) { return c.red() > 128; });
    QVERIFY(text.left() >= 8);
    QVERIFY(text.top() >= 5);
    QVERIFY(text.right() < 140);
    // Three words of which at most two fit a line: the text runs onto further lines.
    const int lineHeight = QFontMetrics(box.Font()->ToQFont()).height();
    QVERIFY2(text.bottom() >= 5 + lineHeight, qPrintable(QString::number(text.bottom())));
}

void tst_GradBox::settersRepaintOnlyWhenVisible_data()
{
    QTest::addColumn<Setter>("setter");
    QTest::addColumn<bool>("enabler");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("OutLineColor, no outline") << Setter::OutLine << false << false;
    QTest::newRow("OutLineColor, outline") << Setter::OutLine << true << true;
    QTest::newRow("BackFont, flat caption") << Setter::Back << false << false;
    QTest::newRow("BackFont, 3D caption") << Setter::Back << true << true;
    QTest::newRow("FontDepth, flat caption") << Setter::Depth << false << false;
    QTest::newRow("FontDepth, 3D caption") << Setter::Depth << true << true;
}

void tst_GradBox::settersRepaintOnlyWhenVisible()
{
    QFETCH(Setter, setter);
    QFETCH(bool, enabler);
    QFETCH(bool, repaints);
    QWidget window;
    window.resize(200, 100);
    auto* box = new TGradBox(&window);
    box->SetDrawOutLine(setter == Setter::OutLine && enabler);
    box->SetFont3D(setter != Setter::OutLine && enabler);
    int paints = 0;
    box->OnPaint = [&](QObject*) {
        ++paints;
    };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    paints = 0;
    switch (setter) {
    case Setter::OutLine:
        box->SetOutLineColor(clRed);
        break;
    case Setter::Back:
        box->SetBackFont(clRed);
        break;
    case Setter::Depth:
        box->SetFontDepth(4);
        break;
    }
    QCoreApplication::processEvents();
    QCOMPARE(paints > 0, repaints);
    // The value is stored either way.
    QCOMPARE(setter == Setter::OutLine    ? box->OutLineColor()
                 : setter == Setter::Back ? box->BackFont()
                                          : box->FontDepth(),
             setter == Setter::Depth ? 4u : clRed);
}

QUILVORO_APP_TEST_MAIN(tst_GradBox)
#include "tst_GradBox.moc"
