// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The preview label paints the look the renderer derives from the editor's document, and the
// controls show that document, whatever changed it, so the screen and every export show the
// same logo.
#include "WorkingWindow.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "document/LogoFile.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TImage.h"
#include "framework/TTrackBar.h"
#include "platform/FontInfo.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Change = std::function<void(TMakeForm1&, TestDialogs&)>;

const QString kBitmapFace = u"DejaVu Sans Mono"_s;

// The fields in which two looks differ, named for the failure message.
QStringList Differences(const LogoLook& a, const LogoLook& b)
{
    QStringList fields;
    auto check = [&](bool same, const char* name) {
        if (!same)
            fields << QString::fromLatin1(name);
    };
    check(a.caption == b.caption, "caption");
    check(a.font == b.font, "font");
    check(a.textColor == b.textColor, "textColor");
    check(a.color == b.color, "color");
    check(a.engravedBase == b.engravedBase, "engravedBase");
    check(a.style == b.style, "style");
    check(a.angle == b.angle, "angle");
    check(a.effectStyle == b.effectStyle, "effectStyle");
    check(a.orientation == b.orientation, "orientation");
    check(a.depth == b.depth, "depth");
    check(a.shadowColor == b.shadowColor, "shadowColor");
    check(a.texture == b.texture, "texture");
    check(a.penWidth == b.penWidth, "penWidth");
    // A field added to the look and left out above still fails here.
    check(fields.isEmpty() == (a == b), "(a field not listed)");
    return fields;
}

// A picture named by a document, read as the command line reads it; null when it cannot be.
QImage PictureNamed(const QString& file)
{
    try {
        return file.isEmpty() ? QImage() : TPictureFile::Load(file, DocumentRenderer::TexturePart);
    } catch (const std::exception&) {
        return {};
    }
}

void Click(TShineSpeedButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// The controls' settings that differ from the document's, named for the failure message.
QStringList ControlsNotShowing(TMakeForm1& f, const LogoDocument& d)
{
    QStringList fields;
    auto check = [&](bool same, const char* name) {
        if (!same)
            fields << QString::fromLatin1(name);
    };
    check(f.Edit1->Text() == d.Text, "text");
    check(f.FontComboBox1->GetSelectedFont() == d.FontName, "face");
    const std::pair<TShineSpeedButton*, bool> buttons[] = {
        {f.SpeedButton18, d.FontStyle == TLogoFontStyle::Bold},
        {f.SpeedButton19, d.FontStyle == TLogoFontStyle::Italic},
        {f.SpeedButton20, d.FontStyle == TLogoFontStyle::Underline},
        {f.SpeedButton21, d.FontStyle == TLogoFontStyle::StrikeOut},
        {f.SpeedButton7, d.LabelStyle == TLogoLabelStyle::Normal},
        {f.SpeedButton8, d.LabelStyle == TLogoLabelStyle::Outline},
        {f.SpeedButton9, d.LabelStyle == TLogoLabelStyle::Solid},
        {f.SpeedButton10, d.ShadowStyle == TLogoShadowStyle::Normal},
        {f.SpeedButton11, d.ShadowStyle == TLogoShadowStyle::Deep},
        {f.SpeedButton12, d.ShadowStyle == TLogoShadowStyle::Gradation},
    };
    for (const auto& [button, down] : buttons)
        check(button->Down() == down, qPrintable(button->objectName()));
    check(f.TrackBar1->Position() == d.Size, "size");
    check(f.TrackBar3->Position() == d.Angle, "angle");
    check(f.TrackBar2->Position() == d.Depth, "depth");
    check(f.TrackBar6->Position() == d.Direction, "direction");
    check(f.ColorDialog2->Color() == d.TextColor, "text colour");
    check(f.ColorDialog3->Color() == d.ShadowColor, "shadow colour");
    check(f.ColorDialog1->Color() == d.BackgroundColor, "background colour");
    check(f.Image1->isHidden() == PictureNamed(d.BackgroundFile).isNull(), "background shown");
    return fields;
}

} // namespace

