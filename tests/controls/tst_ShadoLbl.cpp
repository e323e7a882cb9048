// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShadoLbl.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestEnvironment.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TAlignment)
Q_DECLARE_METATYPE(TTextGradation)
Q_DECLARE_METATYPE(TTextLayout)

namespace {

// A fixed-size label in a large bold face with neither shadow nor highlight.
void Prepare(TShadowLabel& label, const QString& caption, QSize size = {240, 60})
{
    label.SetAutoSize(false);
    label.resize(size);
    label.Font()->SetName(QStringLiteral("DejaVu Sans"));
    label.Font()->SetHeight(-40);
    label.Font()->SetStyle(fsBold);
    label.Font()->SetColor(clRed);
    label.Shadow()->SetVisible(false);
    label.Highlight()->SetVisible(false);
    label.SetCaption(caption);
}

QRect Extent(const QImage& image, const std::function<bool(QRgb)>& pick, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    QRect extent;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pick(image.pixel(x, y) & 0xFFFFFF))
                extent |= QRect(x, y, 1, 1);
    return extent;
}

std::function<bool(QRgb)> Exactly(TColor color)
{
    const quint32 word = ColorToPixel(color) & 0xFFFFFF;
    return [word](QRgb p) {
        return p == word;
    };
}

QStringList Describe(const std::vector<ShadoLbl::TGradientRun>& runs)
{
    QStringList out;
    for (const auto& run : runs)
        out << QStringLiteral("%1:%2:%3").arg(run.text).arg(run.c1).arg(run.c2);
    return out;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class tst_ShadoLbl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void gradientRunsSplitOnShiftJisBytes_data();
    void gradientRunsSplitOnShiftJisBytes();
    void textGradationColoursLetters_data();
    void textGradationColoursLetters();
    void gradBitmapEnds_data();
    void gradBitmapEnds();
    void backgroundOnlyWhenOpaque();
    void gradientBackgroundIsOpaque_data();
    void gradientBackgroundIsOpaque();
    void shadowAndHighlightCopies();
    void disabledColours();
    void layoutMovesText_data();
    void layoutMovesText();
    void textTop_data();
    void textTop();
    void fittedGeometry_data();
    void fittedGeometry();
    void emptyCaptionPaintsNothing();
    void autoSizeFitsText();
    void assignCopiesAndReportsOnce();
    void settersRepaintOnlyWhenVisible_data();
    void settersRepaintOnlyWhenVisible();
};

void tst_ShadoLbl::gradientRunsSplitOnShiftJisBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TTextGradation>("gradation");
    QTest::addColumn<QStringList>("runs");
    // Font colour 1, middle colour 2, last colour 3.
    auto row = [](const char* name, const char16_t* text, TTextGradation g, QStringList runs) {
        QTest::newRow(name) << QString::fromUtf16(text) << g << runs;
    };
    row("abc: a, then b..c", u"abc", tg3Colors, {u"a:1:2"_s, u"bc:2:3"_s});
    row("abcd halves", u"abcd", tg3Colors, {u"ab:1:2"_s, u"cd:2:3"_s});
    row("abcde: 5 div 2", u"abcde", tg3Colors, {u"ab:1:2"_s, u"cde:2:3"_s});
    row("half ends on lead byte", u"あいう", tg3Colors, {u"あい:1:2"_s, u"う:3:3"_s});
    row("half ends on lead byte after ASCII", u"aあい", tg3Colors, {u"aあ:1:2"_s, u"い:3:3"_s});
    row("half ends on trail byte", u"あab", tg3Colors, {u"あ:1:2"_s, u"ab:2:3"_s});
    row("double-byte rest alone", u"abあ", tg3Colors, {u"ab:1:2"_s, u"あ:3:3"_s});
    row("half-width katakana is one byte", u"ｱｲｳ", tg3Colors, {u"ｱ:1:2"_s, u"ｲｳ:2:3"_s});
    row("outside CP932 counts two bytes", u"😀ab", tg3Colors, {u"😀:1:2"_s, u"ab:2:3"_s});
    row("two characters run whole", u"ab", tg3Colors, {u"ab:1:3"_s});
    row("two colours", u"abc", tg2Colors, {u"abc:1:3"_s});
    row("one character is plain", u"a", tg2Colors, {});
    row("no gradation", u"abc", tgNone, {});
}

