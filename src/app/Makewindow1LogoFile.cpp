// Saving the logo document to a .qvd file and reading it back into the controls.
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TColorDialog.h"
#include "framework/TDialogs.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TIniFile.h"
#include "framework/TPictureFile.h"
#include "framework/TTrackBar.h"
#include "platform/Sound.h"
#include "render/dxfLabel.h"

using namespace Qt::StringLiterals;

namespace {

const QString kSection = u"SET"_s;

// The framework's plain message: no icon, the application's title, one OK button.
void ShowPictureMissing(const QString& message)
{
    Sound::MessageBeep(Sound::MB_OK);
    const TApplication* app = TApplication::Instance();
    TDialogs::Current().MessageBox(nullptr, message, app ? app->Title() : QString(), MB_OK);
}

// Reads one Down state per button; a button that ends up down applies its setting.
void ReadButtonGroup(
    TMakeForm1* form, const TIniFile& ini,
    std::initializer_list<std::tuple<const char16_t*, TShineSpeedButton*, TMakeForm1::Handler>>
        keys)
{
    for (const auto& [key, button, click] : keys) {
        button->SetDown(ini.ReadBool(kSection, QString::fromUtf16(key), button->Down()));
        if (button->Down())
            (form->*click)(form);
    }
}

void ReadTrackBar(TMakeForm1* form, const TIniFile& ini, const QString& key, TTrackBar* bar,
                  TMakeForm1::Handler change)
{
    bar->SetPosition(ini.ReadInteger(kSection, key, bar->Position()));
    (form->*change)(form);
}

TColor ReadColor(const TIniFile& ini, const QString& key, TColor current)
{
    return TColor(ini.ReadInteger(kSection, key, int(current)));
}

} // namespace

void TMakeForm1::SpeedButton3Click(QObject*)
{
    if (!SaveDialog1->Execute(this))
        return;
    SaveLogoFile(SaveDialog1->FileName());
}

void TMakeForm1::SaveLogoFile(const QString& fileName)
{
    TIniFile ini(fileName);
    ini.WriteString(kSection, u"Label"_s, Edit1->Text());
    ini.WriteString(kSection, u"Font"_s, FontComboBox1->GetSelectedFont());
    ini.WriteBool(kSection, u"Bold"_s, SpeedButton18->Down());
    ini.WriteBool(kSection, u"Italic"_s, SpeedButton19->Down());
    ini.WriteBool(kSection, u"Under"_s, SpeedButton20->Down());
    ini.WriteBool(kSection, u"Strike"_s, SpeedButton21->Down());
    ini.WriteInteger(kSection, u"Size"_s, TrackBar1->Position());
    ini.WriteInteger(kSection, u"Angle"_s, TrackBar3->Position());
    ini.WriteBool(kSection, u"Style1"_s, SpeedButton7->Down());
    ini.WriteBool(kSection, u"Style2"_s, SpeedButton8->Down());
    ini.WriteBool(kSection, u"Style3"_s, SpeedButton9->Down());
    ini.WriteBool(kSection, u"Shadow1"_s, SpeedButton10->Down());
    ini.WriteBool(kSection, u"Shadow2"_s, SpeedButton11->Down());
    ini.WriteBool(kSection, u"Shadow3"_s, SpeedButton12->Down());
    ini.WriteInteger(kSection, u"Depth"_s, TrackBar2->Position());
    ini.WriteInteger(kSection, u"Orientation"_s, TrackBar6->Position());
    ini.WriteInteger(kSection, u"Color1"_s, int(Label1->Font()->Color()));
    ini.WriteInteger(kSection, u"Color2"_s, int(Label1->Effect3D()->ShadowedColor()));
    ini.WriteInteger(kSection, u"Color3"_s, int(Label1->Color()));
    ini.WriteString(kSection, u"Image1"_s, OpenPictureDialog2->FileName());
    ini.WriteString(kSection, u"Image2"_s,
                    !Image1->isHidden() ? OpenPictureDialog1->FileName() : QString());
    // All keys land in one atomic replacement of the file.
    ini.UpdateFile();
}