class tst_PreviewLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        QVERIFY(FDir.isValid());
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(Path(u"back.bmp"_s), "BMP"));
        picture.fill(Qt::red);
        QVERIFY(picture.save(Path(u"texture.bmp"_s), "BMP"));
        FileTesting::WriteAll(Path(u"logo.qvd"_s),
                              "[SET]\r\nLabel=Loaded\r\nFont=DejaVu Serif\r\nItalic=1\r\n"
                              "Size=90\r\nAngle=45\r\nStyle1=0\r\nStyle2=1\r\nShadow3=0\r\n"
                              "Shadow2=1\r\nDepth=120\r\nOrientation=5\r\nColor1=255\r\n"
                              "Color2=65280\r\nColor3=16711680\r\nImage1="
                                  + Path(u"texture.bmp"_s).toUtf8()
                                  + "\r\nImage2=" + Path(u"back.bmp"_s).toUtf8() + "\r\n");
        FileTesting::WriteAll(Path(u"gone.qvd"_s),
                              "[SET]\r\nLabel=Gone\r\nImage1=" + Path(u"none.bmp"_s).toUtf8()
                                  + "\r\nImage2=" + Path(u"none.bmp"_s).toUtf8() + "\r\n");
    }

    void cleanup() { FontInfo::SetTrueTypeProbe(nullptr); }

    void labelAndControlsShowTheDocument_data()
    {
        QTest::addColumn<Change>("change");
        auto row = [](const char* name, Change change) {
            QTest::newRow(name) << change;
        };
        row("typing", [](TMakeForm1& f, TestDialogs&) { QTest::keyClicks(f.Edit1, u"xyz"_s); });
        row("face", [](TMakeForm1& f, TestDialogs&) {
            f.FontComboBox1->SetSelectedFont(u"DejaVu Serif"_s);
        });
        row("bold", [](TMakeForm1& f, TestDialogs&) { Click(f.SpeedButton18); });
        row("italic after bold", [](TMakeForm1& f, TestDialogs&) {
            Click(f.SpeedButton18);
            Click(f.SpeedButton19);
        });
        row("strike-out pressed twice", [](TMakeForm1& f, TestDialogs&) {
            Click(f.SpeedButton21);
            Click(f.SpeedButton21);
        });
        row("underline", [](TMakeForm1& f, TestDialogs&) { Click(f.SpeedButton20); });
        row("size", [](TMakeForm1& f, TestDialogs&) { f.TrackBar1->SetPosition(120); });
        row("angle", [](TMakeForm1& f, TestDialogs&) { f.TrackBar3->SetPosition(45); });
        row("depth", [](TMakeForm1& f, TestDialogs&) { f.TrackBar2->SetPosition(120); });
        row("direction", [](TMakeForm1& f, TestDialogs&) { f.TrackBar6->SetPosition(5); });
        row("outline, deep", [](TMakeForm1& f, TestDialogs&) {
            Click(f.SpeedButton8);
            Click(f.SpeedButton11);
        });
        row("solid, flat", [](TMakeForm1& f, TestDialogs&) {
            Click(f.SpeedButton9);
            Click(f.SpeedButton10);
        });
        row("handler of a button that is up",
            [](TMakeForm1& f, TestDialogs&) { f.SpeedButton8Click(&f); });
        row("font style handler of a button that is up", [](TMakeForm1& f, TestDialogs&) {
            Click(f.SpeedButton19);
            f.SpeedButton18Click(&f);
        });
        row("colours", [](TMakeForm1& f, TestDialogs& d) {
            d.colorAnswers = {0x00123456, 0x00654321, 0x00ABCDEF};
            Click(f.SpeedButton13);
            Click(f.SpeedButton14);
            Click(f.SpeedButton15);
        });
        row("a bitmap face refuses to turn", [](TMakeForm1& f, TestDialogs&) {
            FontInfo::SetTrueTypeProbe(
                [](const QFont& font) { return font.family() != kBitmapFace; });
            f.FontComboBox1->SetSelectedFont(kBitmapFace);
            f.TrackBar3->SetPosition(30);
        });
        row("a turned logo gets a bitmap face", [](TMakeForm1& f, TestDialogs&) {
            FontInfo::SetTrueTypeProbe(
                [](const QFont& font) { return font.family() != kBitmapFace; });
            f.TrackBar3->SetPosition(30);
            f.FontComboBox1->SetSelectedFont(kBitmapFace);
        });
        row("texture and background chosen", [this](TMakeForm1& f, TestDialogs& d) {
            d.fileAnswers = {Path(u"texture.bmp"_s), Path(u"back.bmp"_s)};
            Click(f.SpeedButton17);
            Click(f.SpeedButton16);
        });
        row("texture and background removed", [this](TMakeForm1& f, TestDialogs& d) {
            d.fileAnswers = {Path(u"texture.bmp"_s), Path(u"back.bmp"_s)};
            Click(f.SpeedButton17);
            Click(f.SpeedButton16);
            Click(f.SpeedButton17);
            Click(f.SpeedButton16);
        });
        row("pictures dropped", [this](TMakeForm1& f, TestDialogs&) {
            f.SetTextureFile(Path(u"texture.bmp"_s));
            f.SetBackgroundFile(Path(u"back.bmp"_s));
        });
        row("load", [this](TMakeForm1& f, TestDialogs&) { f.LoadLogoFile(Path(u"logo.qvd"_s)); });
        row("load with missing pictures over shown ones", [this](TMakeForm1& f, TestDialogs&) {
            f.LoadLogoFile(Path(u"logo.qvd"_s));
            f.LoadLogoFile(Path(u"gone.qvd"_s));
        });
        row("new after a load", [this](TMakeForm1& f, TestDialogs&) {
            f.LoadLogoFile(Path(u"logo.qvd"_s));
            f.NewDocument();
        });
        row("undo of a load", [this](TMakeForm1& f, TestDialogs&) {
            f.LoadLogoFile(Path(u"logo.qvd"_s));
            f.History->Stack()->undo();
        });
        row("redo", [this](TMakeForm1& f, TestDialogs&) {
            f.LoadLogoFile(Path(u"logo.qvd"_s));
            f.TrackBar1->SetPosition(7);
            f.History->Stack()->undo();
            f.History->Stack()->undo();
            f.History->Stack()->redo();
        });
    }

    void labelAndControlsShowTheDocument()
    {
        QFETCH(Change, change);
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        form.NewDocument();
        change(form, dialogs);

        const LogoDocument document = form.Document();
        QCOMPARE(form.ShownDocument(), document);
        const QStringList unshown = ControlsNotShowing(form, document);
        QVERIFY2(unshown.isEmpty(), qPrintable(unshown.join(u", "_s)));
        const LogoLook derived =
            DocumentRenderer::LookOf(document, PictureNamed(document.TextureFile));
        const QStringList differences = Differences(form.Label1->Look(), derived);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u", "_s)));
        QCOMPARE(form.Label1->Transparent(), !PictureNamed(document.BackgroundFile).isNull());
    }

    // Until its fields are applied the preview shows the layout's start logo, whose caption and
    // face the fields do not hold; it is still drawn from a document, as exports draw it.
    void startLogoIsADocumentToo()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        LogoDocument start = form.Document();
        start.Text = u"TAMRIN - Quilvoro"_s;
        start.FontName = u"ＭＳ Ｐゴシック"_s;
        QCOMPARE(form.ShownDocument(), start);
        QVERIFY(Differences(form.Label1->Look(), DocumentRenderer::LookOf(start, {})).isEmpty());

        form.TrackBar1->SetPosition(60);
        QCOMPARE(form.ShownDocument().Text, start.Text);
        QTest::keyClicks(form.Edit1, u"!"_s);
        QCOMPARE(form.ShownDocument().Text, u"Tamrin - Quilvoro!"_s);
        QCOMPARE(form.ShownDocument().FontName, start.FontName);
        form.FontComboBox1->SetSelectedFont(u"DejaVu Serif"_s);
        QCOMPARE(form.ShownDocument(), form.Document());
        QCOMPARE(form.Label1->Caption(), u"Tamrin - Quilvoro!"_s);
    }

    // A file without a face shows from the start screen in the face the command line draws.
    void aFileWithoutAFaceHasTheCommandLinesFace()
    {
        const QString file = Path(u"faceless.qvd"_s);
        FileTesting::WriteAll(file, "[SET]\r\nLabel=Faceless\r\nSize=80\r\n");
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        form.LoadWithTransition(file);
        WorkingWindow::RunToEnd(form.Timer2);
        const std::optional<LogoDocument> loaded = LogoFile::Load(file, nullptr);
        QVERIFY(loaded);
        const QString face = DocumentRenderer::LookOf(*loaded, {}).font.family();
        QVERIFY(!face.isEmpty());
        QCOMPARE(form.Label1->Look().font.family(), face);
        QCOMPARE(form.FontComboBox1->GetSelectedFont(), face);
    }

private:
    QString Path(const QString& name) const { return FDir.filePath(name); }

    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_PreviewLook)
#include "tst_PreviewLook.moc"
