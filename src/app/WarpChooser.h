// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAction;
class TMakeForm1;
class TWarpGallery;

// Puts the warp gallery on the window: the action 変形… (Ctrl+T) on the window and in the
// preview's menu opens it over the preview; what the gallery shows live reaches the label
// alone, what it applies becomes a step of the undo history.
class TWarpChooser : public QObject
{
    Q_OBJECT

public:
    explicit TWarpChooser(TMakeForm1* form);

    QAction* Action() const { return FAction; }
    // The gallery once it has been opened; null before.
    TWarpGallery* Gallery() const { return FGallery; }

    void Open();

private:
    void CreateGallery();

    TMakeForm1* FForm;
    QAction* FAction;
    TWarpGallery* FGallery = nullptr;
};
