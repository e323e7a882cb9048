// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's transparent pictures, as a user takes them away: the PNG file that BMP保存 writes
// with 透明 chosen, and the picture the copy puts on the clipboard. Over any colour each is the
// picture the renderer draws opaque on that colour.
#include "WorkingWindow.h"
#include "app/Makewindow1.h"
#include "app/WindowActions.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/OverAnyColour.h"
#include "support/PaintTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogoDocument)

namespace {

// Around the middle of the preview, where the logo lies with its shadow, in label pixels.
constexpr QRect kRegion(186, 110, 220, 140);

// A red shadow and a yellow face on green: what showed a fringe of the background colour.
LogoDocument Logo(TLogoLabelStyle style, TLogoShadowStyle shadow, int direction)
{
    LogoDocument logo;
    logo.Text = u"Qa/k"_s;
    logo.FontName = u"DejaVu Sans"_s;
    logo.Size = 30;
    logo.LabelStyle = style;
    logo.ShadowStyle = shadow;
    logo.Depth = 7;
    logo.Direction = direction;
    // Turned on the diagonal directions, so that edges run at every slope.
    logo.Angle = direction % 2 == 0 ? 25 : 0;
    logo.TextColor = RGB(250, 200, 20);
    logo.ShadowColor = RGB(200, 0, 0);
    logo.BackgroundColor = RGB(0, 128, 0);
    return logo;
}

QRgb Opaque(TColor color)
{
    return ColorToPixel(color) | 0xff000000u;
}

TColor ColorOf(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The colours the rule is checked over besides the background colour.
QList<QRgb> Grounds(QRgb background)
{
    return {qRgb(0, 0, 0), qRgb(255, 255, 255), ~background | 0xff000000u, qRgb(128, 128, 128)};
}

// A pixel read from a file against the rendered one: the same alpha, opaque pixels the same,
// the others within one level of the premultiplied channels divided out.
bool UnpremultipliedFrom(QRgb straight, QRgb premultiplied)
{
    const int alpha = qAlpha(premultiplied);
    if (qAlpha(straight) != alpha)
        return false;
    if (alpha == 0 || alpha == 255)
        return alpha == 0 || straight == premultiplied;
    auto near = [alpha](int decoded, int rendered) {
        return std::abs(decoded * alpha - rendered * 255) <= alpha;
    };
    return near(qRed(straight), qRed(premultiplied))
        && near(qGreen(straight), qGreen(premultiplied))
        && near(qBlue(straight), qBlue(premultiplied));
}

QImage PngRoundTrip(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return QImage::fromData(bytes, "PNG");
}

} // namespace

class tst_TransparentExports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"Quilvoro"_s, u"Quilvoro"_s).clear();
        QVERIFY(FDir.isValid());
        QVERIFY(Checkers(QSize(12, 12), 3).save(FDir.filePath(u"texture.png"_s)));
        QImage sky(700, 400, QImage::Format_RGB32);
        sky.fill(qRgb(0, 90, 200));
        QVERIFY(sky.save(FDir.filePath(u"sky.png"_s)));
        FForm = WorkingWindow::WorkingForm();
    }

    void cleanupTestCase() { FForm.reset(); }

    void pngExportOverAnyColour_data() { Rows({1, 4}); }

    // The file as it lies on disk, decoded with its straight alpha and composited here.
    void pngExportOverAnyColour()
    {
        QFETCH(LogoDocument, document);
        QFETCH(int, scale);
        Show(document);
        if (QTest::currentTestFailed())
            return;
        const QString file = FDir.filePath(u"logo.png"_s);
        QFile::remove(file);
        FDialogs.fileAnswers.push_back(file);
        FDialogs.pngAnswers.push_back(TPngOptions {scale, true});
        FForm->SpeedButton6Click(FForm.get());
        QVERIFY(FDialogs.fileAnswers.empty() && FDialogs.pngAnswers.empty());

        const QImage written = QImage(file).convertToFormat(QImage::Format_ARGB32);
        const QImage rendered = DocumentRenderer::Render(FForm->ShownDocument(), FForm->Pictures(),
                                                         {kRegion, scale, true});
        QCOMPARE(written.size(), kRegion.size() * scale);
        QCOMPARE(rendered.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(rendered.size(), written.size());
        for (int y = 0; y < written.height(); ++y)
            for (int x = 0; x < written.width(); ++x)
                if (!UnpremultipliedFrom(written.pixel(x, y), rendered.pixel(x, y)))
                    QFAIL(qPrintable(u"%1,%2 reads %3 from %4"_s.arg(x)
                                         .arg(y)
                                         .arg(written.pixel(x, y), 0, 16)
                                         .arg(rendered.pixel(x, y), 0, 16)));

        // The transparent picture leaves a background picture out, as it does the colour.
        RenderPictures pictures = FForm->Pictures();
        pictures.background = QImage();
        CheckOverAnyColour(written, pictures, scale, "file");
    }

    void clipboardOverAnyColour_data() { Rows({1}); }

    // Without a background picture the logo goes alone, with alpha; over one it goes as shown.
    void clipboardOverAnyColour()
    {
        QFETCH(LogoDocument, document);
        Show(document);
        if (QTest::currentTestFailed())
            return;
        QGuiApplication::clipboard()->clear();
        FForm->Actions->Copy()->trigger();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasImage());
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), kRegion.size());

        if (FForm->BackgroundShown()) {
            QVERIFY(!copied.hasAlphaChannel());
            const QImage opaque = DocumentRenderer::Render(FForm->ShownDocument(),
                                                           FForm->Pictures(), {kRegion, 1, false});
            QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), opaque);
            return;
        }
        QCOMPARE(copied.format(), QImage::Format_ARGB32_Premultiplied);
        CheckOverAnyColour(copied, FForm->Pictures(), 1, "copied");
        if (QTest::currentTestFailed())
            return;
        // What a program that pastes receives on X11 and Wayland: the picture as PNG.
        const QImage pasted = PngRoundTrip(copied);
        QCOMPARE(pasted.format(), QImage::Format_ARGB32);
        CheckOverAnyColour(pasted, FForm->Pictures(), 1, "pasted");
    }

