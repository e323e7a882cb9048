// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/WindowCommands.h"

#include <QObject>
#include <QString>

class QDropEvent;
class QMimeData;
class QPoint;
class QWidget;

// Files dropped on the window: a logo file anywhere loads (as 読込 does, without its dialog);
// a picture on the preview becomes the background, with Ctrl held the texture. Anything else is
// refused while it is dragged, so the cursor shows no drop, and nothing is ever half applied.
class TLogoDrops : public QObject
{
    Q_OBJECT

public:
    enum TDropKind { dkNone, dkLogoFile, dkPicture, dkPictureData };

    // Takes drops on `window`; pictures only over `preview`.
    TLogoDrops(QWidget* window, QWidget* preview, TWindowCommands commands);

    // What a drop of `data` at `pos` (window coordinates) would do.
    TDropKind KindAt(const QMimeData* data, const QPoint& pos) const;

    // The one local file the data names, or empty (none, several, or not a local file).
    static QString SingleLocalFile(const QMimeData* data);
    // What the data is, wherever it is dropped.
    static TDropKind Classify(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OverPreview(const QPoint& pos) const;
    void Drop(QDropEvent* event);

    QWidget* FWindow;
    QWidget* FPreview;
    TWindowCommands FCommands;
};
