// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/CaptionMask.h"
#include "render/DocumentRenderer.h"
#include "render/LogoGeometry.h"
#include "render/LogoPainter.h"
#include "render/TextPlacement.h"
#include "render/TextWarp.h"
#include "support/AppTestMain.h"
#include "support/OverAnyColour.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TLogoWarp)
Q_DECLARE_METATYPE(TdxfOrientation)

namespace {

QImage Noise(QSize size, unsigned seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = random() | 0xFF000000u;
    }
    return image;
}

// `placement` drawn inside `area` of a black picture, white letters.
QImage Drawn(const TextPlacement& placement, QSize size, const QRect& area)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setClipRect(area);
    painter.setFont(placement.font);
    placement.Draw(painter, {}, Qt::white);
    return image;
}

QString Repeated(const QString& piece, int length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

// A caption centred on a preview-sized picture, as a label places it, moved by `shift`.
TextPlacement Centred(const QString& text, const QFont& font, int angle, int shift)
{
    TextPlacement placement;
    placement.text = text;
    placement.font = font;
    placement.baseline = QFontMetrics(font).ascent();
    placement.escapement = angle;
    const QSize cell(QFontMetrics(font).horizontalAdvance(text), QFontMetrics(font).height());
    placement.origin =
        LogoPainter::TextOrigin(DocumentRenderer::kPreviewSize, cell, angle) + QPoint(shift, 0);
    return placement;
}

// Everything a placement can reach, so Within keeps the whole caption.
const QRect kEverywhere(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);

// The regions of a vector scene filled in their colours over black.
QImage Filled(const std::vector<LogoRegion>& regions, const QRect& view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-view.topLeft());
    for (const LogoRegion& region : regions)
        painter.fillPath(region.path, region.colour);
    return image;
}

} // namespace

