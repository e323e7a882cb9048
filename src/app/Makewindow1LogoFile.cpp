// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The logo document the window shows: saving it to a .qvd file, reading one back, and carrying
// a document into the controls through their handlers.
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

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// A button of a group and the style it stands for.
template<class E> struct TStyleButton
{
    TShineSpeedButton* TMakeForm1::*button;
    TMakeForm1::Handler click;
    E style;
};

constexpr std::array<TStyleButton<TLogoFontStyle>, 4> kFontStyleButtons = {{
    {&TMakeForm1::SpeedButton18, &TMakeForm1::SpeedButton18Click, TLogoFontStyle::Bold},
    {&TMakeForm1::SpeedButton19, &TMakeForm1::SpeedButton19Click, TLogoFontStyle::Italic},
    {&TMakeForm1::SpeedButton20, &TMakeForm1::SpeedButton20Click, TLogoFontStyle::Underline},
    {&TMakeForm1::SpeedButton21, &TMakeForm1::SpeedButton21Click, TLogoFontStyle::StrikeOut},
}};

constexpr std::array<TStyleButton<TLogoLabelStyle>, 3> kLabelStyleButtons = {{
    {&TMakeForm1::SpeedButton7, &TMakeForm1::SpeedButton7Click, TLogoLabelStyle::Normal},
    {&TMakeForm1::SpeedButton8, &TMakeForm1::SpeedButton8Click, TLogoLabelStyle::Outline},
    {&TMakeForm1::SpeedButton9, &TMakeForm1::SpeedButton9Click, TLogoLabelStyle::Solid},
}};

constexpr std::array<TStyleButton<TLogoShadowStyle>, 3> kShadowStyleButtons = {{
    {&TMakeForm1::SpeedButton10, &TMakeForm1::SpeedButton10Click, TLogoShadowStyle::Normal},
    {&TMakeForm1::SpeedButton11, &TMakeForm1::SpeedButton11Click, TLogoShadowStyle::Deep},
    {&TMakeForm1::SpeedButton12, &TMakeForm1::SpeedButton12Click, TLogoShadowStyle::Gradation},
}};

// The style of the group's down button, or `none` when all are up.
template<class E, std::size_t N>
E DownStyle(const TMakeForm1* form, const std::array<TStyleButton<E>, N>& buttons, E none)
{
    for (const TStyleButton<E>& b : buttons) {
        if ((form->*b.button)->Down())
            return b.style;
    }
    return none;
}

// Puts the button of `style` down and the others up, in button order, and applies the style.
template<class E, std::size_t N>
void ApplyStyle(TMakeForm1* form, const std::array<TStyleButton<E>, N>& buttons, E style)
{
    for (const TStyleButton<E>& b : buttons) {
        TShineSpeedButton* button = form->*b.button;
        button->SetDown(b.style == style);
        if (button->Down())
            (form->*b.click)(form);
    }
}

void ApplyPosition(TMakeForm1* form, TTrackBar* bar, int position, TMakeForm1::Handler change)
{
    bar->SetPosition(position);
    (form->*change)(form);
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

LogoDocument TMakeForm1::Document() const
{
    const LogoDocument defaults;
    LogoDocument d;
    d.Text = Edit1->Text();
    d.FontName = FontComboBox1->GetSelectedFont();
    d.FontStyle = DownStyle(this, kFontStyleButtons, TLogoFontStyle::None);
    d.Size = TrackBar1->Position();
    d.Angle = TrackBar3->Position();
    d.LabelStyle = DownStyle(this, kLabelStyleButtons, defaults.LabelStyle);
    d.ShadowStyle = DownStyle(this, kShadowStyleButtons, defaults.ShadowStyle);
    d.Depth = TrackBar2->Position();
    d.Direction = TrackBar6->Position();
    d.TextColor = Label1->Font()->Color();
    d.ShadowColor = Label1->Effect3D()->ShadowedColor();
    d.BackgroundColor = Label1->Color();
    d.TextureFile = OpenPictureDialog2->FileName();
    d.BackgroundFile = !Image1->isHidden() ? OpenPictureDialog1->FileName() : QString();
    d.Warp = Label1->Warp();
    d.WarpAmount = Label1->WarpAmount();
    return d;
}

LogoDocument TMakeForm1::ShownDocument() const
{
    LogoDocument d = Document();
    if (FStartCaption)
        d.Text = *FStartCaption;
    if (FStartFace)
        d.FontName = *FStartFace;
    return d;
}

void TMakeForm1::ShowDocument()
{
    const PreviewScene scene = ShownScene();
    Label1->SetLook(scene.look);
    Label1->SetTransparent(scene.labelTransparent);
}

void TMakeForm1::ApplyDocument(const LogoDocument& document)
{
    ApplySettings(document);
    ApplyPictures(document);
}

void TMakeForm1::ApplySettings(const LogoDocument& d)
{
    Edit1->SetText(d.Text);
    Edit1Change(this);
    FontComboBox1->SetSelectedFont(d.FontName);
    FontComboBox1Change(this);
    ApplyStyle(this, kFontStyleButtons, d.FontStyle);
    ApplyPosition(this, TrackBar1, d.Size, &TMakeForm1::TrackBar1Change);
    ApplyPosition(this, TrackBar3, d.Angle, &TMakeForm1::TrackBar3Change);
    ApplyStyle(this, kLabelStyleButtons, d.LabelStyle);
    ApplyStyle(this, kShadowStyleButtons, d.ShadowStyle);
    ApplyPosition(this, TrackBar2, d.Depth, &TMakeForm1::TrackBar2Change);
    ApplyPosition(this, TrackBar6, d.Direction, &TMakeForm1::TrackBar6Change);
    Label1->Font()->SetColor(d.TextColor);
    ColorDialog2->SetColor(Label1->Font()->Color());
    Label1->Effect3D()->SetShadowedColor(d.ShadowColor);
    ColorDialog3->SetColor(Label1->Effect3D()->ShadowedColor());
    Label1->SetColor(d.BackgroundColor);
    ColorDialog1->SetColor(Label1->Color());
    Label1->SetWarp(d.Warp);
    Label1->SetWarpAmount(d.WarpAmount);
    ShowDocument();
}

void TMakeForm1::ApplyPictures(const LogoDocument& d)
{
    OpenPictureDialog2->SetFileName(d.TextureFile);
    // A texture that cannot be read is left out, not replaced by the one shown before.
    Label1->SetGlyph(QImage());
    if (!d.TextureFile.isEmpty())
        LoadOrReport([&] { Label1->SetGlyph(LoadPicture(d.TextureFile)); },
                     u"文字画像(テクスチャ)ファイル存在セズ..."_s);

    OpenPictureDialog1->SetFileName(d.BackgroundFile);
    Image1->ClearPicture();
    if (d.BackgroundFile.isEmpty())
        Image1->setVisible(false);
    else
        LoadOrReport(
            [&] {
                Image1->SetPicture(LoadPicture(d.BackgroundFile));
                Image1->setVisible(true);
            },
            u"背景画像ファイル存在セズ..."_s);
    ShowDocument();
}

QImage TMakeForm1::LoadPicture(const QString& fileName) const
{
    return TPictureFile::Load(fileName);
}
