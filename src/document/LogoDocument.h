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

// How the face is filled: one colour, or a linear gradient across the letters.
enum class TLogoFill : std::uint8_t { Solid, Gradient };

// Where the tagline lies beside the main line, and how it aligns to it.
enum class TLogoTaglinePlace : std::uint8_t { Under, Above };
enum class TLogoTaglineAlign : std::uint8_t { Left, Centre, Right };

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
    // Decorations, each off at its default. Widths and sizes are in preview pixels.
    static constexpr int kEdges = 3;
    static constexpr int kMinEdgeWidth = 0;
    static constexpr int kMaxEdgeWidth = 40;
    static constexpr int kMinFill = int(TLogoFill::Solid);
    static constexpr int kMaxFill = int(TLogoFill::Gradient);
    static constexpr int kMinFillAngle = 0;
    static constexpr int kMaxFillAngle = 359;
    static constexpr int kMinBlur = 0;
    static constexpr int kMaxBlur = 50;
    static constexpr int kMinOpacity = 0;
    static constexpr int kMaxOpacity = 100;
    // Hundredths of the face's em added between letters.
    static constexpr int kMinSpacing = -50;
    static constexpr int kMaxSpacing = 200;
    // The tagline's size in percent of the main size, its gap in percent of its own size.
    static constexpr int kMinTaglineSize = 20;
    static constexpr int kMaxTaglineSize = 100;
    static constexpr int kMinTaglineGap = 0;
    static constexpr int kMaxTaglineGap = 100;
    // A gradient's third colour when it has only two.
    static constexpr TColor kNoFillColor = 0xFFFFFFFFu;
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
    // Rings around the letters, nearest first; a width of 0 leaves a ring off.
    int Edge1Width = 0;
    TColor Edge1Color = clBlack;
    int Edge2Width = 0;
    TColor Edge2Color = clWhite;
    int Edge3Width = 0;
    TColor Edge3Color = clBlack;
    // A gradient runs from the text colour through FillColor2 (to FillColor3 when it has three)
    // at FillAngle degrees counter-clockwise in the text's own frame.
    TLogoFill Fill = TLogoFill::Solid;
    TColor FillColor2 = clBlack;
    TColor FillColor3 = kNoFillColor;
    int FillAngle = 0;
    int ShadowBlur = 0;
    int ShadowOpacity = 100; // percent
    int GlowSize = 0;
    TColor GlowColor = clYellow;
    int GlowOpacity = 100; // percent
    int Spacing = 0;
    // A second, smaller line of text; empty when the logo has none.
    QString Tagline;
    int TaglineSize = 50; // percent
    TLogoTaglinePlace TaglinePlace = TLogoTaglinePlace::Under;
    TLogoTaglineAlign TaglineAlign = TLogoTaglineAlign::Centre;
    int TaglineGap = 20; // percent
    // Top to bottom, lines right to left (縦書き).
    bool Vertical = false;

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
