// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/WarpChooser.h"

#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/ValueHints.h"
#include "app/WarpGallery.h"
#include "framework/TTrackBar.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

TWarpChooser::TWarpChooser(QWidget* window, TLogoEditor* editor, QMenu* menu, TValueHints* hints,
                           std::function<PreviewScene()> shownScene,
                           std::function<QRect()> previewOnScreen)
    : QObject(window)
    , FWindow(window)
    , FEditor(editor)
    , FHints(hints)
    , FShownScene(std::move(shownScene))
    , FPreviewOnScreen(std::move(previewOnScreen))
    , FAction(new QAction(u"変形…"_s, window))
{
    FAction->setObjectName(u"WarpAction"_s);
    FAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    FAction->setShortcutContext(Qt::WindowShortcut);
    window->addAction(FAction);
    connect(FAction, &QAction::triggered, this, &TWarpChooser::Open);
    if (menu) {
        menu->addSeparator();
        menu->addAction(FAction);
    }
}

void TWarpChooser::CreateGallery()
{
    FGallery = new TWarpGallery(FWindow);
    FGallery->SetColors(FLook.color, FLook.text, FLook.highlight, FLook.highlightText);
    FGallery->SetCaptionFont(FLook.captionFont);

    TLogoEditor* editor = FEditor;
    FGallery->OnPreview = [editor](TLogoWarp warp, int amount) {
        LogoDocument shown = editor->Document();
        shown.Warp = warp;
        shown.WarpAmount = amount;
        if (shown == editor->Document())
            editor->EndPreview();
        else
            editor->Preview(shown);
    };
    FGallery->OnApply = [editor](TLogoWarp warp, int amount, bool dragging) {
        editor->Change(
            [warp, amount](LogoDocument& d) {
                d.Warp = warp;
                d.WarpAmount = amount;
            },
            dragging ? TLogoHistory::hkWarpAmount : TLogoHistory::hkOther);
    };
    // one drag of the amount, one step
    TTrackBar* bar = FGallery->AmountBar();
    connect(bar, &QAbstractSlider::sliderPressed, editor, &TLogoEditor::EndRun);
    connect(bar, &QAbstractSlider::sliderReleased, editor, &TLogoEditor::EndRun);
    if (FHints)
        FHints->Watch(bar, u"変形ノ量"_s);
}

void TWarpChooser::Open()
{
    if (!FGallery)
        CreateGallery();
    FEditor->EndRun();
    const LogoDocument& d = FEditor->Document();
    FGallery->Open(FShownScene(), d.Warp, d.WarpAmount, FPreviewOnScreen());
}
