// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Handlers that carry each editing control into the preview label, and the New reset. Each
// ends in ShowDocument(): the label shows the document the controls hold, as exports draw it.
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

// Opens a colour dialog on its remembered colour; the confirmed choice goes to `apply`, and
// then into the preview.
template<class Apply> void ChooseColor(TMakeForm1* form, TColorDialog* dialog, Apply apply)
{
    if (!dialog->Execute(form))
        return;
    apply(dialog->Color());
    form->ShowDocument();
}

} // namespace

void TMakeForm1::Edit1Change(QObject*)
{
    FStartCaption.reset();
    ShowDocument();
}

void TMakeForm1::FontComboBox1Change(QObject*)
{
    FStartFace.reset();
    ShowDocument();
}

// The four font style buttons form one all-up group, so at most one of them is down and the
// document's style is that one's.
void TMakeForm1::SpeedButton18Click(QObject*)
{
    ShowDocument();
}

void TMakeForm1::SpeedButton19Click(QObject*)
{
    ShowDocument();
}

void TMakeForm1::SpeedButton20Click(QObject*)
{
    ShowDocument();
}

void TMakeForm1::SpeedButton21Click(QObject*)
{
    ShowDocument();
}

void TMakeForm1::TrackBar1Change(QObject*)
{
    ShowDocument();
}

void TMakeForm1::TrackBar3Change(QObject*)
{
    // A bitmap face does not turn: the label beeps and explains, and the document shows it
    // unturned.
    Label1->AngleAllowed(TrackBar3->Position());
    ShowDocument();
}

void TMakeForm1::TrackBar2Change(QObject*)
{
    ShowDocument();
}

void TMakeForm1::TrackBar6Change(QObject*)
{
    ShowDocument();
}

void TMakeForm1::SelectStyle(TShineSpeedButton* button)
{
    // The handler stands for its button whether or not a click put it down.
    button->SetDown(true);
    ShowDocument();
}

void TMakeForm1::SpeedButton7Click(QObject*)
{
    SelectStyle(SpeedButton7);
}

void TMakeForm1::SpeedButton8Click(QObject*)
{
    SelectStyle(SpeedButton8);
}

void TMakeForm1::SpeedButton9Click(QObject*)
{
    SelectStyle(SpeedButton9);
}

void TMakeForm1::SpeedButton10Click(QObject*)
{
    SelectStyle(SpeedButton10);
}

void TMakeForm1::SpeedButton11Click(QObject*)
{
    SelectStyle(SpeedButton11);
}

void TMakeForm1::SpeedButton12Click(QObject*)
{
    SelectStyle(SpeedButton12);
}

// The label keeps the three colours; the dialogs open on them.
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
    fresh.FontName = ShownDocument().FontName;
    ApplySettings(fresh);
    Image1->setVisible(false);
    Image1->ClearPicture();
    ShowDocument();
}
