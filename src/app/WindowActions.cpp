// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/WindowActions.h"

#include "app/LogoEditor.h"
#include "app/PictureStore.h"
#include "app/RecentFiles.h"
#include "framework/TApplication.h"
#include "framework/TDialogs.h"
#include "output/SvgWriter.h"
#include "platform/Sound.h"
#include "render/DocumentRenderer.h"
#include "render/VectorScene.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

bool Matches(const QKeyEvent* key, const QAction* action)
{
    const QKeySequence pressed(key->keyCombination());
    for (const QKeySequence& shortcut : action->shortcuts()) {
        if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
            return true;
    }
    return false;
}

bool ClipboardHoldsPicture()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

const QString kImageMime = u"application/x-qt-image"_s;
const QString kSvgMime = u"image/svg+xml"_s;

// The region under the selection frame as it goes to the clipboard: over a background picture
// the frame holds a picture, so it goes as shown; otherwise the logo goes alone, its background
// colour transparent, its edges with partial alpha.
RenderOptions ClipboardOptions(const QRect& region, bool overPicture)
{
    RenderOptions options;
    options.region = region;
    options.transparent = !overPicture;
    return options;
}

QImage ClipboardPictureOf(const PreviewScene& scene, const QRect& region, bool overPicture)
{
    const QImage picture = DocumentRenderer::Render(scene, ClipboardOptions(region, overPicture));
    return overPicture ? picture.convertToFormat(QImage::Format_RGB888) : picture;
}

QByteArray ClipboardSvgOf(const PreviewScene& scene, const QRect& region, bool overPicture)
{
    return SvgWriter::Write(VectorScene::Of(scene, ClipboardOptions(region, overPicture)));
}

// One copy of the logo, drawn as a picture or as SVG only when a program asks for that: a
// copy is taken at once however long the logo takes to draw, and a format nobody pastes is
// never made. The scene is kept as it was at the copy.
class TLogoMimeData : public QMimeData
{
public:
    TLogoMimeData(PreviewScene scene, QRect region, bool overPicture)
        : FScene(std::move(scene))
        , FRegion(region)
        , FOverPicture(overPicture)
    { }

    QStringList formats() const override { return {kImageMime, kSvgMime}; }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType) const override
    {
        if (mime == kImageMime) {
            if (!FPicture)
                FPicture = ClipboardPictureOf(FScene, FRegion, FOverPicture);
            return *FPicture;
        }
        if (mime == kSvgMime) {
            if (!FSvg)
                FSvg = ClipboardSvgOf(FScene, FRegion, FOverPicture);
            return *FSvg;
        }
        return {};
    }

private:
    const PreviewScene FScene;
    const QRect FRegion;
    const bool FOverPicture;
    mutable std::optional<QImage> FPicture;
    mutable std::optional<QByteArray> FSvg;
};

} // namespace

