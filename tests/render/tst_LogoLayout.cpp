// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LogoLayout.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogoLook)

namespace {

LogoLook Look(TdxfLabelStyle style, int pixelSize = 40)
{
    LogoLook look;
    look.caption = u"Qa"_s;
    look.font = QFont(u"DejaVu Sans"_s);
    look.font.setPixelSize(pixelSize);
    look.textColor = RGB(250, 200, 20);
    look.shadowColor = RGB(200, 0, 0);
    look.color = RGB(0, 128, 0);
    look.style = style;
    look.depth = 0;
    return look;
}

QString Name(TColor colour)
{
    if (colour == clBtnHighlight)
        return u"highlight"_s;
    if (colour == clBtnShadow)
        return u"btnshadow"_s;
    return QString::number(colour & 0xFFFFFFu, 16);
}

// The parts back to front, one word each: kind, offset or step, colour, and what else is set.
QString Describe(const LogoLayout& layout)
{
    QStringList words;
    for (const LogoPart& part : layout.Parts()) {
        static const char* const kKinds[] = {"glow", "copy", "stack", "ring", "outline", "texture"};
        QString word = QString::fromLatin1(kKinds[part.kind]);
        if (part.shadow)
            word = u"shadow-"_s + word;
        if (part.kind == LogoPart::Stack)
            word += u"(%1,%2)x%3"_s.arg(part.step.x()).arg(part.step.y()).arg(part.colours.size());
        else if (part.kind == LogoPart::Ring)
            word += QString::number(part.ring) + (part.hollow ? u"h"_s : QString());
        else if (part.kind != LogoPart::Glow)
            word += u"(%1,%2)"_s.arg(part.offset.x()).arg(part.offset.y());
        if (part.kind != LogoPart::Texture && part.kind != LogoPart::Stack)
            word += u":"_s + Name(part.colour);
        if (part.kind == LogoPart::Outline)
            word += u"/pen"_s + QString::number(part.pen);
        if (part.gradient)
            word += u"/gradient"_s;
        words << word;
    }
    return words.join(u' ');
}

} // namespace