void TMakeForm1::LoadLogoFile(const QString& fileName)
{
    const TIniFile ini(fileName);
    Edit1->SetText(ini.ReadString(kSection, u"Label"_s, Edit1->Text()));
    Edit1Change(this);
    FontComboBox1->SetSelectedFont(
        ini.ReadString(kSection, u"Font"_s, FontComboBox1->GetSelectedFont()));
    FontComboBox1Change(this);

    ReadButtonGroup(this, ini,
                    {{u"Bold", SpeedButton18, &TMakeForm1::SpeedButton18Click},
                     {u"Italic", SpeedButton19, &TMakeForm1::SpeedButton19Click},
                     {u"Under", SpeedButton20, &TMakeForm1::SpeedButton20Click},
                     {u"Strike", SpeedButton21, &TMakeForm1::SpeedButton21Click}});
    if (!SpeedButton18->Down() && !SpeedButton19->Down() && !SpeedButton20->Down()
        && !SpeedButton21->Down())
        Label1->Font()->SetStyle(0);

    ReadTrackBar(this, ini, u"Size"_s, TrackBar1, &TMakeForm1::TrackBar1Change);
    ReadTrackBar(this, ini, u"Angle"_s, TrackBar3, &TMakeForm1::TrackBar3Change);
    ReadButtonGroup(this, ini,
                    {{u"Style1", SpeedButton7, &TMakeForm1::SpeedButton7Click},
                     {u"Style2", SpeedButton8, &TMakeForm1::SpeedButton8Click},
                     {u"Style3", SpeedButton9, &TMakeForm1::SpeedButton9Click}});
    ReadButtonGroup(this, ini,
                    {{u"Shadow1", SpeedButton10, &TMakeForm1::SpeedButton10Click},
                     {u"Shadow2", SpeedButton11, &TMakeForm1::SpeedButton11Click},
                     {u"Shadow3", SpeedButton12, &TMakeForm1::SpeedButton12Click}});
    ReadTrackBar(this, ini, u"Depth"_s, TrackBar2, &TMakeForm1::TrackBar2Change);
    ReadTrackBar(this, ini, u"Orientation"_s, TrackBar6, &TMakeForm1::TrackBar6Change);

    Label1->Font()->SetColor(ReadColor(ini, u"Color1"_s, Label1->Font()->Color()));
    ColorDialog2->SetColor(Label1->Font()->Color());
    Label1->Effect3D()->SetShadowedColor(
        ReadColor(ini, u"Color2"_s, Label1->Effect3D()->ShadowedColor()));
    ColorDialog3->SetColor(Label1->Effect3D()->ShadowedColor());
    Label1->SetColor(ReadColor(ini, u"Color3"_s, Label1->Color()));
    ColorDialog1->SetColor(Label1->Color());

    const QString texture = ini.ReadString(kSection, u"Image1"_s, OpenPictureDialog2->FileName());
    OpenPictureDialog2->SetFileName(texture);
    if (texture.isEmpty()) {
        Label1->SetGlyph(QImage());
    } else {
        try {
            Label1->SetGlyph(TPictureFile::Load(texture));
        } catch (const EPictureFileError&) {
            ShowPictureMissing(u"文字画像(テクスチャ)ファイル存在セズ..."_s);
        }
    }

    const QString background =
        ini.ReadString(kSection, u"Image2"_s, OpenPictureDialog1->FileName());
    OpenPictureDialog1->SetFileName(background);
    if (background.isEmpty()) {
        Image1->setVisible(false);
        Image1->ClearPicture();
        Label1->SetTransparent(false);
        return;
    }
    Image1->ClearPicture();
    try {
        Image1->SetPicture(TPictureFile::Load(background));
        Image1->setVisible(true);
        Label1->SetTransparent(true);
    } catch (const EPictureFileError&) {
        ShowPictureMissing(u"背景画像ファイル存在セズ..."_s);
    }
}
