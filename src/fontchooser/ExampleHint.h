// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/THintWindow.h"

#include <QFont>

// The sample popup beside the font list: the framework's plain hint window, showing its text
// in the face of the highlighted entry. Like every hint window it shows 4 pixels taller than
// the rectangle it is given, inside the desktop, without taking the focus.
class TExampleHint : public THintWindow
{
    Q_OBJECT

public:
    explicit TExampleHint(QWidget* owner);

    QFont SampleFont() const { return FFont; }
    // The face and pixel size of `font` become the canvas font that measures and draws.
    void SetSampleFont(const QFont& value);

    void ReleaseHandle() { hide(); }

    QString Text() const { return Caption(); }

private:
    QFont FFont;
};
