// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The renderer at scale 1 gives the same pixels as the window's export after loading the same
// logo file, over files written by hand, odd ones included.
#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "document/LogoFile.h"
#include "framework/TTimer.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QImage Gradient(QSize size, bool alpha)
{
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                           qRgba(40 + x * 200 / size.width(), 60 + y * 180 / size.height(), 150,
                                 alpha ? (x * 255 / size.width()) : 255));
    return image;
}

QImage Texture()
{
    QImage image(13, 9, QImage::Format_RGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            image.setPixel(x, y, ((x / 3 + y / 3) % 2) ? qRgb(240, 80, 30) : qRgb(30, 200, 220));
    return image;
}

// A complete file in the order the program writes it, with `changes` replacing or adding
// keys (a key set to "-" is left out).
QByteArray LogoFileText(const QList<std::pair<QString, QString>>& changes)
{
    QList<std::pair<QString, QString>> keys = {
        {u"Label"_s, u"Tamrin - Quilvoro"_s},
        {u"Font"_s, u"IPAPGothic"_s},
        {u"Bold"_s, u"0"_s},
        {u"Italic"_s, u"0"_s},
        {u"Under"_s, u"0"_s},
        {u"Strike"_s, u"0"_s},
        {u"Size"_s, u"40"_s},
        {u"Angle"_s, u"0"_s},
        {u"Style1"_s, u"1"_s},
        {u"Style2"_s, u"0"_s},
        {u"Style3"_s, u"0"_s},
        {u"Shadow1"_s, u"0"_s},
        {u"Shadow2"_s, u"0"_s},
        {u"Shadow3"_s, u"1"_s},
        {u"Depth"_s, u"30"_s},
        {u"Orientation"_s, u"0"_s},
        {u"Color1"_s, u"16777215"_s},
        {u"Color2"_s, u"8421504"_s},
        {u"Color3"_s, u"0"_s},
        {u"Image1"_s, QString()},
        {u"Image2"_s, QString()},
    };
    for (const auto& [key, value] : changes) {
        auto it = std::find_if(keys.begin(), keys.end(),
                               [&key = key](const auto& k) { return k.first == key; });
        if (it != keys.end())
            it->second = value;
        else
            keys.append({key, value});
    }
    QByteArray text = "\xEF\xBB\xBF[SET]\r\n";
    for (const auto& [key, value] : keys) {
        if (value != u"-"_s)
            text += (key + u'=' + value).toUtf8() + "\r\n";
    }
    return text;
}

void RunTransition(TTimer* timer)
{
    while (timer->Enabled())
        timer->Tick();
}

// A shown window past its first New, with `contents` loaded from `file` and the frame at
// `selection` in the panel (null keeps the layout's).
std::unique_ptr<TMakeForm1> WindowShowing(const QString& file, const QByteArray& contents,
                                          QRect selection)
{
    FileTesting::WriteAll(file, contents);
    auto form = std::make_unique<TMakeForm1>(u"/opt/q/quilvoro"_s);
    form->show();
    form->SpeedButton1Click(form.get());
    RunTransition(form->Timer1);
    form->LoadLogoFile(file);
    if (!selection.isNull())
        form->SelShape1->setGeometry(selection);
    return form;
}

// The logo on which the window's export once differed from the renderer's in a few pixels.
const QList<std::pair<QString, QString>> kDeepOutlineTurnedUp = {
    {u"Style1"_s, u"0"_s},  {u"Style2"_s, u"1"_s},      {u"Shadow3"_s, u"0"_s},
    {u"Shadow2"_s, u"1"_s}, {u"Angle"_s, u"45"_s},      {u"Size"_s, u"120"_s},
    {u"Depth"_s, u"120"_s}, {u"Orientation"_s, u"5"_s},
};

} // namespace

