// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ChooserLook.h"
#include "document/LogoDocument.h"
#include "document/LookLibrary.h"

#include <QObject>
#include <QRect>
#include <QSet>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TLogoEditor;
class TLookGallery;

// Puts the looks gallery on the window: スタイル見本… (Ctrl+L) on the window and in the preview's
// menu opens it beside the preview; what it shows live is a preview of the editor, what it
// applies is one change of the editor's document. 現在の見た目を登録… (in the preview's menu and
// the gallery) keeps the logo's look as the user's own under a name they type; the gallery's
// context menu renames and deletes those. Look files that cannot be read are named once each.
class TLookChooser : public QObject
{
    Q_OBJECT

public:
    // The actions live on `window` and at the end of `menu`; the gallery takes `look`.
    // `shownDocument` is the logo as the preview shows it, `previewOnScreen` where the preview
    // lies (global).
    TLookChooser(QWidget* window, TLogoEditor* editor, QMenu* menu, const TChooserLook& look,
                 std::function<LogoDocument()> shownDocument,
                 std::function<QRect()> previewOnScreen);

    QAction* Action() const { return FAction; }
    QAction* SaveAction() const { return FSaveAction; }
    // The gallery once it has been opened; null before.
    TLookGallery* Gallery() const { return FGallery; }

    // Where the looks are read: the built-in ones beside the program or where it was installed,
    // the user's in their data folder, unless set here.
    void SetFolders(const QString& builtIn, const QString& user);

    void Open();
    // Asks a name and keeps the logo's look under it; false when cancelled or not written.
    bool SaveCurrentLook();

private:
    void CreateGallery();
    // The looks as the folders hold them now; files not named before are named.
    LookLibrary ReadLibrary();
    bool GalleryOpen() const;
    void Refresh(bool wasOpen);
    void Rename(const LookPreset& look);
    void Delete(const LookPreset& look);
    void SayFailure(const QString& text, const std::exception& failure);

    QWidget* FWindow;
    TLogoEditor* FEditor;
    std::function<LogoDocument()> FShownDocument;
    std::function<QRect()> FPreviewOnScreen;
    TChooserLook FLook;
    QAction* FAction;
    QAction* FSaveAction;
    TLookGallery* FGallery = nullptr;
    QString FBuiltInFolder;
    QString FUserFolder;
    QSet<QString> FProblemsSaid;
    // Ids a user look must not take, as the library last read them.
    QStringList FBuiltInIds;
};
