// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time and size of one PNG of the heavy logo at scale 4, opaque and transparent, with each row
// filter at zlib level 1: what chose PngWriter's fixed filter; the fixed filter deflated on one
// thread (libpng) and in blocks on two. Qt's own writer for comparison.
#include "output/PngWriter.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "render/Workers.h"

#include <QBuffer>
#include <QImageWriter>

#include <benchmark/benchmark.h>

namespace {

QImage Heavy(bool transparent)
{
    LogoDocument document;
    document.Size = 100;
    document.ShadowStyle = TLogoShadowStyle::Gradation;
    document.Depth = 200;
    document.Angle = 30;
    RenderOptions options;
    options.scale = 4;
    options.transparent = transparent;
    return DocumentRenderer::Render(document, {}, options);
}

void BM_PngWriter(benchmark::State& state)
{
    const QImage image = Heavy(state.range(1) != 0);
    const auto filter = PngWriter::TFilter(state.range(0));
    Workers::SetCount(int(state.range(2)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const std::optional<QByteArray> png = PngWriter::Encode(image, nullptr, filter);
        bytes = png ? png->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    Workers::SetCount(0);
    state.counters["KiB"] = double(bytes) / 1024.0;
}

void BM_QtWriter(benchmark::State& state)
{
    const QImage image = Heavy(state.range(0) != 0);
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(80); // zlib level 1
        writer.write(image);
        bytes = png.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["KiB"] = double(bytes) / 1024.0;
}

} // namespace

// Arguments: filter (0 none, 1 sub, 2 up, 3 average, 4 Paeth, 5 adaptive), transparent (1) or
// opaque (0), threads (the blocks only for a fixed filter on more than one).
BENCHMARK(BM_PngWriter)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}, {1}})
    ->ArgsProduct({{int(PngWriter::kFilter)}, {0, 1}, {2}})
    ->ArgNames({"filter", "transparent", "threads"})
    // With two threads the calling thread's CPU time is half the work.
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_QtWriter)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("transparent")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
