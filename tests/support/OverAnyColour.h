// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// A transparent picture composited over any colour is the opaque picture drawn on that colour.
// The opaque picture rounds to whole levels at every layer of a stack, as text draws do, and
// where many layers cover a pixel by the same small part that rounding stalls short of the
// exact blend; the transparent picture keeps finer steps. So every pixel agrees within
// kTolerance except stalled ones, which agree within kStalled and are at most one in 200 of
// the pixels the transparent picture covers.
namespace OverAnyColour {

constexpr int kTolerance = 2;
constexpr int kStalled = 8;
// A clear pixel may show this close to the background colour in the opaque picture: the far
// end of a fade, which the opaque picture rounds onto the background.
constexpr int kClearNearBackground = 4;

// A premultiplied pixel composited over an opaque colour, in exact arithmetic.
inline QRgb Over(QRgb premultiplied, QRgb under)
{
    const double rest = 1.0 - qAlpha(premultiplied) / 255.0;
    auto channel = [&](int over, int below) {
        return int(std::lround(over + below * rest));
    };
    return qRgb(channel(qRed(premultiplied), qRed(under)),
                channel(qGreen(premultiplied), qGreen(under)),
                channel(qBlue(premultiplied), qBlue(under)));
}

// A straight-alpha pixel, as a PNG file holds it, composited over an opaque colour, in exact
// arithmetic.
inline QRgb OverStraight(QRgb straight, QRgb under)
{
    const int alpha = qAlpha(straight);
    auto channel = [&](int over, int below) {
        return int(std::lround((over * alpha + below * (255 - alpha)) / 255.0));
    };
    return qRgb(channel(qRed(straight), qRed(under)), channel(qGreen(straight), qGreen(under)),
                channel(qBlue(straight), qBlue(under)));
}

inline int ChannelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// What the comparisons of one transparent picture saw, over every colour it was put on.
struct Tally
{
    // Pixels the transparent picture covers at all, and those of them beyond kTolerance.
    int painted = 0;
    int stalled = 0;
    // Pixels of partial alpha.
    int partial = 0;
    int worst = 0;
    // The first pixel that breaks the rule; empty while none does.
    QString failure;

    bool StalledShareHolds() const { return stalled * 200 <= painted; }
    QString Figures() const
    {
        return QStringLiteral("worst %1, stalled %2 of %3").arg(worst).arg(stalled).arg(painted);
    }
};

// Puts `clear` (premultiplied, or straight ARGB32 as read from a file) over `ground` and
// compares it with `on`, the opaque picture on `ground`. `opaque` is the opaque picture on its
// own background colour `background` (`on` itself when `ground` is that colour): what shows
// exactly that colour there must be clear.
inline void Compare(const QImage& clear, QRgb ground, const QImage& on, const QImage& opaque,
                    QRgb background, Tally& tally)
{
    if (clear.size() != on.size() || clear.size() != opaque.size()) {
        tally.failure = QStringLiteral("the pictures differ in size");
        return;
    }
    if (clear.format() != QImage::Format_ARGB32_Premultiplied
        && clear.format() != QImage::Format_ARGB32) {
        tally.failure =
            QStringLiteral("the transparent picture is in format %1").arg(clear.format());
        return;
    }
    const bool straight = clear.format() == QImage::Format_ARGB32;
    background |= 0xff000000u;
    ground |= 0xff000000u;
    for (int y = 0; y < clear.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(clear.constScanLine(y));
        for (int x = 0; x < clear.width(); ++x) {
            const QRgb pixel = line[x];
            const bool empty = straight ? qAlpha(pixel) == 0 : pixel == 0;
            const QRgb shown = on.pixel(x, y);
            if (ground == background) {
                tally.partial += qAlpha(pixel) > 0 && qAlpha(pixel) < 255;
                if (shown == background && !empty) {
                    tally.failure = QStringLiteral("%1,%2 shows the background colour but is %3")
                                        .arg(x)
                                        .arg(y)
                                        .arg(pixel, 0, 16);
                    return;
                }
            }
            // What shows the background colour is background, over any colour.
            if (empty && ChannelDistance(opaque.pixel(x, y), background) <= kClearNearBackground)
                continue;
            const QRgb composed = straight ? OverStraight(pixel, ground) : Over(pixel, ground);
            const int distance = ChannelDistance(composed, shown);
            tally.painted += !empty;
            tally.stalled += distance > kTolerance;
            tally.worst = std::max(tally.worst, distance);
            if (distance > kTolerance && qEnvironmentVariableIsSet("DEBUG_OVER")
                && tally.stalled < 12)
                qInfo("%d,%d over %x: %x gives %x, not %x (opaque %x)", x, y, ground, pixel,
                      composed, shown, opaque.pixel(x, y));
            if (distance > kStalled) {
                tally.failure = QStringLiteral("%1,%2 over %3: %4 gives %5, not %6")
                                    .arg(x)
                                    .arg(y)
                                    .arg(ground, 0, 16)
                                    .arg(pixel, 0, 16)
                                    .arg(composed, 0, 16)
                                    .arg(shown, 0, 16);
                return;
            }
        }
    }
}

} // namespace OverAnyColour
