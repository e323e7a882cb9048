// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ChooserLook.h"
#include "app/DecorationPanel.h"

#include <QObject>
#include <QRect>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TLogoEditor;
class TValueHints;

// Puts the decoration panel on the window: the action 装飾… (Ctrl+D) on the window and in the
// preview's menu opens it beside the preview. Every change in the panel is a change of the
// editor's document (a drag of one bar or a run of typing one undo step, a pick one step);
// Escape puts back what the panel edits as one more step. The panel follows the document while
// it is open (undo, redo, a load).
class TDecorationChooser : public QObject
{
    Q_OBJECT

public:
    // Bars' steps merge by kinds of their own, above the history's.
    static constexpr int kFirstBarKind = 100;

    // The action lives on `window` and at the end of `menu`; the bars' values are hinted
    // through `hints`. `previewOnScreen` is where the preview lies (global); the panel takes
    // `look`.
    TDecorationChooser(QWidget* window, TLogoEditor* editor, QMenu* menu, TValueHints* hints,
                       std::function<QRect()> previewOnScreen, const TChooserLook& look);

    QAction* Action() const { return FAction; }
    // The panel once it has been opened; null before.
    TDecorationPanel* Panel() const { return FPanel; }

    // The undo kind of a change in the panel.
    static int KindOf(TDecorationPanel::TStep step);

    void Open();

private:
    void CreatePanel();

    QWidget* FWindow;
    TLogoEditor* FEditor;
    TValueHints* FHints;
    std::function<QRect()> FPreviewOnScreen;
    TChooserLook FLook;
    QAction* FAction;
    TDecorationPanel* FPanel = nullptr;
};
