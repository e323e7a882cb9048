// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "document/LookLibrary.h"
#include "render/DocumentRenderer.h"

#include <QObject>
#include <QSet>

#include <optional>

class QAction;
class TLookGallery;
class TMakeForm1;

// Puts the looks gallery on the window: スタイル見本… (Ctrl+L) on the window and in the preview's
// menu opens it beside the preview; what it shows live reaches the preview alone, what it
// applies becomes one step of the undo history. 現在の見た目を登録… (in the preview's menu and
// the gallery) keeps the logo's look as the user's own under a name they type; the gallery's
// context menu renames and deletes those. Look files that cannot be read are named once each.
class TLookChooser : public QObject
{
    Q_OBJECT

public:
    explicit TLookChooser(TMakeForm1* form);

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
    // The looks as the folders hold them now; problems not named before are named.
    LookLibrary ReadLibrary();
    bool GalleryOpen() const;
    void Refresh(bool wasOpen);
    void Rename(const LookPreset& look);
    void Delete(const LookPreset& look);
    void SayFailure(const QString& text, const std::exception& failure);

    // The logo as the window holds it, shown for a moment, and changed as one step.
    LogoDocument Current() const;
    void Show(const std::optional<LogoDocument>& shown);
    void Apply(const LogoDocument& document);

    TMakeForm1* FForm;
    QAction* FAction;
    QAction* FSaveAction;
    TLookGallery* FGallery = nullptr;
    QString FBuiltInFolder;
    QString FUserFolder;
    QSet<QString> FProblemsSaid;
    // What the preview showed before a look was shown on it.
    std::optional<PreviewScene> FBeforePreview;
};
