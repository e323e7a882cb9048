// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/dxfLabel.h"
#include "platform/FontInfo.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QFontDatabase>
#include <QPainter>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr QChar kBlock(0x2588); // a solid glyph: every inner pixel is fully covered

// A label that counts its paints.
class CountingLabel : public TdxfLabel
{
public:
    using TdxfLabel::TdxfLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TdxfLabel::paintEvent(event);
    }
};

struct Fixture
{
    QWidget parent;
    TdxfLabel* label;

    explicit Fixture(QSize size = {300, 200})
    {
        parent.resize(size);
        label = new TdxfLabel(&parent);
        label->setGeometry(QRect(QPoint(0, 0), size));
        label->Font()->SetName(QStringLiteral("DejaVu Sans"));
        label->Font()->SetHeight(-40);
        label->Font()->SetColor(clWhite);
        label->SetColor(clBlack);
        label->SetCaption(QString(3, kBlock));
    }

    QImage Paint(const QImage& under = {}) const
    {
        QImage image = under.isNull() ? QImage(label->size(), QImage::Format_RGB32) : under;
        if (under.isNull())
            image.fill(Qt::magenta);
        label->PaintTo(image);
        return image;
    }

    // Coverage (0..255) of the face alone, as the pipeline places it.
    QImage FaceCoverage() const
    {
        const TColor colour = label->Color();
        const TColor text = label->Font()->Color();
        const auto depth = label->Effect3D()->Depth();
        const TdxfLabelStyle style = label->Style();
        const bool transparent = label->Transparent();
        label->SetTransparent(false);
        label->SetColor(clBlack);
        label->Font()->SetColor(clWhite);
        label->Effect3D()->SetDepth(0);
        label->SetStyle(dxfNormal);
        const QImage mask = Paint();
        label->SetColor(colour);
        label->Font()->SetColor(text);
        label->Effect3D()->SetDepth(depth);
        label->SetStyle(style);
        label->SetTransparent(transparent);
        return mask;
    }
};

struct Layer
{
    QPoint offset;
    TColor colour;
};

// The colour the rules give a pixel, from the face coverage and the layers (front first):
// the first layer that fully covers it, or the background; unknown where a partly covered
// (antialiased) layer lies in front.
std::optional<QRgb> Expected(const QImage& coverage, QPoint p, const QList<Layer>& front,
                             TColor background)
{
    for (const Layer& layer : front) {
        const QPoint at = p - layer.offset;
        const int c = coverage.rect().contains(at) ? qRed(coverage.pixel(at)) : 0;
        if (c == 255)
            return ColorToPixel(layer.colour) | 0xFF000000u;
        if (c > 0)
            return std::nullopt;
    }
    return ColorToPixel(background) | 0xFF000000u;
}

// Checks every pixel whose colour the rules decide; returns how many were decided.
int CompareWithRules(const QImage& image, const QImage& coverage, const QList<Layer>& front,
                     TColor background)
{
    int decided = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto expected = Expected(coverage, {x, y}, front, background);
            if (!expected)
                continue;
            ++decided;
            if ((image.pixel(x, y) | 0xFF000000u) != *expected) {
                qWarning("pixel %d,%d is %08x, expected %08x", x, y, image.pixel(x, y), *expected);
                return -1;
            }
        }
    }
    return decided;
}

QList<Layer> ShadowLayers(QPoint offset, TdxfEffectStyle style, TColor shadow, TColor fade)
{
    QList<Layer> layers;
    if (style == dxfCool) {
        layers.append({offset, shadow});
        return layers;
    }
    const int n = std::max(std::abs(offset.x()), std::abs(offset.y()));
    const QPoint step(offset.x() > 0       ? 1
                          : offset.x() < 0 ? -1
                                           : 0,
                      offset.y() > 0       ? 1
                          : offset.y() < 0 ? -1
                                           : 0);
    for (int k = 1; k <= n; ++k) {
        const TColor colour =
            style == dxfFun ? TdxfLabel::GetColor(shadow, fade, k - 1, n) : shadow;
        layers.append({step * k, colour});
    }
    return layers;
}

