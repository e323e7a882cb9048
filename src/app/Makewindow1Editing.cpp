// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Handlers that write each editing control's field into the logo editor, and the New reset.
// The editor's change shows the document in the controls and the preview (ShowDocument).
#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TTrackBar.h"

namespace {

// Opens a colour dialog on the document's colour; the confirmed choice goes to `field`.
void ChooseColor(TMakeForm1* form, TColorDialog* dialog, TColor LogoDocument::*field)
{
    if (!dialog->Execute(form))
        return;
    form->Editor->Change([field, c = dialog->Color()](LogoDocument& d) { d.*field = c; },
                         TLogoHistory::hkOther);
}

} // namespace

void TMakeForm1::Edit(const std::function<void(LogoDocument&)>& mutate, int kind)
{
    if (!FShowing)
        Editor->Change(mutate, kind);
}

void TMakeForm1::Edit1Change(QObject*)
{
    if (FShowing)
        return;
    FStartCaption.reset();
    Edit([text = Edit1->Text()](LogoDocument& d) { d.Text = text; }, TLogoHistory::hkText);
}

void TMakeForm1::FontComboBox1Change(QObject*)
{
    if (FShowing)
        return;
    FStartFace.reset();
    Edit([face = FontComboBox1->GetSelectedFont()](LogoDocument& d) { d.FontName = face; },
         TLogoHistory::hkOther);
}

// The four font style buttons form one all-up group; a handler stands for its own button alone.
void TMakeForm1::SetFontStyle(const TShineSpeedButton* button, TLogoFontStyle style)
{
    Edit([style = button->Down() ? style
                                 : TLogoFontStyle::None](LogoDocument& d) { d.FontStyle = style; },
         TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton18Click(QObject*)
{
    SetFontStyle(SpeedButton18, TLogoFontStyle::Bold);
}

void TMakeForm1::SpeedButton19Click(QObject*)
{
    SetFontStyle(SpeedButton19, TLogoFontStyle::Italic);
}

void TMakeForm1::SpeedButton20Click(QObject*)
{
    SetFontStyle(SpeedButton20, TLogoFontStyle::Underline);
}

void TMakeForm1::SpeedButton21Click(QObject*)
{
    SetFontStyle(SpeedButton21, TLogoFontStyle::StrikeOut);
}

void TMakeForm1::TrackBar1Change(QObject*)
{
    Edit([p = TrackBar1->Position()](LogoDocument& d) { d.Size = p; }, TLogoHistory::hkSize);
}

void TMakeForm1::TrackBar3Change(QObject*)
{
    if (FShowing)
        return;
    // A bitmap face does not turn: the label beeps and explains, and the preview shows it
    // unturned.
    Label1->AngleAllowed(TrackBar3->Position());
    Edit([p = TrackBar3->Position()](LogoDocument& d) { d.Angle = p; }, TLogoHistory::hkAngle);
}

void TMakeForm1::TrackBar2Change(QObject*)
{
    Edit([p = TrackBar2->Position()](LogoDocument& d) { d.Depth = p; }, TLogoHistory::hkDepth);
}

void TMakeForm1::TrackBar6Change(QObject*)
{
    Edit([p = TrackBar6->Position()](LogoDocument& d) { d.Direction = p; },
         TLogoHistory::hkDirection);
}

// Each label or shadow style handler stands for its button whether or not a click put it down.
void TMakeForm1::SpeedButton7Click(QObject*)
{
    Edit([](LogoDocument& d) { d.LabelStyle = TLogoLabelStyle::Normal; }, TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton8Click(QObject*)
{
    Edit([](LogoDocument& d) { d.LabelStyle = TLogoLabelStyle::Outline; }, TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton9Click(QObject*)
{
    Edit([](LogoDocument& d) { d.LabelStyle = TLogoLabelStyle::Solid; }, TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton10Click(QObject*)
{
    Edit([](LogoDocument& d) { d.ShadowStyle = TLogoShadowStyle::Normal; }, TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton11Click(QObject*)
{
    Edit([](LogoDocument& d) { d.ShadowStyle = TLogoShadowStyle::Deep; }, TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton12Click(QObject*)
{
    Edit([](LogoDocument& d) { d.ShadowStyle = TLogoShadowStyle::Gradation; },
         TLogoHistory::hkOther);
}

void TMakeForm1::SpeedButton13Click(QObject*)
{
    ChooseColor(this, ColorDialog2, &LogoDocument::TextColor);
}

void TMakeForm1::SpeedButton14Click(QObject*)
{
    ChooseColor(this, ColorDialog3, &LogoDocument::ShadowColor);
}

void TMakeForm1::SpeedButton15Click(QObject*)
{
    ChooseColor(this, ColorDialog1, &LogoDocument::BackgroundColor);
}

void TMakeForm1::NewDocument()
{
    // one step of the history, and what the window shows afterwards counts as saved
    const TLogoHistory::TBatch step(History, true);
    // the face in use and the texture stay; the background picture goes
    LogoDocument fresh;
    fresh.FontName = ListedFace(ShownDocument().FontName);
    fresh.TextureFile = Document().TextureFile;
    FStartCaption.reset();
    FStartFace.reset();
    Editor->Replace(fresh, {QImage(), Pictures().texture});
}
