// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LookChooser.h"

#include "app/LogoHistory.h"
#include "app/LookGallery.h"
#include "app/Makewindow1.h"
#include "app/WindowActions.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "framework/TPanel.h"
#include "platform/ProgramPath.h"
#include "platform/Sound.h"
#include "render/DocumentRenderer.h"

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

TLookChooser::TLookChooser(TMakeForm1* form)
    : QObject(form)
    , FForm(form)
    , FAction(new QAction(u"スタイル見本…"_s, form))
    , FSaveAction(new QAction(u"現在の見た目を登録…"_s, form))
    , FBuiltInFolder(ProgramPath::DataFolder(form->AppDir(), u"looks"_s))
    , FUserFolder(LookLibrary::UserFolder())
{
    FAction->setObjectName(u"LooksAction"_s);
    FAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    FAction->setShortcutContext(Qt::WindowShortcut);
    form->addAction(FAction);
    connect(FAction, &QAction::triggered, this, &TLookChooser::Open);
    FSaveAction->setObjectName(u"SaveLookAction"_s);
    connect(FSaveAction, &QAction::triggered, this, &TLookChooser::SaveCurrentLook);
    if (form->Actions) {
        form->Actions->PreviewMenu()->addAction(FAction);
        form->Actions->PreviewMenu()->addAction(FSaveAction);
    }
}

void TLookChooser::SetFolders(const QString& builtIn, const QString& user)
{
    FBuiltInFolder = builtIn;
    FUserFolder = user;
}

void TLookChooser::CreateGallery()
{
    FGallery = new TLookGallery(FForm);
    // The dark list of the font chooser.
    TFontComboBox* fonts = FForm->FontComboBox1;
    FGallery->SetColors(fonts->Color(), fonts->Font()->Color(), fonts->HighlightColor(),
                        fonts->HighlightTextColor());
    FGallery->SetCaptionFont(fonts->Font()->ToQFont());
    FGallery->OnPreview = [this](const std::optional<LogoDocument>& shown) {
        Show(shown);
    };
    FGallery->OnApply = [this](const LogoDocument& document) {
        Apply(document);
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
    QStringList unsaid;
    for (const QString& problem : library.Problems()) {
        if (!FProblemsSaid.contains(problem))
            unsaid.append(problem);
    }
    if (!unsaid.isEmpty()) {
        FProblemsSaid.unite(QSet<QString>(unsaid.begin(), unsaid.end()));
        Sound::MessageBeep(Sound::MB_OK);
        TDialogs::Current().MessageBox(
            FForm, u"見タ目ヲ読込メズ、飛バシマシタ...\n"_s + unsaid.join(u'\n'), Title(),
            MB_OK | MB_ICONWARNING);
    }
    return library;
}

void TLookChooser::Open()
{
    if (!FGallery)
        CreateGallery();
    if (FForm->History)
        FForm->History->EndRun();
    const LookLibrary library = ReadLibrary();
    const QRect preview(FForm->Panel0->mapToGlobal(QPoint()), FForm->Panel0->size());
    FGallery->Open(library.Looks(), Current(), FForm->Pictures(), preview);
}

void TLookChooser::Refresh(bool wasOpen)
{
    // A dialog can take the gallery's place on the screen; it comes back with the change.
    if (FGallery && FGallery->isVisible())
        FGallery->SetLooks(ReadLibrary().Looks());
    else if (wasOpen)
        Open();
}

bool TLookChooser::GalleryOpen() const
{
    return FGallery && FGallery->isVisible();
}

void TLookChooser::SayFailure(const QString& text, const std::exception& failure)
{
    Sound::MessageBeep(Sound::MB_OK);
    TDialogs::Current().MessageBox(FForm, text + u"\n"_s + QString::fromUtf8(failure.what()),
                                   Title(), MB_OK | MB_ICONERROR);
}

bool TLookChooser::SaveCurrentLook()
{
    const bool wasOpen = GalleryOpen();
    const std::optional<QString> name =
        TDialogs::Current().AskText(FForm, u"現在の見た目を登録"_s, u"見タ目ノ名前:"_s, QString());
    if (!name)
        return false;
    try {
        LookLibrary::SaveUserLook(Current(), *name, FUserFolder);
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
        TDialogs::Current().AskText(FForm, u"名前ヲ変更"_s, u"見タ目ノ名前:"_s, look.Name());
    if (!name || *name == look.Name())
        return;
    try {
        LookLibrary::RenameUserLook(look, *name);
    } catch (const std::exception& e) {
        SayFailure(u"名前ヲ変更デキマセン..."_s, e);
    }
    Refresh(wasOpen);
}

void TLookChooser::Delete(const LookPreset& look)
{
    const bool wasOpen = GalleryOpen();
    const int answer =
        TDialogs::Current().AskChoice(FForm, u"見タ目「%1」ヲ削除シマスカ?"_s.arg(look.Name()),
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

LogoDocument TLookChooser::Current() const
{
    return FForm->ShownDocument();
}

void TLookChooser::Show(const std::optional<LogoDocument>& shown)
{
    // The label holds the window's settings, so what it showed before is put back as it was.
    TdxfLabel* label = FForm->Label1;
    if (!shown) {
        if (FBeforePreview) {
            label->SetLook(FBeforePreview->look);
            label->SetTransparent(FBeforePreview->labelTransparent);
            FBeforePreview.reset();
        }
        return;
    }
    if (!FBeforePreview)
        FBeforePreview = PreviewScene {label->Look(), {}, label->Transparent()};
    const PreviewScene scene = DocumentRenderer::SceneOf(*shown, FForm->Pictures());
    label->SetLook(scene.look);
    label->SetTransparent(scene.labelTransparent);
}

void TLookChooser::Apply(const LogoDocument& document)
{
    if (FBeforePreview) {
        FForm->Label1->SetLook(FBeforePreview->look);
        FBeforePreview.reset();
    }
    // one step of the history, however many controls the look moves
    const TLogoHistory::TBatch step(FForm->History);
    FForm->ApplyDocument(document);
}