void tst_ShadoLbl::gradientRunsSplitOnShiftJisBytes()
{
    QFETCH(QString, text);
    QFETCH(TTextGradation, gradation);
    QFETCH(QStringList, runs);
    QCOMPARE(Describe(ShadoLbl::GradientRuns(text, gradation, 1, 2, 3)), runs);
}

void tst_ShadoLbl::textGradationColoursLetters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TTextGradation>("gradation");
    QTest::addColumn<QList<TColor>>("colours"); // one per letter
    QTest::newRow("abc in three colours")
        << u"abc"_s << tg3Colors << QList<TColor> {clRed, clLime, clBlue};
    // Red to blue over three letters: the middle is 255 / 2 truncated.
    QTest::newRow("abc in two colours")
        << u"abc"_s << tg2Colors << QList<TColor> {clRed, RGB(127, 0, 127), clBlue};
    QTest::newRow("one letter is plain") << u"a"_s << tg2Colors << QList<TColor> {clRed};
}

void tst_ShadoLbl::textGradationColoursLetters()
{
    QFETCH(QString, text);
    QFETCH(TTextGradation, gradation);
    QFETCH(QList<TColor>, colours);
    TShadowLabel label;
    Prepare(label, text);
    label.SetTextGradation(gradation);
    label.SetTextMidColor(clLime);
    label.SetTextGradationColor(clBlue);
    const QImage image = RenderOver(label, 0);
    const QFontMetrics metrics(label.Font()->ToQFont());
    // Letters are laid one after another from the left edge, each in its own colour.
    int left = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int width = metrics.horizontalAdvance(text.at(i));
        const QRect cell(left, 0, width, image.height());
        for (TColor colour : {clRed, clLime, clBlue, RGB(127, 0, 127)}) {
            const bool expected = colour == colours.at(i);
            QVERIFY2(Extent(image, Exactly(colour), cell).isEmpty() != expected,
                     qPrintable(QStringLiteral("letter %1 colour %2").arg(i).arg(colour, 0, 16)));
        }
        left += width;
    }
}

void tst_ShadoLbl::gradBitmapEnds_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QList<int>>("reds"); // along the gradient
    QTest::newRow("vertical height 1") << QSize(5, 1) << true << QList<int> {10};
    QTest::newRow("horizontal width 1") << QSize(1, 5) << false << QList<int> {10};
    // 10 to 255 over three positions: 10 + 245 / 2 = 132.5, truncated.
    QTest::newRow("vertical three rows") << QSize(4, 3) << true << QList<int> {10, 132, 255};
    QTest::newRow("horizontal three columns") << QSize(3, 4) << false << QList<int> {10, 132, 255};
}

void tst_ShadoLbl::gradBitmapEnds()
{
    QFETCH(QSize, size);
    QFETCH(bool, vertical);
    QFETCH(QList<int>, reds);
    QImage image(size, QImage::Format_RGB32);
    image.fill(0);
    ShadoLbl::GradBitmap(image, RGB(10, 20, 30), RGB(255, 20, 30), vertical);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QCOMPARE(image.pixel(x, y) & 0xFFFFFF,
                     ColorToPixel(RGB(reds.at(vertical ? y : x), 20, 30)));

    QImage empty;
    ShadoLbl::GradBitmap(empty, clWhite, clBlack, true);
    QVERIFY(empty.isNull());
}

