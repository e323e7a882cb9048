// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QFont>

// The look of the dark list a chooser's panel takes from the window's face list: its colours
// and the captions' font.
struct TChooserLook
{
    TColor color = clBlack;
    TColor text = clWhite;
    TColor highlight = clHighlight;
    TColor highlightText = clHighlightText;
    QFont captionFont;
};
