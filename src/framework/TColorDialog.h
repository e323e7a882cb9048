// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

class QWidget;

// A colour dialog that remembers its colour: Execute opens on Color and keeps the choice.
class TColorDialog
{
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }

    // Shows the dialog; true when the user confirmed (Color then holds the choice).
    bool Execute(QWidget* parent);

private:
    TColor FColor = clBlack;
};
