// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's editing comfort: the undo history and the question before unsaved work goes,
// value hints, shortcuts and the preview's menu, drops, recent files and the folders the file
// dialogs remember.
#include "app/LogoDrops.h"
#include "app/LogoHistory.h"
#include "app/LookChooser.h"
#include "app/Makewindow1.h"
#include "app/RecentFiles.h"
#include "app/ValueHints.h"
#include "app/WarpChooser.h"
#include "app/WindowActions.h"
#include "controls/NewHint.h"
#include "controls/SelShape.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "document/LogoFile.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "platform/Sound.h"

#include <QCloseEvent>
#include <QFileInfo>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Direction track bar positions, clockwise from the lower right as the shadow falls.
const std::array<QString, 8> kDirectionNames = {
    u"右下"_s, u"下"_s, u"左下"_s, u"左"_s, u"左上"_s, u"上"_s, u"右上"_s, u"右"_s,
};

void ShowPictureUnreadable(QWidget* parent, const QString& fileName, const QString& reason)
{
    Sound::MessageBeep(Sound::MB_OK);
    const TApplication* app = TApplication::Instance();
    TDialogs::Current().MessageBox(parent, u"画像ヲ読込メズ...\n"_s + fileName + u"\n"_s + reason,
                                   app ? app->Title() : QString(), MB_OK);
}

// Runs `then` after whatever the event did.
void After(std::function<void(QObject*)>& event, std::function<void()> then)
{
    event = [before = std::move(event), then = std::move(then)](QObject* sender) {
        if (before)
            before(sender);
        then();
    };
}

// Each file dialog opens where it was used last, also in the next run.
void RememberFolder(TFileDialog* dialog, const QString& name)
{
    dialog->SetInitialDir(TRecentFiles::LastFolder(name));
    dialog->OnFileChosen = [name](const QString& chosen) {
        TRecentFiles::SetLastFolder(name, QFileInfo(chosen).absolutePath());
    };
}

} // namespace

void TMakeForm1::CreateComfort()
{
    History = new TLogoHistory(
        this,
        [this] {
            return TLogoState {Document(), SelShape1->geometry()};
        },
        [this](const TLogoState& state) {
            RestoreDocument(state.Document);
            SelShape1->setGeometry(state.Selection);
        });
    CreateHistorySteps();

    ValueHints = new TValueHints(this);
    ValueHints->Watch(TrackBar1, u"サイズ"_s);
    ValueHints->Watch(TrackBar3, u"回転"_s, [](int p) { return QString::number(p) + u"°"_s; });
    ValueHints->Watch(TrackBar2, u"影ノ深度"_s);
    ValueHints->Watch(TrackBar6, u"影ノ方向"_s, [](int p) {
        return p >= 0 && p < int(kDirectionNames.size()) ? kDirectionNames[std::size_t(p)]
                                                         : QString::number(p);
    });
    // a double click's first click and its taking back are no step
    ValueHints->OnTakeBackClick = [history = History] {
        history->ContinueLastStep();
    };
    AppHint1->OnShowHint = [hints = ValueHints](QString& text, bool& canShow, THintInfo& info) {
        hints->ShowHint(text, canShow, info);
    };

    Actions = new TWindowActions(this, History->Stack());
    Drops = new TLogoDrops(this);
    WarpChooser = new TWarpChooser(this);
    new TLookChooser(this);

    const std::pair<TFileDialog*, QString> dialogs[] = {
        {OpenDialog1, u"OpenDialog1"_s},
        {SaveDialog1, u"SaveDialog1"_s},
        {OpenPictureDialog1, u"OpenPictureDialog1"_s},
        {OpenPictureDialog2, u"OpenPictureDialog2"_s},
        {SavePictureDialog1, u"SavePictureDialog1"_s},
    };
    for (const auto& [dialog, name] : dialogs)
        RememberFolder(dialog, name);
}

