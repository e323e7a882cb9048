// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LookChooser.h"

#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/LookGallery.h"
#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "platform/ProgramPath.h"
#include "platform/Sound.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace {

QString Title()
{
    const TApplication* app = TApplication::Instance();
    return app ? app->Title() : QString();
}

} // namespace

TLookChooser::TLookChooser(QWidget* window, TLogoEditor* editor, QMenu* menu,
                           const TChooserLook& look, std::function<LogoDocument()> shownDocument,
                           std::function<QRect()> previewOnScreen)
    : QObject(window)
    , FWindow(window)
    , FEditor(editor)
    , FShownDocument(std::move(shownDocument))
    , FPreviewOnScreen(std::move(previewOnScreen))
    , FLook(look)
    , FAction(new QAction(u"スタイル見本…"_s, window))
    , FSaveAction(new QAction(u"現在の見た目を登録…"_s, window))
    , FBuiltInFolder(ProgramPath::DataFolder(ProgramPath::RunningProgramFolder(), u"looks"_s))
    , FUserFolder(LookLibrary::UserFolder())
{
    FAction->setObjectName(u"LooksAction"_s);
    FAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    FAction->setShortcutContext(Qt::WindowShortcut);
    window->addAction(FAction);
    connect(FAction, &QAction::triggered, this, &TLookChooser::Open);
    FSaveAction->setObjectName(u"SaveLookAction"_s);
    connect(FSaveAction, &QAction::triggered, this, &TLookChooser::SaveCurrentLook);
    if (menu)
        menu->addActions({FAction, FSaveAction});
}

void TLookChooser::SetFolders(const QString& builtIn, const QString& user)
{
    FBuiltInFolder = builtIn;
    FUserFolder = user;
}

void TLookChooser::CreateGallery()
{
    FGallery = new TLookGallery(FWindow);
    FGallery->SetColors(FLook.color, FLook.text, FLook.highlight, FLook.highlightText);
    FGallery->SetCaptionFont(FLook.captionFont);
    TLogoEditor* editor = FEditor;
    FGallery->OnPreview = [editor](const std::optional<LogoDocument>& shown) {
        if (shown)
            editor->Preview(*shown);
        else
            editor->EndPreview();
    };
    FGallery->OnApply = [editor](const LogoDocument& document) {
        editor->Change([&document](LogoDocument& d) { d = document; }, TLogoHistory::hkOther);
    };
    FGallery->OnSaveCurrent = [this] {
        SaveCurrentLook();
    };
    FGallery->OnRename = [this](const LookPreset& look) {
        Rename(look);
    };
    FGallery->OnDelete = [this](const LookPreset& look) {
        Delete(look);
    };
}

LookLibrary TLookChooser::ReadLibrary()
{
    LookLibrary library(FBuiltInFolder, FUserFolder);
    FBuiltInIds.clear();
    for (const LookPreset& look : library.Looks()) {
        if (look.BuiltIn())
            FBuiltInIds.append(look.Id());
    }
    QStringList unsaid;
    for (const QString& problem : library.Problems()) {
        if (!FProblemsSaid.contains(problem))
            unsaid.append(problem);
    }
    if (!unsaid.isEmpty()) {
        FProblemsSaid.unite(QSet<QString>(unsaid.begin(), unsaid.end()));
        Sound::MessageBeep(Sound::MB_OK);
        TDialogs::Current().MessageBox(
            FWindow, u"見タ目ヲ読込メズ、飛バシマシタ...\n"_s + unsaid.join(u'\n'), Title(),
            MB_OK | MB_ICONWARNING);
    }
    return library;
}

void TLookChooser::Open()
{
    if (!FGallery)
        CreateGallery();
    FEditor->EndRun();
    const LookLibrary library = ReadLibrary();
    FGallery->Open(library.Looks(), FEditor->Document(), FShownDocument(), FEditor->Pictures(),
                   FPreviewOnScreen());
}

bool TLookChooser::GalleryOpen() const
{
    return FGallery && FGallery->isVisible();
}

void TLookChooser::Refresh(bool wasOpen)
{
    // A dialog can take the gallery's place on the screen; it comes back with the change.
    if (GalleryOpen())
        FGallery->SetLooks(ReadLibrary().Looks());
    else if (wasOpen)
        Open();
}

void TLookChooser::SayFailure(const QString& text, const std::exception& failure)
{
    Sound::MessageBeep(Sound::MB_OK);
    TDialogs::Current().MessageBox(FWindow, text + u"\n"_s + QString::fromUtf8(failure.what()),
                                   Title(), MB_OK | MB_ICONERROR);
}

bool TLookChooser::SaveCurrentLook()
{
    const bool wasOpen = GalleryOpen();
    const std::optional<QString> name = TDialogs::Current().AskText(
        FWindow, u"現在の見た目を登録"_s, u"見タ目ノ名前:"_s, QString());
    if (!name)
        return false;
    if (!wasOpen)
        ReadLibrary();
    try {
        LookLibrary::SaveUserLook(FEditor->Document(), *name, FUserFolder, FBuiltInIds);
    } catch (const std::exception& e) {
        SayFailure(u"見タ目ヲ登録デキマセン..."_s, e);
        return false;
    }
    Refresh(wasOpen);
    return true;
}

void TLookChooser::Rename(const LookPreset& look)
{
    const bool wasOpen = GalleryOpen();
    const std::optional<QString> name =
        TDialogs::Current().AskText(FWindow, u"名前ヲ変更"_s, u"見タ目ノ名前:"_s, look.Name());
    if (!name || *name == look.Name())
        return;
    try {
        LookLibrary::RenameUserLook(look, *name, FBuiltInIds);
    } catch (const std::exception& e) {
        SayFailure(u"名前ヲ変更デキマセン..."_s, e);
    }
    Refresh(wasOpen);
}

void TLookChooser::Delete(const LookPreset& look)
{
    const bool wasOpen = GalleryOpen();
    const int answer =
        TDialogs::Current().AskChoice(FWindow, u"見タ目「%1」ヲ削除シマスカ?"_s.arg(look.Name()),
                                      Title(), {u"削除"_s, u"キャンセル"_s});
    if (answer != 0)
        return;
    try {
        LookLibrary::DeleteUserLook(look);
    } catch (const std::exception& e) {
        SayFailure(u"削除デキマセン..."_s, e);
    }
    Refresh(wasOpen);
}
