// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/ShineBtnColors.h"

#include "platform/Property.h"

TShineBtnColors::~TShineBtnColors()
{
    OnChange = nullptr;
}

void TShineBtnColors::SetHighlight(TColor value)
{
    if (StoreIfChanged(FHighlight, value))
        Changed();
}

void TShineBtnColors::SetShadow(TColor value)
{
    if (StoreIfChanged(FShadow, value))
        Changed();
}

void TShineBtnColors::SetDarkShadow(TColor value)
{
    if (StoreIfChanged(FDarkShadow, value))
        Changed();
}

void TShineBtnColors::SetGradColor(TColor value)
{
    if (StoreIfChanged(FGradColor, value))
        Changed();
}

void TShineBtnColors::SetGradVertical(bool value)
{
    if (StoreIfChanged(FGradVertical, value))
        Changed();
}

void TShineBtnColors::SetGradation(bool value)
{
    if (StoreIfChanged(FGradation, value))
        Changed();
}

void TShineBtnColors::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        Changed();
}

void TShineBtnColors::Assign(const TShineBtnColors& Source)
{
    FColor = Source.FColor;
    FHighlight = Source.FHighlight;
    FShadow = Source.FShadow;
    FDarkShadow = Source.FDarkShadow;
    FGradColor = Source.FGradColor;
    FGradVertical = Source.FGradVertical;
    FGradation = Source.FGradation;
    Changed();
}

void TShineBtnColors::Changed()
{
    if (OnChange)
        OnChange(this);
}
