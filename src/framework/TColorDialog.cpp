// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TColorDialog.h"

#include "framework/TDialogs.h"

bool TColorDialog::Execute(QWidget* parent)
{
    const std::optional<TColor> chosen = TDialogs::Current().ChooseColor(parent, FColor);
    if (!chosen)
        return false;
    FColor = *chosen;
    return true;
}
