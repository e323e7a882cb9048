// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Colors.h"

#include <QString>

#include <cstdint>

// The one font style a logo may carry (the window's four style buttons form one group).
enum class TLogoFontStyle : std::uint8_t { None, Bold, Italic, Underline, StrikeOut };

// The label styles of the three style buttons, in button order.
enum class TLogoLabelStyle : std::uint8_t { Normal, Outline, Solid };

// The shadow styles of the three shadow buttons, in button order.
enum class TLogoShadowStyle : std::uint8_t { Normal, Deep, Gradation };

// How the caption's outline is bent, in the order of the warp gallery and of the file's numbers.
enum class TLogoWarp : std::uint8_t {
    None,
    Arch,
    ArchDown,
    Circle,
    Wave,
    Flag,
    Bulge,
    Pinch,
    Perspective,
    Slant,
};

// Everything a logo file holds: the settings the user edits and the two picture file names.
// A default-constructed document holds the values that New gives (and the start-up face).
// The numbers hold the ranges of their track bars; LogoFile clamps what it reads into them.
struct LogoDocument
{
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 200;
    static constexpr int kMinAngle = 0;
    static constexpr int kMaxAngle = 360;
    static constexpr int kMinDepth = 0;
    static constexpr int kMaxDepth = 200;
    // Direction positions run clockwise on screen from the lower right.
    static constexpr int kMinDirection = 0;
    static constexpr int kMaxDirection = 7;
    static constexpr int kMinWarp = int(TLogoWarp::None);
    static constexpr int kMaxWarp = int(TLogoWarp::Slant);
    // 0 leaves the text straight; a negative amount bends the other way.
    static constexpr int kMinWarpAmount = -100;
    static constexpr int kMaxWarpAmount = 100;
    // The text field holds no more; a longer label from a file is cut to it.
    static constexpr int kMaxTextLength = 32767;

    QString Text = QStringLiteral("Tamrin - Quilvoro");
    // A layout face name; FontInfo finds the face that stands for it on this system.
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
    TLogoFontStyle FontStyle = TLogoFontStyle::None;
    int Size = 40; // points
    int Angle = 0; // degrees, counter-clockwise
    TLogoLabelStyle LabelStyle = TLogoLabelStyle::Normal;
    TLogoShadowStyle ShadowStyle = TLogoShadowStyle::Gradation;
    int Depth = 30; // pixels
    int Direction = 0; // the direction track bar's position, not the label's orientation
    TColor TextColor = clWhite;
    TColor ShadowColor = clGray;
    TColor BackgroundColor = clBlack;
    // Full paths of the texture and background pictures; empty when there is none.
    QString TextureFile;
    QString BackgroundFile;
    TLogoWarp Warp = TLogoWarp::None;
    // Kept while the warp is None, so picking a warp again starts where the user left it.
    int WarpAmount = 0;

    bool operator==(const LogoDocument&) const = default;

    // `text` cut to what the text field holds, never between the halves of a surrogate pair.
    static QString FittedText(const QString& text)
    {
        if (text.size() <= kMaxTextLength)
            return text;
        const qsizetype length =
            text.at(kMaxTextLength - 1).isHighSurrogate() ? kMaxTextLength - 1 : kMaxTextLength;
        return text.left(length);
    }
};