void tst_ShadoLbl::backgroundOnlyWhenOpaque()
{
    TShadowLabel label;
    Prepare(label, u"x"_s, {40, 20});
    label.SetGradation(true);
    label.SetGradateVert(true);
    label.SetGradationColor(clBlue);
    label.SetColor(clBlack);
    label.SetTransparent(true);
    QCOMPARE(RenderOver(label).pixel(0, 0) & 0xFFFFFF, kMagenta);
    QCOMPARE(RenderOver(label).pixel(39, 19) & 0xFFFFFF, kMagenta);

    label.SetTransparent(false);
    const QImage offscreen = RenderOver(label);
    QCOMPARE(offscreen.pixel(0, 0) & 0xFFFFFF, ColorToPixel(clBlue));
    QCOMPARE(offscreen.pixel(39, 19) & 0xFFFFFF, ColorToPixel(clBlack));
    // Painting straight onto the canvas gives the same picture as the off-screen bitmap.
    label.SetFlickerless(false);
    QCOMPARE(RenderOver(label), offscreen);

    label.SetGradation(false);
    label.SetColor(clYellow);
    QCOMPARE(RenderOver(label).pixel(39, 19) & 0xFFFFFF, ColorToPixel(clYellow));
}

void tst_ShadoLbl::gradientBackgroundIsOpaque_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("flickerless");
    QTest::newRow("vertical, off-screen bitmap") << true << true;
    QTest::newRow("horizontal, off-screen bitmap") << false << true;
    QTest::newRow("vertical, on the canvas") << true << false;
    QTest::newRow("horizontal, on the canvas") << false << false;
}

// The gradient keeps its colours wherever the label's pixels go: into its own grab and onto a
// picture with an alpha channel.
void tst_ShadoLbl::gradientBackgroundIsOpaque()
{
    QFETCH(bool, vertical);
    QFETCH(bool, flickerless);
    TShadowLabel label;
    Prepare(label, u"x"_s, {40, 20});
    label.SetGradation(true);
    label.SetGradateVert(vertical);
    label.SetGradationColor(clBlue);
    label.SetColor(clYellow);
    label.SetFlickerless(flickerless);

    QImage onAlpha(label.size(), QImage::Format_ARGB32_Premultiplied);
    onAlpha.fill(Qt::transparent);
    {
        QPainter painter(&onAlpha);
        label.PaintTo(painter);
    }
    const QImage grabbed = label.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    for (const QImage& image : {onAlpha.convertToFormat(QImage::Format_ARGB32), grabbed}) {
        QCOMPARE(image.size(), label.size());
        QCOMPARE(image.pixel(0, 0), 0xFF000000u | ColorToPixel(clBlue));
        QCOMPARE(image.pixel(39, 19), 0xFF000000u | ColorToPixel(clYellow));
        const QRgb middle = vertical ? image.pixel(0, 10) : image.pixel(20, 0);
        QCOMPARE(qAlpha(middle), 255);
        QVERIFY(qRed(middle) > 0 && qBlue(middle) > 0); // between blue and yellow, not black
    }
}

void tst_ShadoLbl::shadowAndHighlightCopies()
{
    // The main window's captions: white text over a black shadow one pixel right and down.
    TShadowLabel label;
    Prepare(label, u"H"_s);
    label.SetTransparent(true);
    label.Font()->SetColor(clWhite);
    label.Shadow()->SetVisible(true);
    label.Shadow()->SetColor(clBlack);
    QImage image = RenderOver(label);
    const QRect text = Extent(image, Exactly(clWhite));
    const QRect shadow = Extent(image, Exactly(clBlack));
    QVERIFY(!text.isEmpty());
    QCOMPARE(shadow.bottomRight(), text.bottomRight() + QPoint(1, 1));

    // The highlight is drawn after the shadow, the text last.
    label.Shadow()->SetOffsetLeft(3);
    label.Shadow()->SetOffsetTop(0);
    label.Highlight()->SetVisible(true);
    label.Highlight()->SetColor(clLime);
    label.Highlight()->SetOffsetLeft(3);
    label.Highlight()->SetOffsetTop(0);
    image = RenderOver(label);
    QVERIFY(Extent(image, Exactly(clBlack)).isEmpty());
    QCOMPARE(Extent(image, Exactly(clLime)).right(), Extent(image, Exactly(clWhite)).right() + 3);
}

