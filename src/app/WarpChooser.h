// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ChooserLook.h"
#include "render/DocumentRenderer.h"

#include <QObject>
#include <QRect>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TLogoEditor;
class TValueHints;
class TWarpGallery;

// Puts the warp gallery on the window: the action 変形… (Ctrl+T) on the window and in the
// preview's menu opens it beside the preview; what the gallery shows live is a preview of the
// editor, what it applies is a change of the editor's document, and so a step of its history.
class TWarpChooser : public QObject
{
    Q_OBJECT

public:
    // The action lives on `window` and at the end of `menu`; the amount bar's value is hinted
    // through `hints`. `shownScene` is what the preview shows, `previewOnScreen` where it lies
    // (global).
    TWarpChooser(QWidget* window, TLogoEditor* editor, QMenu* menu, TValueHints* hints,
                 std::function<PreviewScene()> shownScene, std::function<QRect()> previewOnScreen);

    QAction* Action() const { return FAction; }
    // The gallery once it has been opened; null before.
    TWarpGallery* Gallery() const { return FGallery; }

    void SetLook(const TChooserLook& value) { FLook = value; }

    void Open();

private:
    void CreateGallery();

    QWidget* FWindow;
    TLogoEditor* FEditor;
    TValueHints* FHints;
    std::function<PreviewScene()> FShownScene;
    std::function<QRect()> FPreviewOnScreen;
    TChooserLook FLook;
    QAction* FAction;
    TWarpGallery* FGallery = nullptr;
};