class tst_LogoLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void partsBackToFront_data()
    {
        QTest::addColumn<LogoLook>("look");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("parts");
        QTest::newRow("plain") << Look(dxfNormal) << 1 << u"copy(0,0):14c8fa"_s;
        LogoLook raised = Look(dxfRaised);
        raised.effectStyle = dxfCool;
        raised.orientation = dxfLeftTop;
        raised.depth = 3;
        QTest::newRow("raised, flat shadow, scale 2")
            << raised << 2
            << u"shadow-copy(-6,-6):c8 copy(0,0):highlight copy(4,4):btnshadow copy(2,2):14c8fa"_s;
        // below 12 points the raised face has no dark rim
        QTest::newRow("raised, small")
            << Look(dxfRaised, 15) << 1 << u"copy(0,0):highlight copy(1,1):14c8fa"_s;
        LogoLook lowered = Look(dxfLowered);
        lowered.engravedBase = RGB(90, 60, 30);
        QTest::newRow("lowered darkens its base")
            << lowered << 1 << u"copy(2,2):highlight copy(1,1):%1"_s.arg(RGB(60, 40, 20), 0, 16);
        lowered.engravedBase = clBtnFace;
        QTest::newRow("lowered on a system colour")
            << lowered << 1 << u"copy(2,2):highlight copy(1,1):btnshadow"_s;
        LogoLook outline = Look(dxfOutLine);
        outline.penWidth = 0;
        QTest::newRow("outline, pen 0") << outline << 1 << u"outline(0,0):14c8fa/pen0"_s;
        QTest::newRow("outline, pen 0, scale 3") << outline << 3 << u"outline(0,0):14c8fa/pen3"_s;
        outline.penWidth = 2;
        outline.decorations.gradient = true;
        QTest::newRow("outline, pen 2, scale 3, gradient")
            << outline << 3 << u"outline(0,0):14c8fa/pen6/gradient"_s;
        LogoLook textured = Look(dxfRaised);
        textured.texture = QImage(4, 4, QImage::Format_RGB32);
        QTest::newRow("textured raised face")
            << textured << 2 << u"copy(0,0):highlight copy(4,4):btnshadow texture(2,2)"_s;
        textured.style = dxfNormal;
        QTest::newRow("textured face") << textured << 1 << u"texture(0,0)"_s;
        LogoLook decorated = Look(dxfOutLine);
        decorated.effectStyle = dxfExtrude;
        decorated.orientation = dxfRight;
        decorated.depth = 5;
        decorated.decorations.edges[0] = {2, clBlack};
        decorated.decorations.edges[2] = {3, clWhite};
        decorated.decorations.glowSize = 4;
        QTest::newRow("decorated outline")
            << decorated << 1
            << u"glow:ffff shadow-stack(1,0)x5 ring2h:ffffff ring0h:0 outline(0,0):14c8fa/pen1"_s;
        decorated.depth = 0;
        decorated.decorations.glowOpacity = 0;
        QTest::newRow("no shadow, glow unseen")
            << decorated << 1 << u"ring2h:ffffff ring0h:0 outline(0,0):14c8fa/pen1"_s;
    }

    void partsBackToFront()
    {
        QFETCH(LogoLook, look);
        QFETCH(int, scale);
        QFETCH(QString, parts);
        QCOMPARE(Describe(LogoLayout(look, scale)), parts);
    }

    // A gradation runs from the shadow colour toward the background, and over nothing fades out
    // instead when it would fade into the background colour.
    void gradation_data()
    {
        QTest::addColumn<TColor>("background");
        QTest::addColumn<TColor>("shadow");
        QTest::addColumn<bool>("overNothing");
        QTest::addColumn<TColor>("farthest");
        QTest::addColumn<bool>("fadesOut");
        QTest::newRow("opaque") << RGB(0, 120, 0) << RGB(240, 0, 0) << false << RGB(40, 100, 0)
                                << false;
        QTest::newRow("over nothing")
            << RGB(0, 120, 0) << RGB(240, 0, 0) << true << RGB(40, 100, 0) << true;
        QTest::newRow("system background fades to silver")
            << clBtnFace << RGB(0, 0, 0) << true << RGB(160, 160, 160) << false;
        QTest::newRow("shadow of the background colour")
            << RGB(0, 120, 0) << RGB(0, 120, 0) << true << RGB(0, 120, 0) << false;
    }

    void gradation()
    {
        QFETCH(TColor, background);
        QFETCH(TColor, shadow);
        QFETCH(bool, overNothing);
        QFETCH(TColor, farthest);
        QFETCH(bool, fadesOut);
        LogoLook look = Look(dxfNormal);
        look.color = background;
        look.shadowColor = shadow;
        look.effectStyle = dxfFun;
        look.orientation = dxfBottom;
        look.depth = 6;
        const LogoLayout layout(look, 1, overNothing);
        QVERIFY(layout.Shadow());
        const std::vector<TColor>& colours = layout.Shadow()->colours;
        QCOMPARE(colours.size(), 6u);
        QCOMPARE(colours.front(), shadow);
        QCOMPARE(colours.back(), farthest);
        QCOMPARE(layout.Shadow()->fadesOut, fadesOut);
    }

    void fadeAlphaRoundsTiesToEven_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("layers");
        QTest::addColumn<int>("alpha");
        QTest::newRow("nearest") << 1 << 6 << 255;
        QTest::newRow("last of six: 42.5") << 6 << 6 << 42;
        QTest::newRow("fourth of six: 127.5") << 4 << 6 << 128;
        QTest::newRow("eighth of ten: 76.5") << 8 << 10 << 76;
        QTest::newRow("last of two hundred") << 200 << 200 << 1;
    }

    // The raster's transparent shadow and the vector fade take their alphas from here.
    void fadeAlphaRoundsTiesToEven()
    {
        QFETCH(int, k);
        QFETCH(int, layers);
        QFETCH(int, alpha);
        QCOMPARE(int(LogoLayout::FadeAlpha(k, layers)), alpha);
    }
};

QUILVORO_APP_TEST_MAIN(tst_LogoLayout)
#include "tst_LogoLayout.moc"
