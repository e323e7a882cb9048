// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The logo document the window shows: saving it to a .qvd file, reading one back, and showing
// the editor's document in the controls and the preview.
#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "document/LogoFile.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TColorDialog.h"
#include "framework/TDialogs.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTrackBar.h"
#include "platform/Sound.h"
#include "platform/TPictureFile.h"
#include "render/DocumentRenderer.h"

#include <QScopedValueRollback>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// A button of a group and the style it stands for.
template<class E> struct TStyleButton
{
    TShineSpeedButton* TMakeForm1::*button;
    E style;
};

constexpr std::array<TStyleButton<TLogoFontStyle>, 4> kFontStyleButtons = {{
    {&TMakeForm1::SpeedButton18, TLogoFontStyle::Bold},
    {&TMakeForm1::SpeedButton19, TLogoFontStyle::Italic},
    {&TMakeForm1::SpeedButton20, TLogoFontStyle::Underline},
    {&TMakeForm1::SpeedButton21, TLogoFontStyle::StrikeOut},
}};

constexpr std::array<TStyleButton<TLogoLabelStyle>, 3> kLabelStyleButtons = {{
    {&TMakeForm1::SpeedButton7, TLogoLabelStyle::Normal},
    {&TMakeForm1::SpeedButton8, TLogoLabelStyle::Outline},
    {&TMakeForm1::SpeedButton9, TLogoLabelStyle::Solid},
}};

constexpr std::array<TStyleButton<TLogoShadowStyle>, 3> kShadowStyleButtons = {{
    {&TMakeForm1::SpeedButton10, TLogoShadowStyle::Normal},
    {&TMakeForm1::SpeedButton11, TLogoShadowStyle::Deep},
    {&TMakeForm1::SpeedButton12, TLogoShadowStyle::Gradation},
}};

// Puts the button of `style` down and the others up.
template<class E, std::size_t N>
void ShowStyle(TMakeForm1* form, const std::array<TStyleButton<E>, N>& buttons, E style)
{
    for (const TStyleButton<E>& b : buttons)
        (form->*b.button)->SetDown(b.style == style);
}

void ShowPosition(TTrackBar* bar, int position)
{
    if (bar->Position() != position)
        bar->SetPosition(position);
}

// The framework's plain message: no icon, the application's title, one OK button.
void ShowPictureMissing(const QString& message)
{
    Sound::MessageBeep(Sound::MB_OK);
    const TApplication* app = TApplication::Instance();
    TDialogs::Current().MessageBox(nullptr, message, app ? app->Title() : QString(), MB_OK);
}

// Runs `load`; whatever it throws (a bad file, or no memory for a huge picture) is reported
// as the picture's missing-file message once the failure is behind us, and the caller goes on.
template<class Load> void LoadOrReport(Load load, const QString& message)
{
    bool failed = false;
    try {
        load();
    } catch (...) {
        failed = true;
    }
    if (failed)
        ShowPictureMissing(message);
}

} // namespace

void TMakeForm1::SpeedButton3Click(QObject*)
{
    if (!SaveDialog1->Execute(this))
        return;
    SaveLogoFile(SaveDialog1->FileName());
    LogoFileUsed(SaveDialog1->FileName());
}

void TMakeForm1::SaveLogoFile(const QString& fileName)
{
    LogoFile::Write(Document(), fileName);
}

void TMakeForm1::LoadLogoFile(const QString& fileName)
{
    // one step of the history, and what the window shows afterwards counts as saved
    const TLogoHistory::TBatch step(History, true);
    LogoDocument current = Document();
    // A file without a background key loads the remembered background again, even when hidden.
    current.BackgroundFile = OpenPictureDialog1->FileName();
    ApplyDocument(LogoFile::Read(fileName, current));
}

const LogoDocument& TMakeForm1::Document() const
{
    return Editor->Document();
}

const RenderPictures& TMakeForm1::Pictures() const
{
    return Editor->Pictures();
}

LogoDocument TMakeForm1::ShownDocument() const
{
    LogoDocument d = Editor->Shown();
    if (FStartCaption)
        d.Text = *FStartCaption;
    if (FStartFace)
        d.FontName = *FStartFace;
    return d;
}

void TMakeForm1::ShowDocument()
{
    const LogoDocument& d = Document();
    {
        const QScopedValueRollback showing(FShowing, true);
        // Only what differs is set: a field being typed in keeps its cursor.
        if (Edit1->Text() != d.Text)
            Edit1->SetText(d.Text);
        if (FontComboBox1->GetSelectedFont() != d.FontName)
            FontComboBox1->SetSelectedFont(d.FontName);
        ShowStyle(this, kFontStyleButtons, d.FontStyle);
        ShowPosition(TrackBar1, d.Size);
        ShowPosition(TrackBar3, d.Angle);
        ShowStyle(this, kLabelStyleButtons, d.LabelStyle);
        ShowStyle(this, kShadowStyleButtons, d.ShadowStyle);
        ShowPosition(TrackBar2, d.Depth);
        ShowPosition(TrackBar6, d.Direction);
        // The colour dialogs open on the document's colours.
        ColorDialog2->SetColor(d.TextColor);
        ColorDialog3->SetColor(d.ShadowColor);
        ColorDialog1->SetColor(d.BackgroundColor);
        const QImage& background = Pictures().background;
        if (Image1->Picture().cacheKey() != background.cacheKey())
            Image1->SetPicture(background);
        Image1->setVisible(!background.isNull());
    }
    ShowPreview();
}

void TMakeForm1::ShowPreview()
{
    const PreviewScene scene = ShownScene();
    Label1->SetLook(scene.look);
    Label1->SetTransparent(scene.labelTransparent);
}

QString TMakeForm1::ListedFace(const QString& name)
{
    const QScopedValueRollback showing(FShowing, true);
    FontComboBox1->SetSelectedFont(name);
    return FontComboBox1->GetSelectedFont();
}

void TMakeForm1::ApplyDocument(const LogoDocument& document)
{
    LogoDocument d = document;
    d.FontName = ListedFace(d.FontName);
    const RenderPictures pictures = LoadPictures(d);
    FStartCaption.reset();
    FStartFace.reset();
    Editor->Replace(d, pictures);
}

RenderPictures TMakeForm1::LoadPictures(const LogoDocument& d)
{
    RenderPictures pictures;
    // The dialogs open on the pictures named last, also when they could not be read.
    OpenPictureDialog2->SetFileName(d.TextureFile);
    if (!d.TextureFile.isEmpty())
        LoadOrReport([&] { pictures.texture = LoadPicture(d.TextureFile, puTexture); },
                     u"文字画像(テクスチャ)ファイル存在セズ..."_s);
    OpenPictureDialog1->SetFileName(d.BackgroundFile);
    if (!d.BackgroundFile.isEmpty())
        LoadOrReport([&] { pictures.background = LoadPicture(d.BackgroundFile, puBackground); },
                     u"背景画像ファイル存在セズ..."_s);
    return pictures;
}

QImage TMakeForm1::LoadPicture(const QString& fileName, TPictureUse use) const
{
    // Only the part a render can show, at any scale, is decoded: the preview's region is fixed
    // and exports draw that region in more device pixels, not more of the picture.
    return TPictureFile::Load(fileName,
                              use == puTexture ? &DocumentRenderer::TexturePart
                                               : &DocumentRenderer::BackgroundPart);
}
