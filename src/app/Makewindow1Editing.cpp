// Handlers that carry each editing control into the preview label, and the New reset.
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTrackBar.h"
#include "render/DocumentRenderer.h"

namespace {

// Opens a colour dialog on its remembered colour; the confirmed choice goes to `apply`.
template<class Apply> void ChooseColor(QWidget* parent, TColorDialog* dialog, Apply apply)
{
    if (dialog->Execute(parent))
        apply(dialog->Color());
}

} // namespace

void TMakeForm1::Edit1Change(QObject*)
{
    Label1->SetCaption(Edit1->Text());
}

void TMakeForm1::FontComboBox1Change(QObject*)
{
    Label1->Font()->SetName(FontComboBox1->GetSelectedFont());
}

void TMakeForm1::ApplyFontStyle(TShineSpeedButton* button, int styleBit)
{
    // The four buttons form one all-up group, so at most one of them is down.
    Label1->Font()->SetStyle(button->Down() ? TFontStyles(styleBit) : TFontStyles(0));
}

void TMakeForm1::SpeedButton18Click(QObject*)
{
    ApplyFontStyle(SpeedButton18, fsBold);
}

void TMakeForm1::SpeedButton19Click(QObject*)
{
    ApplyFontStyle(SpeedButton19, fsItalic);
}

void TMakeForm1::SpeedButton20Click(QObject*)
{
    ApplyFontStyle(SpeedButton20, fsUnderline);
}

void TMakeForm1::SpeedButton21Click(QObject*)
{
    ApplyFontStyle(SpeedButton21, fsStrikeOut);
}

void TMakeForm1::TrackBar1Change(QObject*)
{
    Label1->Font()->SetSize(TrackBar1->Position());
}

void TMakeForm1::TrackBar3Change(QObject*)
{
    Label1->SetAngle(TrackBar3->Position());
}

void TMakeForm1::TrackBar2Change(QObject*)
{
    Label1->Effect3D()->SetDepth(std::uint16_t(TrackBar2->Position()));
}

void TMakeForm1::TrackBar6Change(QObject*)
{
    const int position = TrackBar6->Position();
    if (position >= LogoDocument::kMinDirection && position <= LogoDocument::kMaxDirection)
        Label1->Effect3D()->SetOrientation(DocumentRenderer::OrientationAt(position));
}

void TMakeForm1::SpeedButton7Click(QObject*)
{
    Label1->SetStyle(dxfNormal);
}

void TMakeForm1::SpeedButton8Click(QObject*)
{
    Label1->SetStyle(dxfOutLine);
}

void TMakeForm1::SpeedButton9Click(QObject*)
{
    Label1->SetStyle(dxfRaised);
}

void TMakeForm1::SpeedButton10Click(QObject*)
{
    Label1->Effect3D()->SetStyle(dxfCool);
}

void TMakeForm1::SpeedButton11Click(QObject*)
{
    Label1->Effect3D()->SetStyle(dxfExtrude);
}

void TMakeForm1::SpeedButton12Click(QObject*)
{
    Label1->Effect3D()->SetStyle(dxfFun);
}

void TMakeForm1::SpeedButton13Click(QObject*)
{
    ChooseColor(this, ColorDialog2, [this](TColor c) { Label1->Font()->SetColor(c); });
}

void TMakeForm1::SpeedButton14Click(QObject*)
{
    ChooseColor(this, ColorDialog3, [this](TColor c) { Label1->Effect3D()->SetShadowedColor(c); });
}

void TMakeForm1::SpeedButton15Click(QObject*)
{
    ChooseColor(this, ColorDialog1, [this](TColor c) { Label1->SetColor(c); });
}

void TMakeForm1::NewDocument()
{
    // one step of the history, and what the window shows afterwards counts as saved
    const TLogoHistory::TBatch step(History, true);
    // the face in use and the texture stay; the background picture goes
    LogoDocument fresh;
    fresh.FontName = Label1->Font()->Name();
    ApplySettings(fresh);
    Image1->setVisible(false);
    Image1->ClearPicture();
    Label1->SetTransparent(false);
}
