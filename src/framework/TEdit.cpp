// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TEdit.h"

#include "platform/Property.h"

TEdit::TEdit(QWidget* parent)
    : QLineEdit(parent)
{
    FFont.OnChange = [this] {
        ApplyLook();
    };
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
    ApplyLook();
}

void TEdit::SetColor(TColor value)
{
    if (StoreIfChanged(FColor, value))
        ApplyLook();
}

void TEdit::ApplyLook()
{
    setFont(FFont.ToQFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(FColor));
    pal.setColor(QPalette::Text, ToQColor(FFont.Color()));
    pal.setColor(QPalette::Highlight, ToQColor(clHighlight));
    pal.setColor(QPalette::HighlightedText, ToQColor(clHighlightText));
    setPalette(pal);
}