void TMakeForm1::CreateHistorySteps()
{
    // Each editing control records its change after its handler carried it into the preview.
    TLogoHistory* history = History;
    After(Edit1->OnChange, [history] { history->Record(TLogoHistory::hkText); });
    // a run of typing ends when the field is left
    connect(Edit1, &QLineEdit::editingFinished, history, &TLogoHistory::EndRun);
    After(FontComboBox1->OnChange, [history] { history->Record(TLogoHistory::hkOther); });
    const std::pair<TTrackBar*, TLogoHistory::TKind> bars[] = {
        {TrackBar1, TLogoHistory::hkSize},
        {TrackBar3, TLogoHistory::hkAngle},
        {TrackBar2, TLogoHistory::hkDepth},
        {TrackBar6, TLogoHistory::hkDirection},
    };
    for (const auto& [bar, kind] : bars) {
        After(bar->OnChange, [history, kind = kind] { history->Record(kind); });
        // one drag, one step; steps by key merge until the next drag
        connect(bar, &QAbstractSlider::sliderPressed, history, &TLogoHistory::EndRun);
        connect(bar, &QAbstractSlider::sliderReleased, history, &TLogoHistory::EndRun);
    }
    for (TShineSpeedButton* button :
         {SpeedButton18, SpeedButton19, SpeedButton20, SpeedButton21, SpeedButton7, SpeedButton8,
          SpeedButton9, SpeedButton10, SpeedButton11, SpeedButton12, SpeedButton13, SpeedButton14,
          SpeedButton15, SpeedButton16, SpeedButton17})
        After(button->OnClick, [history] { history->Record(TLogoHistory::hkOther); });
    // a drag or resize of the selection frame is one step, taken when the button comes up
    SelShape1->OnMouseUp = [history](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        history->Record(TLogoHistory::hkOther);
    };
}

void TMakeForm1::RestoreDocument(const LogoDocument& document)
{
    const LogoDocument shown = Document();
    ApplySettings(document);
    // Pictures are read again only when they are not the ones shown.
    if (document.TextureFile != shown.TextureFile
        || document.BackgroundFile != shown.BackgroundFile)
        ApplyPictures(document);
}

bool TMakeForm1::ConfirmDiscard()
{
    if (!History || !History->IsModified())
        return true;
    const TApplication* app = TApplication::Instance();
    const int answer = TDialogs::Current().AskChoice(
        this, u"ロゴガ変更サレテイマス。保存シマスカ?"_s, app ? app->Title() : QString(),
        {u"保存"_s, u"破棄"_s, u"キャンセル"_s});
    if (answer == 1)
        return true;
    if (answer != 0)
        return false;
    // A failed save keeps the work on screen; the failure is shown as any other.
    try {
        SpeedButton3Click(this);
    } catch (const std::exception& e) {
        if (TApplication* shown = TApplication::Instance())
            shown->ShowException(e);
        return false;
    }
    return !History->IsModified();
}

void TMakeForm1::closeEvent(QCloseEvent* event)
{
    if (ConfirmDiscard())
        event->accept();
    else
        event->ignore();
}

bool TMakeForm1::IsLogoFileOrSay(const QString& fileName)
{
    QString reason;
    if (LogoFile::Load(fileName, &reason))
        return true;
    Sound::MessageBeep(Sound::MB_OK);
    const TApplication* app = TApplication::Instance();
    TDialogs::Current().MessageBox(this,
                                   u"ロゴデータヲ読込メズ...\n"_s + fileName + u"\n"_s + reason,
                                   app ? app->Title() : QString(), MB_OK);
    return false;
}

void TMakeForm1::LoadWithTransition(const QString& fileName)
{
    // One transition at a time: a request while the panel moves is dropped. A file that holds
    // no logo is refused before anything moves.
    if (Timer1->Enabled() || Timer2->Enabled() || fileName.isEmpty() || !IsLogoFileOrSay(fileName)
        || !ConfirmDiscard())
        return;
    FPendingLoad = fileName;
    Timer2->SetEnabled(true);
}

std::optional<QImage> TMakeForm1::ReadPictureOrSay(const QString& fileName)
{
    try {
        return LoadPicture(fileName);
    } catch (const std::exception& e) {
        ShowPictureUnreadable(this, fileName, QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

bool TMakeForm1::SetBackgroundFile(const QString& fileName)
{
    const std::optional<QImage> picture = ReadPictureOrSay(fileName);
    if (!picture)
        return false;
    OpenPictureDialog1->SetFileName(fileName);
    Image1->SetPicture(*picture);
    Image1->setVisible(true);
    ShowDocument();
    History->Record(TLogoHistory::hkOther);
    return true;
}

bool TMakeForm1::SetTextureFile(const QString& fileName)
{
    const std::optional<QImage> picture = ReadPictureOrSay(fileName);
    if (!picture)
        return false;
    OpenPictureDialog2->SetFileName(fileName);
    Label1->SetGlyph(*picture);
    ShowDocument();
    History->Record(TLogoHistory::hkOther);
    return true;
}

void TMakeForm1::LogoFileUsed(const QString& fileName)
{
    History->MarkSaved();
    TRecentFiles().Add(fileName);
}
