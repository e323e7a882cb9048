// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "platform/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>

enum TdxfLabelStyle : std::uint8_t {
    dxfNormal = 0,
    dxfRaised = 1,
    dxfLowered = 2,
    dxfOutLine = 3,
};

enum TdxfEffectStyle : std::uint8_t {
    dxfFun = 0,
    dxfExtrude = 1,
    dxfCool = 2,
};

enum TdxfOrientation : std::uint8_t {
    dxfLeft = 0,
    dxfRight = 1,
    dxfTop = 2,
    dxfBottom = 3,
    dxfLeftTop = 4,
    dxfLeftBottom = 5,
    dxfRightTop = 6,
    dxfRightBottom = 7,
};

// The shadow offset (dx, dy) in screen pixels of a direction and depth; an unknown direction
// has none.
QPoint ShadowOffset(TdxfOrientation orientation, int depth);

// A ring of edging around the letters; a width of 0 leaves it off.
struct LogoEdge
{
    int width = 0;
    TColor color = clBlack;

    bool operator==(const LogoEdge&) const = default;
};

// What decorates the letters beyond the label's own effects; every one is off at its default.
// Sizes are in preview pixels.
struct LogoDecorations
{
    // Rings around the letters, nearest first; they lie behind the face and cast the shadow.
    std::array<LogoEdge, LogoDocument::kEdges> edges {};
    // A linear gradient instead of the text colour: from the text colour through fillColor2 (to
    // fillColor3 unless it is LogoDocument::kNoFillColor), at fillAngle degrees
    // counter-clockwise across the letters' box in the text's own frame.
    bool gradient = false;
    TColor fillColor2 = clBlack;
    TColor fillColor3 = LogoDocument::kNoFillColor;
    int fillAngle = 0;
    // The shadow's blur (about how far it spreads) and opacity in percent.
    int shadowBlur = 0;
    int shadowOpacity = 100;
    // A glow around the edged letters, behind everything but the background: how far it
    // reaches, its colour and its opacity in percent.
    int glowSize = 0;
    TColor glowColor = clYellow;
    int glowOpacity = 100;
    // Hundredths of the em added after every letter by the shaping, kerning kept.
    int spacing = 0;

    bool operator==(const LogoDecorations&) const = default;
};

// A second, smaller line beside the caption; none while its text is empty.
struct LogoTagline
{
    QString text;
    int size = 50; // percent of the caption's size
    TLogoTaglinePlace place = TLogoTaglinePlace::Under;
    TLogoTaglineAlign align = TLogoTaglineAlign::Centre;
    int gap = 20; // percent of the tagline's own size

    bool operator==(const LogoTagline&) const = default;
};

// Everything that decides how a logo label looks, as a plain value: what LogoPainter draws.
// Sizes are in preview pixels; the painter scales them.
struct LogoLook
{
    QString caption;
    // The face at its preview size (pixel size set); its point size decides the raised rim.
    QFont font;
    TColor textColor = clWhite;
    // The background; drawn, or keyed out when the label is transparent.
    TColor color = clBlack;
    // What the engraved (lowered) face darkens: the label's parent's colour.
    TColor engravedBase = clBlack;
    TdxfLabelStyle style = dxfNormal;
    int angle = 0;
    TdxfEffectStyle effectStyle = dxfFun;
    TdxfOrientation orientation = dxfRightBottom;
    int depth = 0;
    TColor shadowColor = clGray;
    // Tiled inside the letters when the face is an outline font; null for none.
    QImage texture;
    int penWidth = 1;
    // The bend of the caption's outline (TextWarp); none draws the text as it is.
    TLogoWarp warp = TLogoWarp::None;
    int warpAmount = 0;
    LogoDecorations decorations;
    LogoTagline tagline;
    // Top to bottom, the lines right to left (縦書き).
    bool vertical = false;

    bool operator==(const LogoLook&) const = default;
};
