// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The slide transition of New and Load: the preview panel slides up out of view, the action runs
// once at the turning point, and the panel slides back down.
#include "app/Makewindow1.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "platform/ProgramPath.h"
#include "platform/Sound.h"

#include <QFileInfo>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Per step: the preview panel moves 14 px, the window and the lower panel grow 4 px, the
// header picture moves 2 px and the window's top rises 1 px.
constexpr int kPanelOutOfView = -420;
constexpr int kPanelStep = 14;
constexpr int kGrowStep = 4;
constexpr int kHeaderStep = 2;
// A window manager that answers late may still push a stale size after the last step; for
// this long the window puts its own size back, a few times at most.
constexpr int kSettleMs = 2000;
constexpr int kSettleLimit = 8;

} // namespace

QSize TMakeForm1::SlideSize(int phase)
{
    return {kClientWidth, kClientHeight + kGrowStep * phase};
}

void TMakeForm1::SpeedButton1Click(QObject*)
{
    if (!Timer1->Enabled() && !ConfirmDiscard())
        return;
    Timer1->SetEnabled(true);
}

void TMakeForm1::SpeedButton2Click(QObject*)
{
    if (!Timer2->Enabled() && !ConfirmDiscard())
        return;
    Timer2->SetEnabled(true);
}

void TMakeForm1::SetSlidePhase(int phase)
{
    // Every step is placed from where the slide began, never added to the window's present
    // geometry: a window manager may not have applied the last step yet.
    if (!FSlideStart)
        FSlideStart = std::pair(pos(), FSlidePhase);
    FSlidePhase = phase;
    Panel0->move(Panel0->x(), kPanelOutOfView + kPanelStep * phase);
    Panel5->resize(Panel5->width(), FLowerBaseHeight + kGrowStep * phase);
    Image27->move(Image27->x(), FHeaderBaseTop + kHeaderStep * phase);
    const auto& [origin, originPhase] = *FSlideStart;
    setFixedSize(SlideSize(phase));
    move(origin - QPoint(0, phase - originPhase));
}

void TMakeForm1::EndSlide()
{
    FSlideStart.reset();
    FSettleCount = 0;
    FSettle.start();
    setFixedSize(SlideSize(FSlidePhase));
}

void TMakeForm1::KeepSlideSize()
{
    if (FSlideStart || !FSettle.isValid() || FSettle.elapsed() > kSettleMs
        || FSettleCount >= kSettleLimit || size() == SlideSize(FSlidePhase))
        return;
    ++FSettleCount;
    resize(SlideSize(FSlidePhase));
}

void TMakeForm1::PlayTurnSound()
{
    // The sound is looked up in the working folder, which the file dialogs move; the program's
    // own copy keeps it sounding after the first dialog.
    const QString local = u"updown.wav"_s;
    Sound::PlayFile(QFileInfo(local).isFile() ? local : ProgramPath::DataFile(FAppDir, local));
}

void TMakeForm1::Timer1Timer(QObject*)
{
    if (FSlidePhase > 0 && Timer1->Tag() == 0) {
        SetSlidePhase(FSlidePhase - 1);
        return;
    }
    Timer1->SetTag(1);
    if (!FActionDone) {
        PlayTurnSound();
        NewDocument();
        FActionDone = true;
    }
    if (FSlidePhase >= kSlideSteps) {
        Timer1->SetEnabled(false);
        Timer1->SetTag(0);
        FActionDone = false;
        EndSlide();
        return;
    }
    SetSlidePhase(FSlidePhase + 1);
}

void TMakeForm1::Timer2Timer(QObject*)
{
    if (FSlidePhase > 0 && Timer2->Tag() == 0) {
        SetSlidePhase(FSlidePhase - 1);
        return;
    }
    Timer2->SetTag(1);
    // No ticks while the file dialog is open.
    Timer2->SetEnabled(false);
    if (!FActionDone) {
        QString fileName = std::exchange(FPendingLoad, QString());
        if (!fileName.isEmpty())
            OpenDialog1->SetFileName(fileName);
        else if (OpenDialog1->Execute(this))
            fileName = OpenDialog1->FileName();
        // a file that holds no logo changes nothing, as a cancelled dialog
        if (!fileName.isEmpty() && IsLogoFileOrSay(fileName)) {
            PlayTurnSound();
            LoadLogoFile(fileName);
            LogoFileUsed(fileName);
        }
        FActionDone = true;
    }
    Timer2->SetEnabled(true);
    if (FSlidePhase >= kSlideSteps) {
        Timer2->SetEnabled(false);
        Timer2->SetTag(0);
        FActionDone = false;
        EndSlide();
        return;
    }
    SetSlidePhase(FSlidePhase + 1);
}
