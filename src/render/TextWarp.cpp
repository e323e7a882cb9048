// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/TextWarp.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr qreal kGrowth = 0.6; // of bulge, pinch and perspective at amount 100
constexpr qreal kSlantDegrees = 30;
// The gap a full circle leaves between the ends of its baseline, in cell heights.
constexpr qreal kCircleGap = 1.0 / 3;
// The farthest perspective moves an end of the narrow edge inward, in cell heights.
constexpr qreal kMaxLean = 1;
// Samples per edge of the cell when its bent box is measured.
constexpr int kFrameSamples = 64;
// Halvings of one piece before it is taken as it is.
constexpr int kMaxDepth = 14;

QPointF Cubic(QPointF p0, QPointF c1, QPointF c2, QPointF p1, qreal t)
{
    const qreal u = 1 - t;
    return p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p1 * (t * t * t);
}

} // namespace

TextWarp::TextWarp(TLogoWarp kind, int amount, const QRectF& frame, qreal baseline, qreal room)
    : FKind(kind)
    , FAmount(std::clamp(amount, LogoDocument::kMinWarpAmount, LogoDocument::kMaxWarpAmount))
    , FFrame(frame)
    , FBaseline(baseline)
    , FA(FAmount / 100.0)
{
    if (IsIdentity() || frame.width() <= 0 || frame.height() <= 0) {
        FKind = TLogoWarp::None;
        return;
    }
    const qreal arc = ArcDegrees(kind, FAmount) * std::numbers::pi / 180.0;
    // A closed circle would set the last letter against the first.
    const qreal gap = kind == TLogoWarp::Circle ? frame.height() * kCircleGap : 0;
    if (arc != 0)
        FRadius = (frame.width() + gap) / arc;
    if (kind == TLogoWarp::Perspective) {
        const qreal inset =
            std::min(frame.width() * kGrowth / 2, frame.height() * kMaxLean) * std::abs(FA);
        const qreal topInset = FA > 0 ? inset : 0;
        const qreal bottomInset = FA > 0 ? 0 : inset;
        QPolygonF to;
        to << QPointF(frame.left() + topInset, frame.top())
           << QPointF(frame.right() - topInset, frame.top())
           << QPointF(frame.right() - bottomInset, frame.bottom())
           << QPointF(frame.left() + bottomInset, frame.bottom());
        QTransform::quadToQuad(QPolygonF(frame).mid(0, 4), to, FPerspective);
    }

    QPointF low(qInf(), qInf());
    QPointF high(-qInf(), -qInf());
    const QPointF corners[5] = {frame.topLeft(), frame.topRight(), frame.bottomRight(),
                                frame.bottomLeft(), frame.topLeft()};
    for (int edge = 0; edge < 4; ++edge) {
        for (int i = 0; i < kFrameSamples; ++i) {
            const QPointF p = Bend(
                corners[edge] + (corners[edge + 1] - corners[edge]) * (i / qreal(kFrameSamples)));
            low = {std::min(low.x(), p.x()), std::min(low.y(), p.y())};
            high = {std::max(high.x(), p.x()), std::max(high.y(), p.y())};
        }
    }
    FCentring = frame.center() - (low + high) / 2;
    // Centred, a bent box far larger than the label can leave the picture empty: the shape
    // moves toward the middle of the text as far as its box reaches out of the room, but the
    // middle need come no nearer than a line's height inside.
    const QPointF drift = Bend(frame.center()) + FCentring - frame.center();
    const qreal distance = std::hypot(drift.x(), drift.y());
    if (distance > 0 && std::isfinite(room)) {
        const QPointF half = (high - low) / 2;
        const qreal reach =
            (std::abs(drift.x()) * half.x() + std::abs(drift.y()) * half.y()) / distance;
        const qreal limit = std::max(std::max(room - frame.height(), qreal(0)), 2 * room - reach);
        if (distance > limit)
            FCentring -= drift * ((distance - limit) / distance);
    }
}

bool TextWarp::IsIdentity(TLogoWarp kind, int amount)
{
    return kind == TLogoWarp::None || amount == 0;
}

qreal TextWarp::ArcDegrees(TLogoWarp kind, int amount)
{
    const qreal a =
        std::clamp(amount, LogoDocument::kMinWarpAmount, LogoDocument::kMaxWarpAmount) / 100.0;
    switch (kind) {
    case TLogoWarp::Arch:
        return a * 180;
    case TLogoWarp::ArchDown:
        return -a * 180;
    case TLogoWarp::Circle:
        return a * 360;
    default:
        return 0;
    }
}

QPointF TextWarp::Map(QPointF point) const
{
    if (FKind == TLogoWarp::None)
        return point;
    return Bend(point) + FCentring;
}

