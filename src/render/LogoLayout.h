// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/LogoLook.h"

#include <QPoint>

#include <algorithm>
#include <cstdint>
#include <vector>

// One part of a logo label as laid out before anything is drawn: which copy of the letters goes
// where, in which colour. Offsets are device pixels on the screen and do not turn with the text.
struct LogoPart
{
    enum Kind : std::uint8_t {
        // The edged letters grown by the glow and blurred, in `colour`.
        Glow,
        // The letters moved by `offset`, filled in `colour`, or in the face's gradient when
        // `gradient` is set. A flat shadow is one.
        Copy,
        // A deep or gradation shadow: colours.size() copies of the letters, copy k (from 1)
        // moved by k × `step`, in colours[k - 1].
        Stack,
        // Edging ring `ring` (0 the nearest) in `colour`; `hollow` keeps the letters inside it
        // unfilled.
        Ring,
        // The letters' outline stroked in `colour` (or the gradient) with a round pen `pen`
        // device pixels wide; 0 is one device pixel.
        Outline,
        // The texture, tiled from the label's top-left corner, inside the letters moved by
        // `offset`.
        Texture,
    };
    Kind kind = Copy;
    // The shadow rather than the face; cast by the outermost ring when there are rings.
    bool shadow = false;
    QPoint offset;
    TColor colour = clBlack;
    bool gradient = false;
    int pen = 0;
    int ring = 0;
    bool hollow = false;
    QPoint step;
    std::vector<TColor> colours;
    // Over nothing, a gradation toward the background colour fades in alpha instead: copy k at
    // LogoLayout::FadeAlpha(k, colours.size()) of its colour.
    bool fadesOut = false;
};

// The parts of a logo label at a scale, back to front: the glow, the shadow, the rings, the face
// (the rims of a raised or lowered face, then the face, or the outline's pen) and the texture.
// The raster painter and the vector shapes both draw this list, so each rule of the face and
// the shadow (the rims and their colours, the pen's width, the layers and their fade) is
// written here once.
class LogoLayout
{
public:
    // Over nothing (a picture with transparency), a gradation toward the background colour fades
    // out in alpha, so that it fades into whatever the picture is laid on.
    LogoLayout(const LogoLook& look, int scale, bool overNothing = false);

    const std::vector<LogoPart>& Parts() const { return FParts; }
    // The shadow's part, or null when there is none.
    const LogoPart* Shadow() const;

    // A deep or gradation shadow: `layers` copies of the caption, copy k moved by k × `step`
    // device pixels. None for a flat shadow.
    struct Steps
    {
        int layers = 0;
        QPoint step;
    };
    static Steps ShadowSteps(const LogoLook& look, int scale);

    // How far the rims of a raised or lowered face lie from it at most, down and right, in
    // device pixels at `scale`.
    static int RimReach(int scale) { return 2 * std::max(1, scale); }
    // How far an outline's pen may reach past the letters, with a pixel for its smoothing.
    static int PenReach(const LogoLook& look, int scale)
    {
        return (std::max(1, look.penWidth) + 2) * std::max(1, scale);
    }

    // The alpha of copy k (from 1, the nearest) of `layers` of a shadow that fades out: 255
    // for the nearest down to 255 / layers for the farthest, rounded to nearest, ties to even.
    static std::uint32_t FadeAlpha(int k, int layers);

    // Step s of n from a towards b, per channel, truncated. System colours are not resolved.
    static TColor GetColor(TColor a, TColor b, int s, int n);

private:
    void AddShadow(const LogoLook& look, int scale, bool overNothing);
    void AddFace(const LogoLook& look, int scale);

    std::vector<LogoPart> FParts;
    int FShadow = -1;
};