class tst_LargeInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // A corner of a scaled texture is the same pixels as that corner of the whole scaled.
    void textureCornerMatchesTheWholeScaled_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("texture");
        QTest::addColumn<QSize>("corner");
        QTest::newRow("2, a small corner") << 2 << QSize(301, 257) << QSize(75, 41);
        QTest::newRow("3, odd scale") << 3 << QSize(301, 257) << QSize(200, 333);
        QTest::newRow("5, corner on a pixel edge") << 5 << QSize(120, 90) << QSize(250, 100);
        QTest::newRow("7, one pixel") << 7 << QSize(64, 64) << QSize(1, 1);
        QTest::newRow("8, wider than the texture") << 8 << QSize(40, 300) << QSize(900, 64);
        QTest::newRow("1, the texture itself") << 1 << QSize(40, 30) << QSize(10, 10);
    }

    void textureCornerMatchesTheWholeScaled()
    {
        QFETCH(int, scale);
        QFETCH(QSize, texture);
        QFETCH(QSize, corner);
        const QImage source = Noise(texture, 7);
        const QImage whole =
            source.scaled(texture * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage part = LogoPainter::ScaledCorner(source, scale, corner);
        const QRect wanted = QRect(QPoint(), corner).intersected(whole.rect());
        QVERIFY(part.rect().contains(wanted));
        QCOMPARE(part.copy(wanted), whole.copy(wanted));
        // a texture far larger than the corner is not scaled whole
        QVERIFY(part.width() <= corner.width() + 3 * scale || part.width() == whole.width());
    }

    // A long caption cut to what can show draws the same pixels there as the whole caption.
    void longCaptionsDrawOnlyWhatShowsTheSame_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("shift");
        QTest::newRow("latin, upright")
            << Repeated(u"Tamrin Quilvoro "_s, 5000) << u"DejaVu Sans"_s << 40 << 0 << 0;
        QTest::newRow("latin, turned")
            << Repeated(u"AVAWAY To. "_s, 4000) << u"DejaVu Serif"_s << 31 << 33 << 200;
        QTest::newRow("kana and kanji, upside down")
            << Repeated(u"ロゴ漢字のテスト"_s, 3000) << u"IPAPGothic"_s << 53 << 180 << -900;
        QTest::newRow("combining marks")
            << Repeated(u"e\u0301a\u0308o\u0327 "_s, 6000) << u"DejaVu Sans"_s << 24 << 90 << 77;
        QTest::newRow("short: drawn whole") << u"Tamrin"_s << u"DejaVu Sans"_s << 40 << 10 << 0;
        QTest::newRow("hebrew, just over the length drawn whole")
            << Repeated(u"שלום עולם "_s, TextPlacement::kDrawnWhole + 1) << u"DejaVu Sans"_s << 40
            << 0 << 0;
        QTest::newRow("hebrew, turned and moved")
            << Repeated(u"שלום עולם "_s, 6000) << u"DejaVu Sans"_s << 33 << 20 << 350;
        QTest::newRow("arabic, joined letters")
            << Repeated(u"مرحبا بالعالم "_s, 5000) << u"DejaVu Sans"_s << 36 << 0 << -420;
        QTest::newRow("hebrew among latin and numbers")
            << Repeated(u"Quilvoro שלום עולם 2026, "_s, 5000) << u"DejaVu Sans"_s << 30 << 0 << 130;
    }

    void longCaptionsDrawOnlyWhatShowsTheSame()
    {
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(int, pixels);
        QFETCH(int, angle);
        QFETCH(int, shift);
        QFont font(face);
        font.setPixelSize(pixels);
        const TextPlacement whole = Centred(text, font, angle, shift);
        const QSize size = DocumentRenderer::kPreviewSize;
        const QRect area(10, 10, 572, 340);
        const TextPlacement part = whole.Within(area, 0);
        if (text.size() > TextPlacement::kDrawnWhole)
            QVERIFY2(part.text.size() < text.size() / 4,
                     qPrintable(QString::number(part.text.size())));
        QCOMPARE(Drawn(part, size, area), Drawn(whole, size, area));
    }

    // The coverage a label keeps between paints covers what the paint can reach, not the whole
    // of a long caption.
    void keptCoverageOfALongCaptionStaysWithinReach()
    {
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(200);
        const TextPlacement placement = Centred(QString(1000, u'W'), font, 10, 0);
        const QRect reach(-200, -200, 992, 760);
        CaptionMask cache;
        QPoint topLeft;
        const QImage mask = cache.Of(placement, reach, topLeft);
        const QRect covered(topLeft, mask.size());
        QVERIFY(reach.contains(covered));
        QCOMPARE(mask, CaptionMask::Draw(placement, covered));
        // a smaller reach of the same placement is drawn no more
        cache.Of(placement, reach.adjusted(10, 10, -10, -10), topLeft);
        QCOMPARE(cache.Draws(), 1);
    }

    // A long warped caption bends and fills only the letters that can show, the same pixels.
    void longWarpedCaptionsBendOnlyWhatShowsTheSame_data()
    {
        QTest::addColumn<TLogoWarp>("kind");
        QTest::addColumn<int>("amount");
        QTest::addColumn<int>("angle");
        QTest::addColumn<QString>("text");
        const QString latin = Repeated(u"Quilvoro WAVE "_s, 3000);
        QTest::newRow("arch") << TLogoWarp::Arch << 100 << 0 << latin;
        QTest::newRow("arch down, turned") << TLogoWarp::ArchDown << 60 << 30 << latin;
        QTest::newRow("circle") << TLogoWarp::Circle << 100 << 0 << latin;
        QTest::newRow("wave") << TLogoWarp::Wave << 100 << 0 << latin;
        QTest::newRow("bulge, turned") << TLogoWarp::Bulge << 100 << 200 << latin;
        QTest::newRow("perspective") << TLogoWarp::Perspective << -100 << 0 << latin;
        QTest::newRow("slant") << TLogoWarp::Slant << 100 << 0 << latin;
        QTest::newRow("hebrew, flag")
            << TLogoWarp::Flag << 100 << 0 << Repeated(u"שלום עולם "_s, 3000);
    }

    void longWarpedCaptionsBendOnlyWhatShowsTheSame()
    {
        QFETCH(TLogoWarp, kind);
        QFETCH(int, amount);
        QFETCH(int, angle);
        QFETCH(QString, text);
        QFont font(u"DejaVu Sans"_s);
        font.setPixelSize(30);
        TextPlacement placement = Centred(text, font, angle, 0);
        const QFontMetrics metrics(font);
        const QRectF cell(0, 0, metrics.horizontalAdvance(text), metrics.height());
        placement.warp.emplace(kind, amount, cell, placement.baseline, 120);
        const QSize size = DocumentRenderer::kPreviewSize;
        const QRect area(0, 0, size.width(), size.height());
        const TextPlacement part = placement.Within(area, 0);
        const TextPlacement whole = placement.Within(kEverywhere, 0);
        QCOMPARE(whole.text, text);
        QVERIFY2(part.text.size() < text.size() / 10,
                 qPrintable(QString::number(part.text.size())));
        const QImage drawn = Drawn(part, size, area);
        QCOMPARE(drawn, Drawn(whole, size, area));
        // and the bent text shows
        QVERIFY(drawn != Drawn(TextPlacement(), size, area));
    }

    void longBlocksOutlineOnlyWhatShowsTheSame_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<TLogoWarp>("kind");
        QTest::addColumn<int>("angle");
        QTest::newRow("down") << true << TLogoWarp::None << 0;
        QTest::newRow("down, arched and turned") << true << TLogoWarp::Arch << 20;
        QTest::newRow("down, waved") << true << TLogoWarp::Wave << 0;
        QTest::newRow("across with a tagline, turned") << false << TLogoWarp::None << 30;
        QTest::newRow("across with a tagline, arched") << false << TLogoWarp::Arch << 0;
    }

    // A long caption with its tagline, or set down, outlines only the glyphs that can show.
    void longBlocksOutlineOnlyWhatShowsTheSame()
    {
        QFETCH(bool, vertical);
        QFETCH(TLogoWarp, kind);
        QFETCH(int, angle);
        LogoDocument document;
        document.FontName = u"IPAGothic"_s;
        document.Text = Repeated(u"らーめん一番、Quilvoro 3D「本店」"_s, 3000);
        document.Tagline = Repeated(u"since 1962 "_s, 2000);
        document.Vertical = vertical;
        document.Angle = angle;
        document.Warp = kind;
        document.WarpAmount = 80;
        const QSize size = DocumentRenderer::kPreviewSize;
        const LogoPainter painter(DocumentRenderer::LookOf(document, {}), size);
        const QRect area(QPoint(), size);
        const TextPlacement part = painter.Placement({}).Within(area, 20);
        const TextPlacement whole = painter.Placement({}).Within(kEverywhere, 0);
        QVERIFY2(part.warpedLetters.elementCount() < whole.warpedLetters.elementCount() / 10,
                 qPrintable(QString::number(part.warpedLetters.elementCount())));
        const QImage drawn = Drawn(part, size, area);
        QCOMPARE(drawn, Drawn(whole, size, area));
        QVERIFY(drawn != Drawn(TextPlacement(), size, area));
    }

    // The shapes of a long logo leave out letters that neither they nor their shadows bring
    // into the view: the same pixels there.
    void vectorShapesLeaveOutWhatCannotShow_data()
    {
        QTest::addColumn<TdxfOrientation>("orientation");
        QTest::addColumn<TLogoWarp>("warp");
        QTest::addColumn<int>("angle");
        QTest::addColumn<QRect>("view");
        const QRect preview(QPoint(), DocumentRenderer::kPreviewSize);
        QTest::newRow("shadow to the right") << dxfRight << TLogoWarp::None << 0 << preview;
        QTest::newRow("shadow up and left, turned")
            << dxfLeftTop << TLogoWarp::None << 40 << QRect(100, 50, 200, 200);
        QTest::newRow("arch") << dxfRightBottom << TLogoWarp::Arch << 0 << preview;
        QTest::newRow("short label, shadow into a strip")
            << dxfLeft << TLogoWarp::None << 0 << QRect(100, 0, 50, 360);
    }

    void vectorShapesLeaveOutWhatCannotShow()
    {
        QFETCH(TdxfOrientation, orientation);
        QFETCH(TLogoWarp, warp);
        QFETCH(int, angle);
        QFETCH(QRect, view);
        LogoLook look;
        look.caption = view.width() == 50 ? u"Quilvoro Tamrin"_s : Repeated(u"Quilvoro "_s, 1100);
        look.font = QFont(u"DejaVu Sans"_s);
        look.font.setPixelSize(40);
        look.effectStyle = dxfExtrude;
        look.depth = 60;
        look.orientation = orientation;
        look.shadowColor = RGB(200, 120, 40);
        look.angle = angle;
        look.warp = warp;
        look.warpAmount = 100;
        LogoGeometry geometry(look, DocumentRenderer::kPreviewSize);
        geometry.SetView(view);
        const QPainterPath letters = geometry.Letters();
        LogoGeometry everything(look, DocumentRenderer::kPreviewSize);
        everything.SetView(kEverywhere);
        const QPainterPath all = everything.Letters();
        if (look.caption.size() > TextPlacement::kDrawnWhole)
            QVERIFY(letters.elementCount() < all.elementCount() / 10);
        // The swept shadow is simplified within the tolerance, and which points go depends on
        // the whole outline, so its edges may move by a fraction of a pixel; along a bent
        // outline a few edge pixels move further.
        const QImage part = Filled(geometry.Regions(letters), view);
        const QImage whole = Filled(everything.Regions(all), view);
        int worst = 0;
        int off = 0;
        bool ink = false;
        for (int y = 0; y < view.height(); ++y) {
            for (int x = 0; x < view.width(); ++x) {
                const int d = OverAnyColour::ChannelDistance(part.pixel(x, y), whole.pixel(x, y));
                off += d > 4;
                worst = std::max(worst, d);
                ink = ink || part.pixel(x, y) != qRgb(0, 0, 0);
            }
        }
        QVERIFY2(worst <= 24 && off <= view.width() * view.height() / 1000,
                 qPrintable(QString::number(worst) + u' ' + QString::number(off)));
        QVERIFY(ink);
    }

    // Only the part of a picture that a render can show is loaded; it draws the same pixels.
    void picturePartsDrawTheSame_data()
    {
        QTest::addColumn<QSize>("background");
        QTest::addColumn<QSize>("texture");
        QTest::addColumn<int>("scale");
        QTest::newRow("even sizes") << QSize(1200, 800) << QSize(700, 500) << 1;
        QTest::newRow("odd sizes, scale 3") << QSize(1201, 803) << QSize(901, 367) << 3;
        QTest::newRow("one side larger only") << QSize(597, 300) << QSize(300, 1000) << 2;
    }

    void picturePartsDrawTheSame()
    {
        QFETCH(QSize, background);
        QFETCH(QSize, texture);
        QFETCH(int, scale);
        LogoDocument document;
        document.Text = u"Quilvoro"_s;
        document.Size = 150;
        RenderPictures whole {Noise(background, 3), Noise(texture, 4)};
        RenderPictures parts {whole.background.copy(DocumentRenderer::BackgroundPart(background)),
                              whole.texture.copy(DocumentRenderer::TexturePart(texture))};
        QVERIFY(parts.background.width() < 600 || background.width() < 600);
        RenderOptions options;
        options.scale = scale;
        options.region = DocumentRenderer::PanelRect();
        QCOMPARE(DocumentRenderer::Render(document, parts, options),
                 DocumentRenderer::Render(document, whole, options));
    }
};

QUILVORO_APP_TEST_MAIN(tst_LargeInputs)
#include "tst_LargeInputs.moc"
