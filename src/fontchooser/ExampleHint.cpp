// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/ExampleHint.h"

#include "platform/Property.h"

TExampleHint::TExampleHint(QWidget* owner)
    : THintWindow(owner)
{
    hide();
}

void TExampleHint::SetSampleFont(const QFont& value)
{
    if (!StoreIfChanged(FFont, value))
        return;
    CanvasFont().SetName(value.family());
    CanvasFont().SetHeight(-value.pixelSize());
    update();
}
