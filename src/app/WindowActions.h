// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/WindowCommands.h"

#include <QByteArray>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPoint>

#include <functional>

class QAction;
class QImage;
class QKeyEvent;
class QMenu;
class TLogoEditor;

// The window's keyboard shortcuts and the right-click menu of the preview, with the same
// actions: 新規, 読込, 保存, BMP保存, undo and redo, the clipboard and the recent logo files. The
// skinned window shows no menu bar; the actions live on the window itself and work wherever the
// keyboard focus is. Only copy and paste yield to a text field: copy while it has text
// selected, paste while the clipboard holds no picture.
class TWindowActions : public QObject
{
    Q_OBJECT

public:
    // The actions live on `window`; the preview's menu opens on `preview`. Undo and redo work
    // on the editor's history.
    TWindowActions(QWidget* window, QWidget* preview, TLogoEditor* editor,
                   TWindowCommands commands);

    QAction* New() const { return FNew; }
    QAction* Open() const { return FOpen; }
    QAction* Save() const { return FSave; }
    QAction* Export() const { return FExport; }
    QAction* Copy() const { return FCopy; }
    QAction* Paste() const { return FPaste; }
    QAction* Undo() const { return FUndo; }
    QAction* Redo() const { return FRedo; }

    // The preview's menu, filled for showing; its "最近ノファイル" submenu lists the recent files.
    QMenu* PreviewMenu() const { return FMenu; }
    QMenu* RecentMenu() const { return FRecentMenu; }
    // Refills the recent files submenu.
    void UpdateRecentMenu();
    // Opens the preview's menu at a screen point (without waiting for a choice).
    void ShowPreviewMenu(const QPoint& globalPos);

    // The region under the selection frame as it goes to the clipboard: as shown over a
    // background picture, else the logo alone on transparency.
    QImage ClipboardPicture() const;
    // The same region as an SVG document of shapes.
    QByteArray ClipboardSvg() const;
    // Copies the region under the selection frame to the clipboard as a picture and as SVG,
    // each drawn when a program first asks for it.
    void CopyToClipboard();
    // A picture on the clipboard becomes the background; false when there is none.
    bool PasteFromClipboard();
    // Loads a recent logo file; a file that is gone leaves the list with a message.
    void OpenRecent(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a key pressed in `focus` goes to the window's action rather than the widget.
    bool WindowTakesKey(const QWidget* focus, const QKeyEvent* key) const;
    QAction* AddAction(const QString& text, const QList<QKeySequence>& keys,
                       std::function<void()> run);

    // Whether the frame holds a background picture, which the clipboard's copy keeps.
    bool BackgroundShown() const;

    QWidget* FWindow;
    TLogoEditor* FEditor;
    TWindowCommands FCommands;
    QAction* FNew = nullptr;
    QAction* FOpen = nullptr;
    QAction* FSave = nullptr;
    QAction* FExport = nullptr;
    QAction* FCopy = nullptr;
    QAction* FPaste = nullptr;
    QAction* FUndo = nullptr;
    QAction* FRedo = nullptr;
    QMenu* FMenu = nullptr;
    QMenu* FRecentMenu = nullptr;
};
