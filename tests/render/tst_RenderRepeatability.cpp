// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoDocument.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <algorithm>
#include <numeric>
#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

struct TCase
{
    const char* name;
    LogoDocument document;
    RenderOptions options;
};

LogoDocument Logo(const QString& text, const QString& face, TLogoFontStyle style, int size,
                  int angle)
{
    LogoDocument document;
    document.Text = text;
    document.FontName = face;
    document.FontStyle = style;
    document.Size = size;
    document.Angle = angle;
    return document;
}

// Logos that differ in face, style, size and angle, so that each leaves different glyphs
// behind in whatever the thread caches.
std::vector<TCase> Table()
{
    using FS = TLogoFontStyle;
    std::vector<TCase> table = {
        {"italic at 180", Logo(u"Quilvoro 180"_s, u"DejaVu Sans"_s, FS::Italic, 40, 180), {}},
        {"italic at 180, gothic", Logo(u"ロゴ Italic"_s, u"IPAPGothic"_s, FS::Italic, 36, 180), {}},
        {"italic at 45", Logo(u"Tamrin"_s, u"DejaVu Sans"_s, FS::Italic, 52, 45), {}},
        {"bold at 90", Logo(u"Bold 90"_s, u"DejaVu Serif"_s, FS::Bold, 30, 90), {}},
        {"plain", Logo(u"Tamrin - Quilvoro"_s, u"DejaVu Sans"_s, FS::None, 40, 0), {}},
        {"small at 181", Logo(u"small"_s, u"DejaVu Sans"_s, FS::Italic, 9, 181), {}},
        {"italic at 180, scale 2",
         Logo(u"Quilvoro 180"_s, u"DejaVu Sans"_s, FS::Italic, 40, 180),
         {}},
        {"italic upright", Logo(u"Quilvoro 180"_s, u"DejaVu Sans"_s, FS::Italic, 40, 0), {}},
        {"italic upright, gothic", Logo(u"ロゴ Italic"_s, u"IPAPGothic"_s, FS::Italic, 36, 0), {}},
        {"italic at 90, gothic", Logo(u"Italic ロゴ"_s, u"IPAPGothic"_s, FS::Italic, 36, 90), {}},
        {"outline at 200", Logo(u"Outline"_s, u"DejaVu Sans"_s, FS::Italic, 60, 200), {}},
        {"vertical with a tagline, gothic",
         Logo(u"「らーめん」一番 No.1"_s, u"IPAPGothic"_s, FS::None, 30, 10),
         {}},
    };
    table[6].options.scale = 2;
    table[10].document.LabelStyle = TLogoLabelStyle::Outline;
    table[11].document.Vertical = true;
    table[11].document.Tagline = u"since 1962 본점"_s;
    return table;
}

QByteArray Bytes(const TCase& c)
{
    const QImage image = DocumentRenderer::Render(c.document, {}, c.options);
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

// Each picture drawn first on a thread of its own, before anything else was drawn there.
std::vector<QByteArray> FirstOnFreshThreads(const std::vector<TCase>& table)
{
    std::vector<QByteArray> pictures(table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        std::thread([&, i] { pictures[i] = Bytes(table[i]); }).join();
    return pictures;
}

} // namespace

class tst_RenderRepeatability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // Whatever a thread drew before, the same logo gives the same bytes.
    void orderOfDrawingChangesNoByte_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("onThreads");
        QTest::newRow("table order, this thread") << 0u << false;
        QTest::newRow("reversed, this thread") << 1u << false;
        QTest::newRow("shuffled, this thread") << 7u << false;
        QTest::newRow("shuffled, two threads") << 11u << true;
        QTest::newRow("shuffled again, two threads") << 23u << true;
    }

    void orderOfDrawingChangesNoByte()
    {
        QFETCH(unsigned, seed);
        QFETCH(bool, onThreads);
        const std::vector<TCase> table = Table();
        const std::vector<QByteArray> expected = FirstOnFreshThreads(table);

        std::vector<std::size_t> order(table.size());
        std::iota(order.begin(), order.end(), 0);
        if (seed == 1)
            std::reverse(order.begin(), order.end());
        else if (seed > 1)
            std::shuffle(order.begin(), order.end(), std::mt19937(seed));

        // every logo drawn twice, so that each also follows itself and the others
        std::vector<std::vector<QByteArray>> got(table.size());
        const auto drawAll = [&](std::size_t from, std::size_t step) {
            for (int round = 0; round < 2; ++round)
                for (std::size_t k = from; k < order.size(); k += step)
                    got[order[k]].push_back(Bytes(table[order[k]]));
        };
        if (onThreads) {
            std::thread a(drawAll, 0, 2);
            std::thread b(drawAll, 1, 2);
            a.join();
            b.join();
        } else {
            drawAll(0, 1);
        }
        for (std::size_t i = 0; i < table.size(); ++i)
            for (const QByteArray& bytes : got[i])
                QVERIFY2(bytes == expected[i], table[i].name);
    }
};

QUILVORO_APP_TEST_MAIN(tst_RenderRepeatability)
#include "tst_RenderRepeatability.moc"
