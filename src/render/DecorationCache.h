// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "render/TextPlacement.h"

#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QPoint>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What a label keeps of its decorations between paints (CaptionMask holds one for the preview):
// the letters' outline and the rings' and the glow's, while the placement and the widths stay,
// and the masks and the soft shadow drawn from them, each with the key of everything it was
// drawn from. A change of the face's colours, the gradient or the rings' colours then repaints
// without growing, filling or blurring anything again; each part is built anew only when
// something it is drawn from changes, and gives the bytes a fresh paint gives. Not shared
// between threads.
class DecorationCache
{
public:
    // How often the outlines and each kept picture were built, for tests.
    int Builds() const { return FBuilds; }

private:
    friend class DecorationPainter;

    struct Kept
    {
        QByteArray key;
        QImage image;
        QPoint topLeft;
    };

    std::optional<TextPlacement> FPlacement;
    std::vector<double> FGrowths;
    bool FGrown = false;
    QPainterPath FLetters;
    std::vector<QPainterPath> FOutlines;
    // Counts the outlines built, so that the pictures drawn from them name them in their keys.
    std::uint64_t FGeneration = 0;
    Kept FGlow;
    std::array<Kept, LogoDocument::kEdges> FRings;
    // The shadow in its colours, and as coverage for the see-through label's alpha.
    Kept FShadow;
    Kept FShadowCoverage;
    int FBuilds = 0;
};
