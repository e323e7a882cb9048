// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QTransform>

// Bends a caption's outline in the text's own frame, before it is turned and before any
// shadow is made from it. The text cell (`frame`) and its baseline decide the bend, so the same
// warp of a frame s times as large is the same shape s times as large; the bent cell's box is
// centred where the straight cell was, so the logo stays in the middle of the label. A long line
// bends into a box far larger than the label, whose centre can lie where no letter is: when the
// box reaches farther than `room` (from the cell's centre to the label's nearest edge) the shape
// moves toward the middle of the text by as much, though the middle need come no nearer than a
// line's height inside the room; so a picture shows the bent text where it showed the straight
// text.
//
// With a = amount / 100 (-100 to 100):
//   Arch         the baseline becomes an arc of a × 180° of its own length, the letters
//                standing on it; a negative amount hangs them inside the arc
//   ArchDown     the arch mirrored: the ends rise
//   Circle       as Arch with a × 360° of its length and a third of the cell's height more, so
//                at 100 the baseline nearly closes a circle, its ends that far apart
//   Wave         one period of a sine across the cell, up to a × half the cell's height
//   Flag         two periods, up to a × a third of the cell's height
//   Bulge        heights about the cell's middle grow by a × 60 % at the centre, the ends keep
//   Pinch        the ends grow by a × 60 %, the centre keeps its height
//   Perspective  the cell seen in perspective: the top a × 60 % narrower (the bottom when a < 0),
//                though no more than the cell's height on either side, so that the letters at
//                the ends of a long line do not lean until they lie over their neighbours
//   Slant        the text rises to the right by a × 30°, letters kept upright
// A negative amount mirrors the bend (the baseline's displacement changes sign).
class TextWarp
{
public:
    TextWarp(TLogoWarp kind, int amount, const QRectF& frame, qreal baseline, qreal room = qInf());

    // No warp, or an amount of 0: the outline is drawn as it is.
    static bool IsIdentity(TLogoWarp kind, int amount);
    bool IsIdentity() const { return IsIdentity(FKind, FAmount); }

    bool operator==(const TextWarp&) const = default;

    // The arc of the arch warps, degrees (signed); 0 for the warps that are no arch. The
    // baseline becomes all of it, but for a circle's gap.
    static qreal ArcDegrees(TLogoWarp kind, int amount);

    QPointF Map(QPointF point) const;
    // The text cell the warp bends.
    const QRectF& Frame() const { return FFrame; }

    // How far a mapped outline may stray from the true bend of the outline, in the frame's units.
    static constexpr qreal kTolerance = 0.02;

    // Every line and curve of `path`, mapped, as cubic curves that stay within `tolerance` of the
    // mapped curve and leave each joint along it, so the outline stays smooth however far it is
    // zoomed. The identity gives the path back unchanged.
    QPainterPath MapPath(const QPainterPath& path, qreal tolerance = kTolerance) const;

    // A line of text as outlines, its pen's origin at (0, `baseline`): the letters, and the
    // underline or strike-out of the font apart (as one outline their overlaps would cancel).
    struct Outline
    {
        QPainterPath letters;
        QPainterPath lines;
    };
    static Outline TextOutline(const QString& text, const QFont& font, qreal baseline,
                               qreal lead = 0);
    // The outline mapped; the letters fill by the non-zero rule, as text is rasterised.
    Outline MapText(const QString& text, const QFont& font, qreal baseline,
                    qreal tolerance = kTolerance) const;

private:
    // The bend before the shape is centred.
    QPointF Bend(QPointF point) const;
    // A point of a mapped curve: its parameter, place and velocity.
    struct Knot
    {
        qreal t = 0;
        QPointF point;
        QPointF velocity;
    };
    template<class Curve> QPointF Velocity(const Curve& at, qreal t) const;
    template<class Curve>
    void AddPieces(QPainterPath& out, const Curve& at, qreal length, qreal tolerance) const;
    template<class Curve>
    void Subdivide(QPainterPath& out, const Curve& at, const Knot& from, const Knot& to,
                   qreal tolerance, int depth) const;

    TLogoWarp FKind;
    int FAmount;
    QRectF FFrame;
    qreal FBaseline;
    qreal FA; // amount / 100
    qreal FRadius = 0; // signed radius of the arch warps
    QTransform FPerspective;
    QPointF FCentring;
};