bool HasPixel(const QImage& image, TColor colour)
{
    const QRgb wanted = ColorToPixel(colour);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == wanted)
                return true;
    return false;
}

QRect InkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != (background & 0xFFFFFFu))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Whether every pixel within `margin` of p is fully covered.
bool Deep(const QImage& coverage, QPoint p, int margin)
{
    for (int dy = -margin; dy <= margin; ++dy)
        for (int dx = -margin; dx <= margin; ++dx)
            if (qRed(coverage.pixel(p + QPoint(dx, dy))) != 255)
                return false;
    return true;
}

// A face the label must treat as not TrueType. This desktop's font configuration hides bitmap
// faces, so an installed outline face is declared a bitmap face for the test's lifetime.
class NonTrueTypeFace
{
public:
    NonTrueTypeFace()
    {
        FontInfo::SetTrueTypeProbe(
            [](const QFont& font) { return font.family() != QStringLiteral("DejaVu Sans Mono"); });
    }
    ~NonTrueTypeFace() { FontInfo::SetTrueTypeProbe(nullptr); }
    NonTrueTypeFace(const NonTrueTypeFace&) = delete;
    NonTrueTypeFace& operator=(const NonTrueTypeFace&) = delete;

    QString Family() const { return QStringLiteral("DejaVu Sans Mono"); }
};

} // namespace

Q_DECLARE_METATYPE(LogoLook)

