// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <functional>

// One look's colours of a shine button: a flat or gradient background and three frame colours.
// The button owns two sets, for the up looks and for the down looks.
class TShineBtnColors
{
public:
    TShineBtnColors() = default;
    TShineBtnColors(const TShineBtnColors&) = delete;
    TShineBtnColors& operator=(const TShineBtnColors&) = delete;
    ~TShineBtnColors();

    TColor Highlight() const { return FHighlight; }
    void SetHighlight(TColor value);
    TColor Shadow() const { return FShadow; }
    void SetShadow(TColor value);
    TColor DarkShadow() const { return FDarkShadow; }
    void SetDarkShadow(TColor value);
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor value);
    bool GradVertical() const { return FGradVertical; }
    void SetGradVertical(bool value);
    bool Gradation() const { return FGradation; }
    void SetGradation(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // Copies all seven values from Source, then notifies, changed or not.
    void Assign(const TShineBtnColors& Source);
    // Copies all seven values into Dest, which notifies.
    void AssignTo(TShineBtnColors& Dest) const { Dest.Assign(*this); }

    std::function<void(TShineBtnColors* Sender)> OnChange;

private:
    void Changed();

    TColor FColor = clBtnFace;
    TColor FHighlight = clBtnHighlight;
    TColor FShadow = clBtnShadow;
    TColor FDarkShadow = clWindowFrame;
    TColor FGradColor = clBlue;
    bool FGradVertical = false;
    bool FGradation = false;
};