QPointF TextWarp::Bend(QPointF p) const
{
    const qreal cx = FFrame.center().x();
    const qreal cy = FFrame.center().y();
    // -1 at the cell's left edge, 1 at its right; glyphs that overhang are held at the ends.
    const qreal u = std::clamp((p.x() - cx) / (FFrame.width() / 2), qreal(-1), qreal(1));
    const qreal turn = (p.x() - FFrame.left()) / FFrame.width() * 2 * std::numbers::pi;
    switch (FKind) {
    case TLogoWarp::None:
        return p;
    case TLogoWarp::Arch:
    case TLogoWarp::ArchDown:
    case TLogoWarp::Circle: {
        // The baseline keeps its length along the arc; height above it becomes radial distance.
        const qreal phi = (p.x() - cx) / FRadius;
        const qreal r = FRadius + (FBaseline - p.y());
        return {cx + r * std::sin(phi), FBaseline + FRadius - r * std::cos(phi)};
    }
    case TLogoWarp::Wave:
        return {p.x(), p.y() + FA * FFrame.height() / 2 * std::sin(turn)};
    case TLogoWarp::Flag:
        return {p.x(), p.y() + FA * FFrame.height() / 3 * std::sin(2 * turn)};
    case TLogoWarp::Bulge:
        return {p.x(), cy + (p.y() - cy) * (1 + kGrowth * FA * (1 - u * u))};
    case TLogoWarp::Pinch:
        return {p.x(), cy + (p.y() - cy) * (1 + kGrowth * FA * u * u)};
    case TLogoWarp::Perspective:
        return FPerspective.map(p);
    case TLogoWarp::Slant:
        return {p.x(),
                p.y() - (p.x() - cx) * FA * std::tan(kSlantDegrees * std::numbers::pi / 180.0)};
    }
    return p;
}

template<class Curve> QPointF TextWarp::Velocity(const Curve& at, qreal t) const
{
    // A central difference: the source curves are polynomials, defined a little past their ends.
    constexpr qreal kDelta = 1e-5;
    return (Map(at(t + kDelta)) - Map(at(t - kDelta))) / (2 * kDelta);
}

template<class Curve>
void TextWarp::Subdivide(QPainterPath& out, const Curve& at, const Knot& from, const Knot& to,
                         qreal tolerance, int depth) const
{
    // The cubic that leaves and reaches the ends along the mapped curve at its speed there; its
    // error shrinks with the fourth power of the piece's length.
    const qreal third = (to.t - from.t) / 3;
    const QPointF c1 = from.point + from.velocity * third;
    const QPointF c2 = to.point - to.velocity * third;
    if (depth < kMaxDepth) {
        qreal error = 0;
        for (const qreal s : {0.25, 0.5, 0.75}) {
            const QPointF wanted = Map(at(from.t + (to.t - from.t) * s));
            error =
                std::max(error, QLineF(Cubic(from.point, c1, c2, to.point, s), wanted).length());
        }
        if (error > tolerance) {
            const qreal tm = (from.t + to.t) / 2;
            const Knot middle {tm, Map(at(tm)), Velocity(at, tm)};
            Subdivide(out, at, from, middle, tolerance, depth + 1);
            Subdivide(out, at, middle, to, tolerance, depth + 1);
            return;
        }
    }
    out.cubicTo(c1, c2, to.point);
}

template<class Curve>
void TextWarp::AddPieces(QPainterPath& out, const Curve& at, qreal length, qreal tolerance) const
{
    // Pieces no longer than a sixteenth of the cell, so that no bend hides between samples.
    const qreal step = std::max(FFrame.width() / 16, qreal(1));
    const int pieces = std::clamp(int(std::ceil(length / step)), 1, 256);
    Knot from {0, out.currentPosition(), Velocity(at, 0)};
    for (int k = 1; k <= pieces; ++k) {
        const qreal t = k / qreal(pieces);
        const Knot to {t, Map(at(t)), Velocity(at, t)};
        Subdivide(out, at, from, to, tolerance, 0);
        from = to;
    }
}

QPainterPath TextWarp::MapPath(const QPainterPath& path, qreal tolerance) const
{
    if (FKind == TLogoWarp::None)
        return path;
    tolerance = std::max(tolerance, qreal(0.001));
    QPainterPath out;
    out.setFillRule(path.fillRule());
    QPointF start;
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF to(e.x, e.y);
        if (e.isMoveTo()) {
            out.moveTo(Map(to));
            start = last = to;
        } else if (e.isLineTo()) {
            const QPointF from = last;
            AddPieces(
                out, [&](qreal t) { return from + (to - from) * t; }, QLineF(from, to).length(),
                tolerance);
            last = to;
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPointF p0 = last;
            const QPointF c1 = to;
            const QPointF c2 = path.elementAt(i + 1);
            const QPointF p1 = path.elementAt(i + 2);
            const qreal hull =
                QLineF(p0, c1).length() + QLineF(c1, c2).length() + QLineF(c2, p1).length();
            AddPieces(
                out, [&](qreal t) { return Cubic(p0, c1, c2, p1, t); }, hull, tolerance);
            last = p1;
            i += 2;
        }
        const bool ends = i + 1 >= path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (ends && !e.isMoveTo() && last == start)
            out.closeSubpath();
    }
    return out;
}

TextWarp::Outline TextWarp::TextOutline(const QString& text, const QFont& font, qreal baseline,
                                        qreal lead)
{
    QFont plain = font;
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    Outline outline;
    outline.letters.addText(QPointF(lead, baseline), plain, text);
    outline.letters.setFillRule(Qt::WindingFill);
    // Where a text draw puts its lines: the underline centred half a pixel below the whole
    // pixel under its position, the strike-out a third of the ascent above the baseline.
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal thickness = metrics.lineWidth();
    if (font.underline()) {
        const qreal centre = baseline + std::ceil(metrics.underlinePos()) + 0.5;
        outline.lines.addRect(lead, centre - thickness / 2, width, thickness);
    }
    if (font.strikeOut())
        outline.lines.addRect(lead, baseline - metrics.ascent() / 3 - thickness / 2, width,
                              thickness);
    return outline;
}

TextWarp::Outline TextWarp::MapText(const QString& text, const QFont& font, qreal baseline,
                                    qreal tolerance) const
{
    const Outline straight = TextOutline(text, font, baseline);
    return {MapPath(straight.letters, tolerance), MapPath(straight.lines, tolerance)};
}