private:
    // Label style × shadow kind × two directions, with and without the texture; and a logo over
    // a background picture.
    void Rows(const QList<int>& scales)
    {
        QTest::addColumn<LogoDocument>("document");
        QTest::addColumn<int>("scale");
        const std::pair<TLogoLabelStyle, const char*> styles[] = {
            {TLogoLabelStyle::Normal, "normal"},
            {TLogoLabelStyle::Outline, "outline"},
            {TLogoLabelStyle::Solid, "solid"}};
        const std::pair<TLogoShadowStyle, const char*> shadows[] = {
            {TLogoShadowStyle::Normal, "flat"},
            {TLogoShadowStyle::Deep, "deep"},
            {TLogoShadowStyle::Gradation, "gradation"}};
        const QString texture = FDir.filePath(u"texture.png"_s);
        int turn = 0;
        for (const auto& [style, styleName] : styles) {
            for (const auto& [shadow, shadowName] : shadows) {
                // one diagonal and one straight direction each, all eight over the table
                for (const int direction : {2 * turn % 8, (2 * turn + 1) % 8}) {
                    for (const bool textured : {false, true}) {
                        LogoDocument logo = Logo(style, shadow, direction);
                        if (textured)
                            logo.TextureFile = texture;
                        for (const int scale : scales)
                            QTest::addRow("%s, %s, direction %d%s, scale %d", styleName, shadowName,
                                          direction, textured ? ", texture" : "", scale)
                                << logo << scale;
                    }
                }
                ++turn;
            }
        }
        LogoDocument sky = Logo(TLogoLabelStyle::Solid, TLogoShadowStyle::Deep, 2);
        sky.BackgroundFile = FDir.filePath(u"sky.png"_s);
        sky.TextureFile = texture;
        QTest::addRow("over a background picture, scale %d", scales.back()) << sky << scales.back();
    }

    // The window shows `document` as a loaded logo file would, the frame around the logo.
    void Show(const LogoDocument& document)
    {
        FForm->ApplyDocument(document);
        FForm->SelShape1->setGeometry(kRegion.translated(FForm->Label1->pos()));
        QCOMPARE(FForm->ShownDocument(), document);
        QCOMPARE(FForm->SelectionRegion(), kRegion);
    }

    // `clear` over each colour against the renderer's opaque picture of the shown document with
    // that background colour; `what` names the picture in the figures.
    void CheckOverAnyColour(const QImage& clear, const RenderPictures& pictures, int scale,
                            const char* what)
    {
        LogoDocument document = FForm->ShownDocument();
        const QRgb background = Opaque(document.BackgroundColor);
        const QImage opaque = DocumentRenderer::Render(document, pictures, {kRegion, scale, false});
        OverAnyColour::Tally tally;
        OverAnyColour::Compare(clear, background, opaque, opaque, background, tally);
        QVERIFY2(tally.failure.isEmpty(), qPrintable(tally.failure));
        for (const QRgb ground : Grounds(background)) {
            document.BackgroundColor = ColorOf(ground);
            OverAnyColour::Compare(
                clear, ground,
                DocumentRenderer::Render(document, pictures, {kRegion, scale, false}), opaque,
                background, tally);
            if (!tally.failure.isEmpty())
                break;
        }
        QVERIFY2(tally.failure.isEmpty(), qPrintable(tally.failure));
        QVERIFY(tally.partial > 0);
        QVERIFY2(tally.StalledShareHolds(), qPrintable(tally.Figures()));
        qInfo("%s: %s", what, qPrintable(tally.Figures()));
    }

    QTemporaryDir FDir;
    TestDialogs FDialogs;
    std::unique_ptr<TMakeForm1> FForm;
};

QUILVORO_APP_TEST_MAIN(tst_TransparentExports)
#include "tst_TransparentExports.moc"
