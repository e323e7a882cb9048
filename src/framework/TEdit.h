// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/TFont.h"

#include <QLineEdit>

#include <functional>

// A single-line edit box with a background colour, an owned font and a change event.
class TEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& value) { setText(value); }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont* Font() { return &FFont; }

    std::function<void(QObject*)> OnChange;

private:
    void ApplyLook();

    TColor FColor = clWindow;
    TFont FFont;
};