class tst_RenderParity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QVERIFY(FDir.isValid());
        QVERIFY(Gradient(QSize(300, 200), false).save(Path(u"small.bmp"_s), "BMP"));
        QVERIFY(Gradient(QSize(800, 500), false).save(Path(u"large.bmp"_s), "BMP"));
        QVERIFY(Gradient(QSize(420, 250), true).save(Path(u"alpha.png"_s), "PNG"));
        QVERIFY(Texture().save(Path(u"texture.bmp"_s), "BMP"));
    }

    void rendererMatchesTheWindowsExport_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QRect>("selection"); // in the preview panel; empty keeps the layout's
        using Keys = QList<std::pair<QString, QString>>;
        auto row = [&](const char* name, const Keys& keys, QRect selection = {}) {
            QTest::newRow(name) << LogoFileText(keys) << selection;
        };
        row("new defaults", {});
        row("outline, deep, to the left, turned",
            {{u"Style1"_s, u"0"_s},
             {u"Style2"_s, u"1"_s},
             {u"Shadow3"_s, u"0"_s},
             {u"Shadow2"_s, u"1"_s},
             {u"Orientation"_s, u"3"_s},
             {u"Angle"_s, u"45"_s}});
        row("solid, flat, colours",
            {{u"Style1"_s, u"0"_s},
             {u"Style3"_s, u"1"_s},
             {u"Shadow3"_s, u"0"_s},
             {u"Shadow1"_s, u"1"_s},
             {u"Color1"_s, u"3381759"_s},
             {u"Color2"_s, u"6697881"_s},
             {u"Color3"_s, u"15790320"_s},
             {u"Orientation"_s, u"5"_s}});
        row("heavy", {{u"Size"_s, u"100"_s}, {u"Depth"_s, u"200"_s}, {u"Angle"_s, u"30"_s}});
        row("outline, deep, large, turned to the top", kDeepOutlineTurnedUp);
        row("size 1", {{u"Size"_s, u"1"_s}});
        row("size 200, upside down", {{u"Size"_s, u"200"_s}, {u"Angle"_s, u"180"_s}});
        row("angle 360, every direction", {{u"Angle"_s, u"360"_s}, {u"Orientation"_s, u"6"_s}});
        row("no depth", {{u"Depth"_s, u"0"_s}, {u"Shadow2"_s, u"1"_s}});
        row("system colour background fades to silver",
            {{u"Color3"_s, u"-2147483633"_s}, {u"Color2"_s, u"-2147483632"_s}});
        row("empty text", {{u"Label"_s, QString()}});
        row("Japanese text", {{u"Label"_s, u"日本語ノロゴ ＡＢＣ"_s}, {u"Angle"_s, u"15"_s}});
        row("unknown face", {{u"Font"_s, u"No Such Face"_s}, {u"Angle"_s, u"20"_s}});
        row("face in quotes, other case", {{u"Font"_s, u"'dejavu sans'"_s}});
        row("bold", {{u"Bold"_s, u"1"_s}, {u"Font"_s, u"DejaVu Sans"_s}});
        row("italic, turned", {{u"Italic"_s, u"1"_s}, {u"Angle"_s, u"300"_s}});
        row("underline and strike-out: the last wins",
            {{u"Under"_s, u"1"_s}, {u"Strike"_s, u"1"_s}, {u"Orientation"_s, u"2"_s}});
        row("texture", {{u"Image1"_s, Path(u"texture.bmp"_s)}, {u"Angle"_s, u"10"_s}});
        row("texture in an outline",
            {{u"Image1"_s, Path(u"texture.bmp"_s)},
             {u"Style1"_s, u"0"_s},
             {u"Style2"_s, u"1"_s},
             {u"Size"_s, u"90"_s}});
        row("small background with texture",
            {{u"Image2"_s, Path(u"small.bmp"_s)},
             {u"Image1"_s, Path(u"texture.bmp"_s)},
             {u"Color3"_s, u"65280"_s}});
        row("large background, solid, turned",
            {{u"Image2"_s, Path(u"large.bmp"_s)},
             {u"Style1"_s, u"0"_s},
             {u"Style3"_s, u"1"_s},
             {u"Angle"_s, u"350"_s}});
        row("background with alpha", {{u"Image2"_s, Path(u"alpha.png"_s)}});
        row("face in the background colour over a picture",
            {{u"Image2"_s, Path(u"small.bmp"_s)},
             {u"Color1"_s, u"255"_s},
             {u"Color3"_s, u"255"_s}});
        row("missing pictures",
            {{u"Image2"_s, Path(u"gone.bmp"_s)}, {u"Image1"_s, Path(u"gone too.bmp"_s)}});
        row("values out of range",
            {{u"Size"_s, u"999"_s},
             {u"Depth"_s, u"-5"_s},
             {u"Orientation"_s, u"12"_s},
             {u"Angle"_s, u"400"_s}});
        row("odd spellings and missing keys",
            {{u"Size"_s, u" 0x30 "_s},
             {u"Depth"_s, u"12abc"_s},
             {u"Style1"_s, u"-"_s},
             {u"Shadow3"_s, u"-"_s},
             {u"Color1"_s, u"-"_s}});
        row("all styles zero keep the defaults",
            {{u"Style1"_s, u"0"_s}, {u"Shadow3"_s, u"0"_s}, {u"Depth"_s, u"7"_s}});
        row("arch, heavy", {{u"Size"_s, u"100"_s}, {u"Depth"_s, u"200"_s}, {u"Warp"_s, u"1"_s}});
        row("circle, underlined, texture",
            {{u"Warp"_s, u"3"_s},
             {u"WarpAmount"_s, u"100"_s},
             {u"Under"_s, u"1"_s},
             {u"Image1"_s, Path(u"texture.bmp"_s)}});
        row("wave in an outline, turned, deep",
            {{u"Warp"_s, u"4"_s},
             {u"WarpAmount"_s, u"-70"_s},
             {u"Style1"_s, u"0"_s},
             {u"Style2"_s, u"1"_s},
             {u"Shadow3"_s, u"0"_s},
             {u"Shadow2"_s, u"1"_s},
             {u"Angle"_s, u"20"_s}});
        row("perspective, solid, flat, over a picture",
            {{u"Warp"_s, u"8"_s},
             {u"WarpAmount"_s, u"60"_s},
             {u"Style1"_s, u"0"_s},
             {u"Style3"_s, u"1"_s},
             {u"Shadow3"_s, u"0"_s},
             {u"Shadow1"_s, u"1"_s},
             {u"Image2"_s, Path(u"large.bmp"_s)}});
        row("corner of the panel, bevel included", {}, QRect(2, 2, 40, 30));
        row("bottom right, over a picture", {{u"Image2"_s, Path(u"large.bmp"_s)}},
            QRect(400, 250, 198, 116));
        row("small region in the middle, heavy",
            {{u"Size"_s, u"100"_s}, {u"Depth"_s, u"200"_s}, {u"Angle"_s, u"30"_s}},
            QRect(200, 120, 150, 90));
    }

    // BMP保存 in the window writes the picture that `quilvoro render` writes for the same file.
    void windowsBmpIsTheCommandLinesPicture_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QRect>("selection");
        QTest::newRow("outline, deep, large, turned to the top")
            << LogoFileText(kDeepOutlineTurnedUp) << QRect();
        QTest::newRow("texture over a background, moved frame")
            << LogoFileText({{u"Image1"_s, Path(u"texture.bmp"_s)},
                             {u"Image2"_s, Path(u"small.bmp"_s)},
                             {u"Angle"_s, u"20"_s}})
            << QRect(150, 100, 300, 160);
    }

    void windowsBmpIsTheCommandLinesPicture()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QRect, selection);
        const QString file = Path(u"both.qvd"_s);
        TestDialogs dialogs;
        const std::unique_ptr<TMakeForm1> form = WindowShowing(file, contents, selection);
        QStringList arguments {u"render"_s, file, u"-o"_s, Path(u"command.bmp"_s)};
        if (!selection.isNull()) {
            const QRect r = form->SelectionRegion();
            arguments << u"--region=%1,%2,%3,%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(
                r.height());
        }
        dialogs.fileAnswers = {Path(u"window.bmp"_s)};
        form->SpeedButton6Click(form.get());

        QProcess command;
        command.start(QStringLiteral(QUILVORO_PROGRAM), arguments);
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitCode(), 0);
        const QImage window(Path(u"window.bmp"_s));
        QVERIFY(!window.isNull());
        QCOMPARE(QImage(Path(u"command.bmp"_s)), window);
    }

    void rendererMatchesTheWindowsExport()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QRect, selection);
        const QString file = Path(u"logo.qvd"_s);
        TestDialogs dialogs;
        const std::unique_ptr<TMakeForm1> form = WindowShowing(file, contents, selection);
        const QImage window = form->CaptureSelection();

        const LogoDocument document = LogoFile::Read(file);
        RenderPictures pictures;
        for (auto [name, picture] : {std::pair {document.BackgroundFile, &pictures.background},
                                     std::pair {document.TextureFile, &pictures.texture}}) {
            try {
                if (!name.isEmpty())
                    *picture = TPictureFile::Load(name);
            } catch (const std::exception&) { }
        }
        RenderOptions options;
        if (!selection.isNull())
            options.region = form->SelectionRegion();
        const QImage rendered =
            DocumentRenderer::Render(document, pictures, options).convertToFormat(window.format());
        QCOMPARE(rendered.size(), window.size());
        if (rendered != window) {
            for (int y = 0; y < window.height(); ++y)
                for (int x = 0; x < window.width(); ++x)
                    QVERIFY2(rendered.pixel(x, y) == window.pixel(x, y),
                             qPrintable(u"%1,%2: rendered %3, window %4"_s.arg(x)
                                            .arg(y)
                                            .arg(rendered.pixel(x, y), 0, 16)
                                            .arg(window.pixel(x, y), 0, 16)));
        }
    }

private:
    QString Path(const QString& name) const { return FDir.filePath(name); }

    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_RenderParity)
#include "tst_RenderParity.moc"