class tst_dxflabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void constructionDefaults()
    {
        TdxfLabel label;
        QCOMPARE(label.Style(), dxfNormal);
        QCOMPARE(label.Angle(), 0);
        QCOMPARE(label.PenWidth(), 1);
        QCOMPARE(label.Effect3D()->Style(), dxfCool);
        QCOMPARE(label.Effect3D()->Orientation(), dxfRightBottom);
        QCOMPARE(label.Effect3D()->Depth(), 0);
        QCOMPARE(label.Effect3D()->ShadowedColor(), TColor(0x808080));
        QVERIFY(label.Glyph()->isNull());
        QVERIFY(!label.ParentFont());
        QVERIFY(!label.AutoSize());
        QVERIFY(!label.testAttribute(Qt::WA_NativeWindow));
    }

    void repaints_data()
    {
        QTest::addColumn<std::function<void(TdxfLabel*)>>("change");
        QTest::addColumn<bool>("repaints");
        QTest::newRow("style unchanged")
            << std::function([](TdxfLabel* l) { l->SetStyle(dxfNormal); }) << true;
        QTest::newRow("pen width, normal")
            << std::function([](TdxfLabel* l) { l->SetPenWidth(3); }) << false;
        QTest::newRow("pen width, outline")
            << std::function([](TdxfLabel* l) { l->SetPenWidth(3); }) << true;
        QTest::newRow("pen width unchanged, outline")
            << std::function([](TdxfLabel* l) { l->SetPenWidth(1); }) << false;
        QTest::newRow("effect style")
            << std::function([](TdxfLabel* l) { l->Effect3D()->SetStyle(dxfFun); }) << true;
        QTest::newRow("effect style unchanged")
            << std::function([](TdxfLabel* l) { l->Effect3D()->SetStyle(dxfCool); }) << false;
        QTest::newRow("orientation")
            << std::function([](TdxfLabel* l) { l->Effect3D()->SetOrientation(dxfTop); }) << true;
        QTest::newRow("depth") << std::function([](TdxfLabel* l) { l->Effect3D()->SetDepth(5); })
                               << true;
        QTest::newRow("shadow colour")
            << std::function([](TdxfLabel* l) { l->Effect3D()->SetShadowedColor(clRed); }) << true;
        QTest::newRow("glyph") << std::function([](TdxfLabel* l) { l->SetGlyph(QImage()); })
                               << true;
        QTest::newRow("font colour")
            << std::function([](TdxfLabel* l) { l->Font()->SetColor(clRed); }) << true;
        QTest::newRow("font size")
            << std::function([](TdxfLabel* l) { l->Font()->SetSize(20); }) << true;
        QTest::newRow("angle unchanged")
            << std::function([](TdxfLabel* l) { l->SetAngle(0); }) << false;
        QTest::newRow("resize") << std::function([](TdxfLabel* l) { l->resize(120, 40); }) << true;
        QTest::newRow("the look it shows")
            << std::function([](TdxfLabel* l) { l->SetLook(l->Look()); }) << false;
        QTest::newRow("a look of another depth") << std::function([](TdxfLabel* l) {
            LogoLook look = l->Look();
            look.depth = 9;
            l->SetLook(look);
        }) << true;
    }

    void repaints()
    {
        QFETCH(std::function<void(TdxfLabel*)>, change);
        QFETCH(bool, repaints);
        QWidget parent;
        parent.resize(200, 100);
        auto* label = new CountingLabel(&parent);
        label->setGeometry(0, 0, 200, 100);
        if (QByteArray(QTest::currentDataTag()).endsWith("outline"))
            label->SetStyle(dxfOutLine);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        qApp->processEvents();
        label->paints = 0;
        change(label);
        qApp->processEvents();
        QCOMPARE(label->paints > 0, repaints);
    }

    void setLookGivesItBack_data()
    {
        QTest::addColumn<LogoLook>("look");
        QTest::addColumn<bool>("bitmapFace");
        LogoLook look;
        look.caption = QStringLiteral("Look");
        look.font = FontInfo::MakeFont(QStringLiteral("DejaVu Sans"), 40);
        QTest::newRow("plain") << look << false;
        look.font.setItalic(true);
        look.font.setStrikeOut(true);
        look.textColor = clRed;
        look.color = clNavy;
        look.style = dxfOutLine;
        look.angle = 300;
        look.effectStyle = dxfExtrude;
        look.orientation = dxfLeftTop;
        look.depth = 200;
        look.shadowColor = clAqua;
        look.texture = QImage(5, 3, QImage::Format_RGB32);
        look.texture.fill(Qt::green);
        look.penWidth = 0;
        QTest::newRow("every setting") << look << false;
        // the label holds the look as given, not as its font object would spell it
        look.font.setWeight(QFont::DemiBold);
        look.font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
        QTest::newRow("a face the font object has no words for") << look << false;
        NonTrueTypeFace bitmap;
        look.font = FontInfo::MakeFont(bitmap.Family(), 12, true);
        QTest::newRow("a bitmap face keeps the angle it is given") << look << true;
    }

    void setLookGivesItBack()
    {
        QFETCH(LogoLook, look);
        QFETCH(bool, bitmapFace);
        std::optional<NonTrueTypeFace> bitmap;
        if (bitmapFace)
            bitmap.emplace();
        TestDialogs dialogs;
        const qsizetype sounds = TestEnvironment::PlayedSounds().size();
        QWidget parent;
        auto* label = new TdxfLabel(&parent);
        label->SetLook(look);
        look.engravedBase = label->Look().engravedBase; // the parent's colour, not the look's
        QVERIFY(label->Look() == look);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(TestEnvironment::PlayedSounds().size(), sounds);
    }

    void angleLimits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("360 accepted") << 360 << 360;
        QTest::newRow("0 accepted") << 0 << 0;
        QTest::newRow("-1 ignored") << -1 << 45;
        QTest::newRow("361 ignored") << 361 << 45;
    }

    void angleLimits()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TestDialogs dialogs;
        TdxfLabel label;
        label.SetAngle(45);
        label.SetAngle(value);
        QCOMPARE(label.Angle(), stored);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void angle360DrawsLikeZero()
    {
        Fixture f;
        f.label->SetCaption(QStringLiteral("Ab"));
        const QImage zero = f.Paint();
        f.label->SetAngle(360);
        QCOMPARE(f.Paint(), zero);
    }

    void angleRefusedForNonTrueTypeFace_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("in range") << 30;
        // The face is checked before the range.
        QTest::newRow("above range") << 361;
        QTest::newRow("below range") << -1;
    }

    void angleRefusedForNonTrueTypeFace()
    {
        QFETCH(int, value);
        const NonTrueTypeFace face;
        const QString family = face.Family();
        TestDialogs dialogs;
        TestEnvironment::PlayedSounds().clear();
        TdxfLabel label;
        label.Font()->SetName(family);
        label.SetAngle(value);
        QCOMPARE(label.Angle(), 0);
        QCOMPARE(TestEnvironment::PlayedSounds(), QStringList {QStringLiteral("beep:16")});
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("The Angle property is applicable for the TrueType fonts only"));
    }

    void textOrigin_data()
    {
        QTest::addColumn<QSize>("text");
        QTest::addColumn<int>("angle");
        QTest::addColumn<QPoint>("origin");
        // Centre (150, 100) of a 300 x 200 label.
        QTest::newRow("101 wide") << QSize(101, 20) << 0 << QPoint(100, 90);
        QTest::newRow("103 wide, tie to even") << QSize(103, 20) << 0 << QPoint(98, 90);
        QTest::newRow("105 wide, tie to even") << QSize(105, 21) << 0 << QPoint(98, 90);
        QTest::newRow("90 degrees") << QSize(101, 21) << 90 << QPoint(140, 150);
        QTest::newRow("180 degrees") << QSize(100, 20) << 180 << QPoint(200, 110);
    }

    void textOrigin()
    {
        QFETCH(QSize, text);
        QFETCH(int, angle);
        QFETCH(QPoint, origin);
        QCOMPARE(TdxfLabel::TextOrigin(QSize(300, 200), text, angle), origin);
    }

    void faceIsCentred_data()
    {
        QTest::addColumn<int>("angle");
        QTest::newRow("0") << 0;
        QTest::newRow("90") << 90;
    }

    void faceIsCentred()
    {
        QFETCH(int, angle);
        Fixture f;
        f.label->SetAngle(angle);
        const QRect ink = InkBounds(f.Paint(), qRgb(0, 0, 0));
        const QPointF centre = QRectF(ink).center();
        QVERIFY2(std::abs(centre.x() - 150) <= 2 && std::abs(centre.y() - 100) <= 2,
                 qPrintable(QStringLiteral("ink centre %1,%2").arg(centre.x()).arg(centre.y())));
        // At 90 degrees the three blocks stand on top of each other.
        QCOMPARE(ink.height() > ink.width(), angle == 90);
    }

    void getColor_data()
    {
        QTest::addColumn<TColor>("a");
        QTest::addColumn<TColor>("b");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("n");
        QTest::addColumn<TColor>("result");
        QTest::newRow("farthest of 30")
            << TColor(0x808080) << clBlack << 29 << 30 << TColor(0x040404);
        QTest::newRow("step 0 is a") << TColor(0x123456) << clWhite << 0 << 7 << TColor(0x123456);
        QTest::newRow("two thirds of 255") << clWhite << clBlack << 1 << 3 << TColor(0xAAAAAA);
        QTest::newRow("two thirds of 100")
            << RGB(100, 100, 100) << clBlack << 1 << 3 << RGB(66, 66, 66);
        QTest::newRow("upwards truncates")
            << RGB(0, 10, 200) << RGB(255, 11, 200) << 1 << 2 << RGB(127, 10, 200);
        QTest::newRow("system colour not resolved")
            << clBtnShadow << clBlack << 0 << 2 << TColor(0x000010);
    }

    void getColor()
    {
        QFETCH(TColor, a);
        QFETCH(TColor, b);
        QFETCH(int, s);
        QFETCH(int, n);
        QFETCH(TColor, result);
        QCOMPARE(TdxfLabel::GetColor(a, b, s, n), result);
    }

    void shadowFollowsTheRules_data()
    {
        QTest::addColumn<TdxfEffectStyle>("style");
        QTest::addColumn<TdxfOrientation>("orientation");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("angle");
        QTest::addColumn<TColor>("background");
        QTest::newRow("gradation 30 on black") << dxfFun << dxfRightBottom << 30 << 0 << clBlack;
        QTest::newRow("gradation 30, left") << dxfFun << dxfLeft << 30 << 0 << clBlack;
        QTest::newRow("gradation on system colour") << dxfFun << dxfBottom << 12 << 0 << clBtnFace;
        QTest::newRow("extrude 20 top") << dxfExtrude << dxfTop << 20 << 0 << clNavy;
        QTest::newRow("extrude 25 at 30 degrees")
            << dxfExtrude << dxfLeftBottom << 25 << 30 << clBlack;
        QTest::newRow("cool left-top 5") << dxfCool << dxfLeftTop << 5 << 0 << clBlack;
        QTest::newRow("cool at 90 degrees") << dxfCool << dxfRightTop << 7 << 90 << clBlack;
        QTest::newRow("depth 0 draws nothing") << dxfExtrude << dxfRight << 0 << 0 << clBlack;
        QTest::newRow("orientation 8, cool") << dxfCool << TdxfOrientation(8) << 6 << 0 << clBlack;
        QTest::newRow("orientation 8, gradation")
            << dxfFun << TdxfOrientation(8) << 6 << 0 << clBlack;
    }

    void shadowFollowsTheRules()
    {
        QFETCH(TdxfEffectStyle, style);
        QFETCH(TdxfOrientation, orientation);
        QFETCH(int, depth);
        QFETCH(int, angle);
        QFETCH(TColor, background);
        Fixture f;
        f.label->SetAngle(angle);
        f.label->SetColor(background);
        f.label->Effect3D()->SetStyle(style);
        f.label->Effect3D()->SetOrientation(orientation);
        f.label->Effect3D()->SetDepth(std::uint16_t(depth));
        const QImage coverage = f.FaceCoverage();
        const TColor fade = IsSystemColor(background) ? clSilver : background;
        QList<Layer> front {{{0, 0}, clWhite}};
        QList<Layer> shadow = ShadowLayers(f.label->Effect3D()->Offset(), style, clGray, fade);
        if (depth > 0 && !(style != dxfCool && f.label->Effect3D()->Offset().isNull()))
            front += shadow;
        QVERIFY(CompareWithRules(f.Paint(), coverage, front, background) > 1000);
    }

    void depthOneGradationIsExtrude()
    {
        Fixture f;
        f.label->SetCaption(QStringLiteral("Quilvoro"));
        f.label->Effect3D()->SetDepth(1);
        f.label->Effect3D()->SetStyle(dxfFun);
        const QImage fun = f.Paint();
        f.label->Effect3D()->SetStyle(dxfExtrude);
        QCOMPARE(f.Paint(), fun);
    }

    void shadowDirectionIsFixedToScreen_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<TdxfEffectStyle>("style");
        QTest::newRow("0, cool") << 0 << dxfCool;
        QTest::newRow("90, cool") << 90 << dxfCool;
        QTest::newRow("90, extrude") << 90 << dxfExtrude;
        QTest::newRow("210, gradation") << 210 << dxfFun;
    }

    void shadowDirectionIsFixedToScreen()
    {
        QFETCH(int, angle);
        QFETCH(TdxfEffectStyle, style);
        Fixture f;
        f.label->SetCaption(QStringLiteral("Quil"));
        f.label->SetAngle(angle);
        const QRect face = InkBounds(f.Paint(), qRgb(0, 0, 0));
        f.label->Effect3D()->SetStyle(style);
        f.label->Effect3D()->SetOrientation(dxfRightBottom);
        f.label->Effect3D()->SetDepth(9);
        QCOMPARE(InkBounds(f.Paint(), qRgb(0, 0, 0)), face | face.translated(9, 9));
    }

    void raisedShadowRimFrom12Points_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("shadowRim");
        QTest::newRow("11 pt") << 11 << false;
        QTest::newRow("12 pt") << 12 << true;
    }

    void raisedShadowRimFrom12Points()
    {
        QFETCH(int, points);
        QFETCH(bool, shadowRim);
        Fixture f;
        f.label->Font()->SetSize(points);
        f.label->SetColor(clBlue);
        f.label->Font()->SetColor(clRed);
        f.label->SetStyle(dxfRaised);
        const QImage coverage = f.FaceCoverage();
        QList<Layer> front {{{1, 1}, clRed}};
        if (shadowRim)
            front.append({{2, 2}, clBtnShadow});
        front.append({{0, 0}, clBtnHighlight});
        const QImage image = f.Paint();
        QVERIFY(CompareWithRules(image, coverage, front, clBlue) > 100);
        QCOMPARE(HasPixel(image, clBtnShadow), shadowRim);
        QVERIFY(HasPixel(image, clBtnHighlight));
    }

    void loweredSwitchesParentColor()
    {
        Fixture f;
        f.parent.setProperty("Color", QVariant::fromValue(uint(RGB(90, 150, 240))));
        f.label->SetColor(clNavy);
        f.label->SetStyle(dxfLowered);
        QVERIFY(!f.label->ParentColor());
        const QImage coverage = f.FaceCoverage();
        const QImage first = f.Paint();
        QVERIFY(f.label->ParentColor());
        QCOMPARE(f.label->Color(), RGB(90, 150, 240));
        // The first paint still has the old background; the face is two thirds of the new one.
        const QList<Layer> front {{{1, 1}, RGB(60, 100, 160)}, {{2, 2}, clBtnHighlight}};
        QVERIFY(CompareWithRules(first, coverage, front, clNavy) > 1000);
        QVERIFY(CompareWithRules(f.Paint(), coverage, front, RGB(90, 150, 240)) > 1000);
    }

    void outlineShowsNearestLayerInside()
    {
        Fixture f;
        f.label->SetCaption(QString(1, kBlock));
        f.label->Font()->SetHeight(-80);
        f.label->SetStyle(dxfOutLine);
        f.label->Effect3D()->SetStyle(dxfExtrude);
        f.label->Effect3D()->SetOrientation(dxfRightBottom);
        f.label->Effect3D()->SetDepth(4);
        f.label->Effect3D()->SetShadowedColor(clRed);
        const QImage coverage = f.FaceCoverage();
        const QImage image = f.Paint();
        int inside = 0;
        for (int y = 3; y < image.height() - 3; ++y) {
            for (int x = 3; x < image.width() - 3; ++x) {
                if (!Deep(coverage, {x, y}, 3))
                    continue;
                ++inside;
                QCOMPARE(image.pixel(x, y) & 0xFFFFFFu, ColorToPixel(clRed));
            }
        }
        QVERIFY(inside > 500);
        int outline = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                outline += qGreen(image.pixel(x, y)) > 150;
        QVERIFY(outline > 100);
    }

    void nonTrueTypeOutlineIsFilled()
    {
        const NonTrueTypeFace face;
        const QString family = face.Family();
        Fixture f;
        f.label->Font()->SetName(family);
        const QImage normal = f.Paint();
        f.label->SetStyle(dxfOutLine);
        QCOMPARE(f.Paint(), normal);
    }

    void transparentKeysOnBackground()
    {
        Fixture f;
        QImage picture(f.label->size(), QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x % 256, y % 256, 77));
        f.label->SetTransparent(true);
        f.label->SetColor(clGreen);
        // A face in the background colour vanishes, edges included.
        f.label->Font()->SetColor(clGreen);
        QCOMPARE(f.Paint(picture), picture);
        // A shadow stays; the picture shows everywhere else.
        f.label->Effect3D()->SetDepth(5);
        const QImage coverage = f.FaceCoverage();
        const QImage image = f.Paint(picture);
        int kept = 0;
        int shadow = 0;
        const QList<Layer> front {{{0, 0}, clGreen}, {{5, 5}, clGray}};
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const auto expected = Expected(coverage, {x, y}, front, clGreen);
                if (!expected)
                    continue;
                if (*expected == (ColorToPixel(clGray) | 0xFF000000u)) {
                    QCOMPARE(image.pixel(x, y), *expected);
                    ++shadow;
                } else {
                    QCOMPARE(image.pixel(x, y), picture.pixel(x, y));
                    ++kept;
                }
            }
        }
        QVERIFY(shadow > 100);
        QVERIFY(kept > 1000);
    }

    void drawBmpGrowsButNeverShrinks()
    {
        Fixture big(QSize(640, 420));
        big.Paint();
        const QSize grown = TdxfLabel::DrawBmp().size();
        QVERIFY(grown.width() >= 640 && grown.height() >= 420);
        Fixture small(QSize(60, 30));
        small.label->SetCaption(QString());
        small.label->SetColor(clTeal);
        const QImage image = small.Paint();
        QCOMPARE(TdxfLabel::DrawBmp().size(), grown);
        const QImage& bmp = TdxfLabel::DrawBmp();
        for (int y = 0; y < bmp.height(); y += 7)
            for (int x = 0; x < bmp.width(); x += 7)
                QCOMPARE(bmp.pixel(x, y) & 0xFFFFFFu, ColorToPixel(clTeal));
        QCOMPARE(image.size(), QSize(60, 30));
        QCOMPARE(InkBounds(image, ColorToPixel(clTeal)), QRect());
    }

    void textureTiledFromLabelCorner_data()
    {
        QTest::addColumn<TdxfLabelStyle>("style");
        QTest::addColumn<int>("angle");
        QTest::newRow("normal") << dxfNormal << 0;
        QTest::newRow("normal, 30 degrees") << dxfNormal << 30;
        QTest::newRow("raised") << dxfRaised << 0;
    }

    void textureTiledFromLabelCorner()
    {
        QFETCH(TdxfLabelStyle, style);
        QFETCH(int, angle);
        Fixture f;
        // One glyph: where neighbouring glyphs overlap, the alternate fill leaves the overlap out.
        f.label->SetCaption(QString(1, kBlock));
        f.label->Font()->SetHeight(-70);
        f.label->SetAngle(angle);
        f.label->SetStyle(style);
        const QImage coverage = f.FaceCoverage();
        QImage texture(7, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                texture.setPixel(x, y, qRgb(x * 30, y * 40, 99));
        f.label->SetGlyph(texture);
        texture.fill(Qt::red); // the label keeps its own copy
        const QPoint at = style == dxfNormal ? QPoint() : QPoint(1, 1);
        const QImage image = f.Paint();
        int inside = 0;
        for (int y = 2; y < image.height() - 2; ++y) {
            for (int x = 2; x < image.width() - 2; ++x) {
                if (!Deep(coverage, QPoint(x, y) - at, 1))
                    continue;
                ++inside;
                QCOMPARE(image.pixel(x, y) | 0xFF000000u, qRgb((x % 7) * 30, (y % 5) * 40, 99));
            }
        }
        QVERIFY(inside > 1000);
        f.label->SetGlyph(QImage());
        QVERIFY(f.label->Glyph()->isNull());
        QVERIFY(HasPixel(f.Paint(), clWhite));
    }

    void emptyCaptionDrawsOnlyBackground()
    {
        Fixture f;
        f.label->SetCaption(QString());
        f.label->Effect3D()->SetDepth(20);
        f.label->Effect3D()->SetStyle(dxfFun);
        f.label->SetStyle(dxfRaised);
        QCOMPARE(InkBounds(f.Paint(), 0), QRect());
    }

    // The composited shadow must give the picture of one text draw per layer. Where dozens of
    // partly covered layers stack on one pixel (a thin stem along the shadow direction at small
    // sizes) the painter's own rounding may end one level apart, so one level is allowed.
    void compositedLayersMatchLayerByLayer_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("angle");
        QTest::addColumn<TdxfEffectStyle>("style");
        QTest::addColumn<TdxfOrientation>("orientation");
        QTest::newRow("40 pt gradation 30 left") << 40 << 30 << 0 << dxfFun << dxfLeft;
        QTest::newRow("100 pt gradation 120 at 30") << 100 << 120 << 30 << dxfFun << dxfRightBottom;
        QTest::newRow("200 pt extrude 60 at 45") << 200 << 60 << 45 << dxfExtrude << dxfLeftTop;
        QTest::newRow("9 pt extrude 200 top") << 9 << 200 << 0 << dxfExtrude << dxfTop;
        QTest::newRow("60 pt gradation 80 at 300") << 60 << 80 << 300 << dxfFun << dxfRightTop;
        QTest::newRow("italic 70 pt gradation 50 bottom") << 70 << 50 << 0 << dxfFun << dxfBottom;
        QTest::newRow("50 pt gradation 40 right") << 50 << 40 << 0 << dxfFun << dxfRight;
        // deeper than 254 layers: the compositor counts layers in wider integers
        QTest::newRow("30 pt extrude 300 left bottom")
            << 30 << 300 << 10 << dxfExtrude << dxfLeftBottom;
        // a warped caption is filled from its bent outline, in the mask as in each layer
        QTest::newRow("arch 40 pt gradation 60") << 40 << 60 << 0 << dxfFun << dxfRightBottom;
        QTest::newRow("wave underlined 60 pt extrude 90 at 20")
            << 60 << 90 << 20 << dxfExtrude << dxfLeft;
    }

    void compositedLayersMatchLayerByLayer()
    {
        QFETCH(int, points);
        QFETCH(int, depth);
        QFETCH(int, angle);
        QFETCH(TdxfEffectStyle, style);
        QFETCH(TdxfOrientation, orientation);
        Fixture f(QSize(420, 260));
        f.label->SetCaption(QStringLiteral("Tamrin - Quilvoro"));
        f.label->Font()->SetSize(points);
        const QByteArray tag = QTest::currentDataTag();
        if (tag.startsWith("italic"))
            f.label->Font()->SetStyle(fsItalic);
        if (tag.startsWith("arch"))
            f.label->SetWarp(TLogoWarp::Arch);
        if (tag.startsWith("wave")) {
            f.label->SetWarp(TLogoWarp::Wave);
            f.label->Font()->SetStyle(fsUnderline);
        }
        f.label->SetWarpAmount(70);
        f.label->SetAngle(angle);
        f.label->Effect3D()->SetStyle(style);
        f.label->Effect3D()->SetOrientation(orientation);
        f.label->Effect3D()->SetDepth(std::uint16_t(depth));
        f.label->Effect3D()->SetShadowedColor(RGB(200, 120, 40));
        f.label->SetColor(RGB(10, 30, 60));
        const QImage composited = f.Paint();
        f.label->SetCompositeLayers(false);
        const QImage plain = f.Paint();
        int differing = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb a = composited.pixel(x, y);
                const QRgb b = plain.pixel(x, y);
                if (a == b)
                    continue;
                ++differing;
                QVERIFY2(std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1
                             && std::abs(qBlue(a) - qBlue(b)) <= 1,
                         qPrintable(QStringLiteral("%1,%2: %3 vs %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(a, 0, 16)
                                        .arg(b, 0, 16)));
            }
        }
        QVERIFY2(differing * 100 < plain.width() * plain.height(),
                 qPrintable(QString::number(differing)));
    }
};

QUILVORO_APP_TEST_MAIN(tst_dxflabel)
#include "tst_dxflabel.moc"
