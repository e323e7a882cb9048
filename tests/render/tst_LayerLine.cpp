// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReferenceBlend.h"
#include "render/LayerLine.h"
#include "support/AppTestMain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kGround = 0x00208040u;

using Samples = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

// Layer k of colours[k - 1] drawn over pixel i from the sample k positions before it, farthest
// first: one blend per layer, as text draws give it.
Words LayerByLayer(const Samples& samples, const Words& colours, Words pixels)
{
    const int depth = int(colours.size());
    for (int k = depth; k >= 1; --k)
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const std::uint32_t coverage = samples[i + std::size_t(depth - k)];
            pixels[i] =
                ByteMul(colours[std::size_t(k) - 1], coverage) + ByteMul(pixels[i], 255 - coverage);
        }
    return pixels;
}

// The same in exact arithmetic, rounded once at the end.
Words Exactly(const Samples& samples, const Words& colours, const Words& start)
{
    const int depth = int(colours.size());
    Words pixels(start.size());
    for (std::size_t i = 0; i < start.size(); ++i) {
        double channel[4];
        for (int c = 0; c < 4; ++c)
            channel[c] = (start[i] >> (8 * c)) & 0xffu;
        for (int k = depth; k >= 1; --k) {
            const double a = samples[i + std::size_t(depth - k)] / 255.0;
            for (int c = 0; c < 4; ++c)
                channel[c] =
                    ((colours[std::size_t(k) - 1] >> (8 * c)) & 0xffu) * a + channel[c] * (1 - a);
        }
        for (int c = 0; c < 4; ++c)
            pixels[i] |= std::uint32_t(std::lround(channel[c])) << (8 * c);
    }
    return pixels;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b)
{
    int most = 0;
    for (int c = 0; c < 4; ++c)
        most = std::max(most, std::abs(int((a >> (8 * c)) & 0xffu) - int((b >> (8 * c)) & 0xffu)));
    return most;
}

Samples Pattern(const QByteArray& kind, int length, quint32 seed)
{
    QRandomGenerator random(seed);
    Samples samples(std::size_t(length), 0);
    for (int i = 0; i < length; ++i) {
        if (kind == "solid run")
            samples[std::size_t(i)] = i >= length / 3 && i < 2 * length / 3 ? 255 : 0;
        else if (kind == "ramp")
            samples[std::size_t(i)] = std::uint8_t(i * 255 / length);
        else if (kind == "sparse")
            samples[std::size_t(i)] =
                random.bounded(9) == 0 ? std::uint8_t(random.bounded(256)) : 0;
        else
            samples[std::size_t(i)] =
                std::uint8_t(random.bounded(3) == 0 ? 255 : random.bounded(256));
    }
    return samples;
}

} // namespace

class tst_LayerLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Any pattern of samples, walked in pieces of any size, paints what layer-by-layer blends
    // paint over opaque pixels; over transparent pixels, with layers that take away or are partly
    // transparent, what over the ground gives the same, with the exact blend's alpha.
    void walkIsLayerByLayer_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("premultiplied");
        for (const char* kind : {"solid run", "ramp", "sparse", "dense"})
            for (const int depth : {1, 3, 17})
                for (const int piece : {1, 5, 1000})
                    for (const bool premultiplied : {false, true})
                        QTest::addRow("%s, depth %d, pieces of %d%s", kind, depth, piece,
                                      premultiplied ? ", premultiplied" : "")
                            << QByteArray(kind) << depth << piece << premultiplied;
    }

    void walkIsLayerByLayer()
    {
        QFETCH(QByteArray, kind);
        QFETCH(int, depth);
        QFETCH(int, piece);
        QFETCH(bool, premultiplied);
        constexpr int pixels = 90;
        const Samples samples = Pattern(kind, depth + pixels, quint32(depth * 31 + piece));
        Words colours;
        for (int k = 0; k < depth; ++k) {
            const std::uint32_t opaque = 0xff000000u | std::uint32_t(k * 0x0a1b2c + 0x304050);
            // Premultiplied, every third layer is the transparent ground and every third one
            // partly transparent, as a fade into nothing has them.
            if (premultiplied && k % 3 == 1)
                colours.push_back(0u);
            else if (premultiplied && k % 3 == 2)
                colours.push_back(
                    qPremultiply((opaque & 0x00ffffffu) | std::uint32_t(k * 13 % 256) << 24));
            else
                colours.push_back(opaque);
        }
        Words start(pixels, premultiplied ? 0u : 0xff808080u);
        if (premultiplied)
            for (int i = 0; i < pixels; i += 4)
                start[std::size_t(i)] = 0x80402000u; // half transparent

        const TLayerColours layerColours =
            premultiplied ? TLayerColours(colours, kGround) : TLayerColours(colours);
        // Walked backwards through memory, as a line against the rows' order is.
        for (const std::ptrdiff_t direction : {std::ptrdiff_t(1), std::ptrdiff_t(-1)}) {
            Words target = start;
            if (direction < 0)
                std::reverse(target.begin(), target.end());
            LayerLine line;
            std::uint32_t* first = direction > 0 ? target.data() : target.data() + pixels - 1;
            line.Begin(layerColours, depth + pixels, depth, first, direction);
            while (line.Position() < line.Length()) {
                const int to = std::min(line.Length(), line.Position() + piece);
                const bool any = std::any_of(samples.begin() + line.Position(),
                                             samples.begin() + to, [](auto s) { return s; });
                line.Advance(any ? samples.data() + line.Position() : nullptr, to);
            }
            if (direction < 0)
                std::reverse(target.begin(), target.end());
            if (premultiplied) {
                // Over the ground it is the painted picture; its alpha is the exact blend's.
                Words shown, under;
                for (const std::uint32_t colour : colours)
                    shown.push_back(colour + (ByteMul(kGround, 255 - (colour >> 24)) & 0xffffffu));
                for (const std::uint32_t pixel : start)
                    under.push_back(pixel + (ByteMul(kGround, 255 - (pixel >> 24)) & 0xffffffu));
                const Words painted = LayerByLayer(samples, shown, under);
                const Words exact = Exactly(samples, colours, start);
                for (int i = 0; i < pixels; ++i) {
                    const std::uint32_t pixel = target[std::size_t(i)];
                    const std::uint32_t over =
                        pixel + (ByteMul(kGround, 255 - (pixel >> 24)) & 0xffffffu);
                    QVERIFY2(
                        ChannelDistance(over | 0xff000000u, painted[std::size_t(i)] | 0xff000000u)
                            <= 1,
                        qPrintable(QString::number(pixel, 16)));
                    // What shows the ground is cleared; the rest has the exact blend's alpha.
                    const std::uint32_t ground = kGround | 0xff000000u;
                    if (pixel == 0
                        && ChannelDistance(painted[std::size_t(i)] | 0xff000000u, ground) <= 1)
                        continue;
                    QVERIFY(std::abs(int(pixel >> 24) - int(exact[std::size_t(i)] >> 24)) <= 1);
                }
                continue;
            }
            const Words expected = LayerByLayer(samples, colours, start);
            for (int i = 0; i < pixels; ++i)
                QCOMPARE(QString::number(target[std::size_t(i)], 16),
                         QString::number(expected[std::size_t(i)], 16));
        }
    }
};

QUILVORO_APP_TEST_MAIN(tst_LayerLine)
#include "tst_LayerLine.moc"
