// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// Enumerations of the shine button, one byte each with the ordinals the layout stores.

enum TFrameType : std::uint8_t {
    ftFlatFrame = 0,
    ftNormalFrame = 1,
    ftEnclosedFrame = 2,
};

enum TActiveImageType : std::uint8_t {
    aiNormal = 0,
    aiXorLight = 1,
    aiHalfLight = 2,
    aiQuaterLight = 3,
    aiAddLight = 4,
    aiFrameLight = 5,
    aiFrameLight2 = 6,
    aiMaskLight = 7,
};

enum TDisabledImageType : std::uint8_t {
    diDefault = 0,
    diGrayscale = 1,
    diAlphaHalfTrans = 2,
    diAlphaQuaterTrans = 3,
    diMaskTrans = 4,
};

enum TButtonLayout : std::uint8_t {
    blGlyphLeft = 0,
    blGlyphRight = 1,
    blGlyphTop = 2,
    blGlyphBottom = 3,
};

// The look of a shine button. Below shsUpActive is a down look; 0 and 2 are the active looks.
enum TShineDrawState : std::uint8_t {
    shsDownActive = 0,
    shsDown = 1,
    shsUpActive = 2,
    shsUp = 3,
    shsDisabled = 4,
};

constexpr bool IsDownLook(TShineDrawState state)
{
    return state < shsUpActive;
}
constexpr bool IsActiveLook(TShineDrawState state)
{
    return state == shsDownActive || state == shsUpActive;
}

enum TMouseButton : std::uint8_t {
    mbLeft = 0,
    mbRight = 1,
    mbMiddle = 2,
};

// Keys and mouse buttons held during a mouse event, as bits.
using TShiftState = std::uint8_t;
enum : TShiftState {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