void tst_ShadoLbl::disabledColours()
{
    TShadowLabel label;
    Prepare(label, u"H"_s);
    label.Shadow()->SetVisible(true);
    label.Shadow()->SetColor(clBlue);
    label.Highlight()->SetVisible(true);
    label.Highlight()->SetColor(clLime);
    label.setEnabled(false);
    QImage image = RenderOver(label, 0);
    QVERIFY(!Extent(image, Exactly(clGray)).isEmpty());
    QVERIFY(!Extent(image, Exactly(GetSysColor(20))).isEmpty());
    for (TColor own : {clRed, clBlue, clLime})
        QVERIFY(Extent(image, Exactly(own)).isEmpty());

    // A gradient text keeps its colours.
    label.SetCaption(u"HH"_s);
    label.SetTextGradation(tg2Colors);
    label.SetTextGradationColor(clYellow);
    image = RenderOver(label, 0);
    QVERIFY(!Extent(image, Exactly(clRed)).isEmpty());
    QVERIFY(!Extent(image, Exactly(clYellow)).isEmpty());
}

void tst_ShadoLbl::layoutMovesText_data()
{
    QTest::addColumn<TTextLayout>("layout");
    QTest::addColumn<int>("numerator"); // shift = (height - text height) * numerator / 2
    QTest::newRow("top") << tlTop << 0;
    QTest::newRow("center") << tlCenter << 1;
    QTest::newRow("bottom") << tlBottom << 2;
}

void tst_ShadoLbl::layoutMovesText()
{
    QFETCH(TTextLayout, layout);
    QFETCH(int, numerator);
    TShadowLabel label;
    Prepare(label, u"H"_s, {100, 101});
    const int topRow = Extent(RenderOver(label, 0), Exactly(clRed)).top();
    label.SetLayout(layout);
    const int free = label.height() - QFontMetrics(label.Font()->ToQFont()).height();
    QCOMPARE(Extent(RenderOver(label, 0), Exactly(clRed)).top(), topRow + free * numerator / 2);
}

void tst_ShadoLbl::textTop_data()
{
    QTest::addColumn<TTextLayout>("layout");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("top");
    QTest::newRow("top") << tlTop << 40 << 15 << 0;
    QTest::newRow("center, the odd pixel goes below") << tlCenter << 40 << 15 << 12;
    QTest::newRow("bottom") << tlBottom << 40 << 15 << 25;
    // A text taller than the label starts above it; the half rounds toward zero.
    QTest::newRow("center, taller text") << tlCenter << 12 << 15 << -1;
    QTest::newRow("bottom, taller text") << tlBottom << 12 << 15 << -3;
    QTest::newRow("top, taller text") << tlTop << 12 << 15 << 0;
}

void tst_ShadoLbl::textTop()
{
    QFETCH(TTextLayout, layout);
    QFETCH(int, height);
    QFETCH(int, textHeight);
    QFETCH(int, top);
    QCOMPARE(TShadowLabel::TextTop(layout, height, textHeight), top);
}

void tst_ShadoLbl::fittedGeometry_data()
{
    QTest::addColumn<TAlignment>("alignment");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<QRect>("fitted");
    // The label stands at (300, 10), 65 x 17: its right edge is x = 364.
    QTest::newRow("left keeps the left edge")
        << taLeftJustify << QSize(80, 20) << QRect(300, 10, 80, 20);
    QTest::newRow("centre keeps the left edge")
        << taCenter << QSize(40, 12) << QRect(300, 10, 40, 12);
    QTest::newRow("right keeps the right edge, growing")
        << taRightJustify << QSize(80, 20) << QRect(285, 10, 80, 20);
    QTest::newRow("right keeps the right edge, shrinking")
        << taRightJustify << QSize(40, 12) << QRect(325, 10, 40, 12);
}

