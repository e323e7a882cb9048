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

constexpr int kPanelOutOfView = -420;
constexpr int kPanelInView = 28;

void MoveTop(QWidget* widget, int delta)
{
    widget->move(widget->x(), widget->y() + delta);
}

void Grow(QWidget* widget, int delta)
{
    widget->resize(widget->width(), widget->height() + delta);
}

} // namespace

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

void TMakeForm1::SlideOut()
{
    MoveTop(this, 1);
    MoveTop(Panel0, -14);
    Grow(Panel5, -4);
    Grow(this, -4);
    MoveTop(Image27, -2);
}

void TMakeForm1::SlideIn()
{
    MoveTop(this, -1);
    MoveTop(Panel0, 14);
    Grow(this, 4);
    Grow(Panel5, 4);
    MoveTop(Image27, 2);
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
    if (Panel0->y() > kPanelOutOfView && Timer1->Tag() == 0) {
        SlideOut();
        return;
    }
    Timer1->SetTag(1);
    if (!FActionDone) {
        PlayTurnSound();
        NewDocument();
        FActionDone = true;
    }
    if (Panel0->y() >= kPanelInView) {
        Timer1->SetEnabled(false);
        Timer1->SetTag(0);
        FActionDone = false;
        return;
    }
    SlideIn();
}

void TMakeForm1::Timer2Timer(QObject*)
{
    if (Panel0->y() > kPanelOutOfView && Timer2->Tag() == 0) {
        SlideOut();
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
        if (!fileName.isEmpty()) {
            PlayTurnSound();
            LoadLogoFile(fileName);
            LogoFileUsed(fileName);
        }
        FActionDone = true;
    }
    Timer2->SetEnabled(true);
    if (Panel0->y() >= kPanelInView) {
        Timer2->SetEnabled(false);
        Timer2->SetTag(0);
        FActionDone = false;
        return;
    }
    SlideIn();
}
