// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's editing comfort: the undo history and the question before unsaved work goes,
// value hints, shortcuts and the preview's menu, drops, recent files and the folders the file
// dialogs remember.
#include "app/ChooserLook.h"
#include "app/DecorationChooser.h"
#include "app/LogoDrops.h"
#include "app/LogoEditor.h"
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
#include "framework/TPanel.h"
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
            return TLogoState {Editor->Document(), SelShape1->geometry()};
        },
        [this](const TLogoState& state) {
            RestoreDocument(state.Document);
            SelShape1->setGeometry(state.Selection);
        });
    Editor->SetHistory(History);
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

    const TWindowCommands commands {
        .newLogo = [this] { SpeedButton1Click(this); },
        .openLogo = [this] { SpeedButton2Click(this); },
        .saveLogo = [this] { SpeedButton3Click(this); },
        .exportPicture = [this] { SpeedButton6Click(this); },
        .loadLogo = [this](const QString& file) { LoadWithTransition(file); },
        .setBackground = [this](const QString& file) { return SetBackgroundFile(file); },
        .setTexture = [this](const QString& file) { return SetTextureFile(file); },
        .shownScene = [this] { return ShownScene(); },
        .selectionRegion = [this] { return SelectionRegion(); },
    };
    Actions = new TWindowActions(this, Panel0, Editor, commands);
    Drops = new TLogoDrops(this, Panel0, commands);
    WarpChooser = new TWarpChooser(
        this, Editor, Actions->PreviewMenu(), ValueHints, [this] { return ShownScene(); },
        [this] { return PreviewOnScreen(); });
    WarpChooser->SetLook(ChooserLook());
    new TDecorationChooser(
        this, Editor, Actions->PreviewMenu(), ValueHints, [this] { return PreviewOnScreen(); },
        ChooserLook());
    new TLookChooser(
        this, Editor, Actions->PreviewMenu(), ChooserLook(), [this] { return ShownDocument(); },
        [this] { return PreviewOnScreen(); });

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
    // Each handler's change of the editor is a step by its kind; runs end here.
    // a run of typing ends when the field is left
    connect(Edit1, &QLineEdit::editingFinished, Editor, &TLogoEditor::EndRun);
    for (TTrackBar* bar : {TrackBar1, TrackBar3, TrackBar2, TrackBar6}) {
        // one drag, one step; steps by key merge until the next drag
        connect(bar, &QAbstractSlider::sliderPressed, Editor, &TLogoEditor::EndRun);
        connect(bar, &QAbstractSlider::sliderReleased, Editor, &TLogoEditor::EndRun);
    }
    // a drag or resize of the selection frame is one step, taken when the button comes up
    SelShape1->OnMouseUp = [history = History](QObject*, Qt::MouseButton, Qt::KeyboardModifiers,
                                               int, int) {
        history->Record(TLogoHistory::hkOther);
    };
}

void TMakeForm1::RestoreDocument(const LogoDocument& document)
{
    const LogoDocument& shown = Document();
    // Pictures are read again only when they are not the ones shown.
    const RenderPictures pictures =
        document.TextureFile != shown.TextureFile || document.BackgroundFile != shown.BackgroundFile
        ? LoadPictures(document)
        : Pictures();
    FStartCaption.reset();
    FStartFace.reset();
    Editor->Replace(document, pictures);
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

std::optional<QImage> TMakeForm1::ReadPictureOrSay(const QString& fileName, TPictureUse use)
{
    try {
        return LoadPicture(fileName, use);
    } catch (const std::exception& e) {
        ShowPictureUnreadable(this, fileName, QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

bool TMakeForm1::SetBackgroundFile(const QString& fileName)
{
    const std::optional<QImage> picture = ReadPictureOrSay(fileName, puBackground);
    if (!picture)
        return false;
    OpenPictureDialog1->SetFileName(fileName);
    Editor->SetBackground(fileName, *picture);
    return true;
}

bool TMakeForm1::SetTextureFile(const QString& fileName)
{
    const std::optional<QImage> picture = ReadPictureOrSay(fileName, puTexture);
    if (!picture)
        return false;
    OpenPictureDialog2->SetFileName(fileName);
    Editor->SetTexture(fileName, *picture);
    return true;
}

TChooserLook TMakeForm1::ChooserLook() const
{
    return {FontComboBox1->Color(), FontComboBox1->Font()->Color(), FontComboBox1->HighlightColor(),
            FontComboBox1->HighlightTextColor(), FontComboBox1->Font()->ToQFont()};
}

void TMakeForm1::LogoFileUsed(const QString& fileName)
{
    History->MarkSaved();
    TRecentFiles().Add(fileName);
}