void tst_ShadoLbl::fittedGeometry()
{
    QFETCH(TAlignment, alignment);
    QFETCH(QSize, text);
    QFETCH(QRect, fitted);
    QCOMPARE(TShadowLabel::FittedGeometry(QRect(300, 10, 65, 17), text, alignment), fitted);
}

void tst_ShadoLbl::emptyCaptionPaintsNothing()
{
    TShadowLabel label;
    Prepare(label, QString());
    label.SetTransparent(true);
    label.Shadow()->SetVisible(true);
    label.SetTextGradation(tg3Colors);
    const QImage image = RenderOver(label);
    QVERIFY(Extent(image, [](QRgb p) { return p != kMagenta; }).isEmpty());
}

void tst_ShadoLbl::autoSizeFitsText()
{
    QWidget parent;
    auto* label = new TShadowLabel(&parent);
    label->Font()->SetName(QStringLiteral("DejaVu Sans"));
    label->Font()->SetHeight(-20);
    label->SetAlignment(taRightJustify);
    label->setGeometry(300, 10, 65, 17);
    label->SetCaption(u"Quilvoro"_s);
    const QFontMetrics metrics(label->Font()->ToQFont());
    QCOMPARE(label->size(), QSize(metrics.horizontalAdvance(u"Quilvoro"_s), metrics.height()));
    QCOMPARE(label->x() + label->width(), 365);
}

void tst_ShadoLbl::assignCopiesAndReportsOnce()
{
    TShadowLabel label;
    int changes = 0;
    label.Shadow()->OnChange = [&] {
        ++changes;
    };
    label.SetShadow(nullptr);
    QCOMPARE(changes, 0);
    // The highlight starts white at (-1, -1); assigning it reports one change, even unchanged.
    label.SetShadow(label.Highlight());
    label.SetShadow(label.Highlight());
    QCOMPARE(changes, 2);
    QCOMPARE(label.Shadow()->Color(), clWhite);
    QCOMPARE(QPoint(label.Shadow()->OffsetLeft(), label.Shadow()->OffsetTop()), QPoint(-1, -1));
}

void tst_ShadoLbl::settersRepaintOnlyWhenVisible_data()
{
    QTest::addColumn<TTextGradation>("gradation");
    QTest::addColumn<bool>("mid"); // TextMidColor, else TextGradationColor
    QTest::addColumn<bool>("repaints");
    QTest::newRow("mid colour, two colours") << tg2Colors << true << false;
    QTest::newRow("mid colour, three colours") << tg3Colors << true << true;
    QTest::newRow("last colour, no gradation") << tgNone << false << false;
    QTest::newRow("last colour, two colours") << tg2Colors << false << true;
}

void tst_ShadoLbl::settersRepaintOnlyWhenVisible()
{
    QFETCH(TTextGradation, gradation);
    QFETCH(bool, mid);
    QFETCH(bool, repaints);
    QWidget window;
    window.resize(200, 80);
    auto* label = new TShadowLabel(&window);
    label->SetCaption(u"abc"_s);
    label->SetTextGradation(gradation);
    PaintCounter counter;
    label->installEventFilter(&counter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    counter.paints = 0;
    if (mid)
        label->SetTextMidColor(clYellow);
    else
        label->SetTextGradationColor(clYellow);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints > 0, repaints);
    QCOMPARE(mid ? label->TextMidColor() : label->TextGradationColor(), clYellow);
}

QUILVORO_APP_TEST_MAIN(tst_ShadoLbl)
#include "tst_ShadoLbl.moc"