TWindowActions::TWindowActions(QWidget* window, QWidget* preview, TLogoEditor* editor,
                               TWindowCommands commands)
    : QObject(window)
    , FWindow(window)
    , FEditor(editor)
    , FCommands(std::move(commands))
{
    FNew = AddAction(u"新規"_s, {QKeySequence(Qt::CTRL | Qt::Key_N)}, FCommands.newLogo);
    FOpen = AddAction(u"読込"_s, {QKeySequence(Qt::CTRL | Qt::Key_O)}, FCommands.openLogo);
    FSave = AddAction(u"保存"_s, {QKeySequence(Qt::CTRL | Qt::Key_S)}, FCommands.saveLogo);
    FExport =
        AddAction(u"BMP保存"_s, {QKeySequence(Qt::CTRL | Qt::Key_E)}, FCommands.exportPicture);
    FCopy = AddAction(u"画像ヲコピー"_s, {QKeySequence(Qt::CTRL | Qt::Key_C)},
                      [this] { CopyToClipboard(); });
    FPaste = AddAction(u"背景ニ貼付ケ"_s, {QKeySequence(Qt::CTRL | Qt::Key_V)},
                       [this] { PasteFromClipboard(); });
    QUndoStack* history = editor->History()->Stack();
    FUndo = AddAction(u"元ニ戻ス"_s, {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                      [history] { history->undo(); });
    FRedo = AddAction(
        u"ヤリ直シ"_s,
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        [history] { history->redo(); });
    FUndo->setEnabled(history->canUndo());
    FRedo->setEnabled(history->canRedo());
    connect(history, &QUndoStack::canUndoChanged, FUndo, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, FRedo, &QAction::setEnabled);
    // Text fields take many Ctrl keys for themselves; the window decides first (eventFilter).
    qApp->installEventFilter(this);

    FMenu = new QMenu(window);
    FMenu->setObjectName(u"PreviewMenu"_s);
    FMenu->addActions({FNew, FOpen, FSave, FExport});
    FMenu->addSeparator();
    FMenu->addActions({FUndo, FRedo});
    FMenu->addSeparator();
    FMenu->addActions({FCopy, FPaste});
    FMenu->addSeparator();
    FRecentMenu = FMenu->addMenu(u"最近ノファイル"_s);
    FRecentMenu->setObjectName(u"RecentMenu"_s);

    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(preview, &QWidget::customContextMenuRequested, this,
            [this, preview](const QPoint& pos) { ShowPreviewMenu(preview->mapToGlobal(pos)); });
}

QAction* TWindowActions::AddAction(const QString& text, const QList<QKeySequence>& keys,
                                   std::function<void()> run)
{
    auto* action = new QAction(text, FWindow);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    FWindow->addAction(action);
    return action;
}

bool TWindowActions::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the override unaccepted hands the key from the focused field to the window's
    // action.
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == FWindow)
        return WindowTakesKey(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

bool TWindowActions::WindowTakesKey(const QWidget* focus, const QKeyEvent* key) const
{
    const auto* field = qobject_cast<const QLineEdit*>(focus);
    // Copy and paste stay with a text field while they have text to work on.
    if (Matches(key, FCopy))
        return !field || !field->hasSelectedText();
    if (Matches(key, FPaste))
        return !field || ClipboardHoldsPicture();
    const QList<QAction*> actions = FWindow->actions();
    return std::any_of(actions.begin(), actions.end(),
                       [key](const QAction* action) { return Matches(key, action); });
}

void TWindowActions::UpdateRecentMenu()
{
    FRecentMenu->clear();
    const QStringList files = TRecentFiles().Files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString file = files.at(i);
        // "&1 name" gives each entry a number key; the full path stays in the status tip.
        QAction* action = FRecentMenu->addAction(
            u"&%1 %2"_s.arg(i + 1).arg(QFileInfo(file).fileName().replace(u'&', u"&&"_s)));
        action->setStatusTip(file);
        action->setToolTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenRecent(file); });
    }
    FRecentMenu->setEnabled(!files.isEmpty());
}

void TWindowActions::ShowPreviewMenu(const QPoint& globalPos)
{
    UpdateRecentMenu();
    // whether the clipboard holds a picture, without drawing or fetching one
    FPaste->setEnabled(ClipboardHoldsPicture());
    FMenu->popup(globalPos);
}

bool TWindowActions::BackgroundShown() const
{
    return !FEditor->Pictures().background.isNull();
}

QImage TWindowActions::ClipboardPicture() const
{
    return ClipboardPictureOf(FCommands.shownScene(), FCommands.selectionRegion(),
                              BackgroundShown());
}

QByteArray TWindowActions::ClipboardSvg() const
{
    return ClipboardSvgOf(FCommands.shownScene(), FCommands.selectionRegion(), BackgroundShown());
}

void TWindowActions::CopyToClipboard()
{
    // a vector program takes the shapes, any other the picture
    QGuiApplication::clipboard()->setMimeData(
        new TLogoMimeData(FCommands.shownScene(), FCommands.selectionRegion(), BackgroundShown()));
}

bool TWindowActions::PasteFromClipboard()
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull())
        return false;
    const QString file = PictureStore::Store(image);
    return !file.isEmpty() && FCommands.setBackground(file);
}

void TWindowActions::OpenRecent(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        TRecentFiles().Remove(fileName);
        UpdateRecentMenu();
        Sound::MessageBeep(Sound::MB_OK);
        const TApplication* app = TApplication::Instance();
        TDialogs::Current().MessageBox(FWindow, u"ロゴデータファイル存在セズ...\n"_s + fileName,
                                       app ? app->Title() : QString(), MB_OK);
        return;
    }
    FCommands.loadLogo(fileName);
}
