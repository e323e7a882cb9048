// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of one render of a logo document without a window: the heavy logo (100 pt, gradation
// depth 200, turned 30 degrees) at scales 1, 4 and 8, opaque and transparent, on one thread and
// on two, and the same read from a .qvd file first; and the conversion to the preview's look that
// every edit runs.
#include "document/LogoFile.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "render/Workers.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

LogoDocument Heavy()
{
    LogoDocument document;
    document.Size = 100;
    document.ShadowStyle = TLogoShadowStyle::Gradation;
    document.Depth = 200;
    document.Angle = 30;
    return document;
}

void BM_RenderDocument(benchmark::State& state)
{
    const LogoDocument document = Heavy();
    RenderOptions options;
    options.scale = int(state.range(0));
    options.transparent = state.range(1) != 0;
    Workers::SetCount(int(state.range(2)));
    for (auto _ : state) {
        const QImage picture = DocumentRenderer::Render(document, {}, options);
        benchmark::DoNotOptimize(picture.constBits());
    }
    Workers::SetCount(0);
}

void BM_ReadAndRenderFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("heavy.qvd"));
    LogoFile::Write(Heavy(), file);
    RenderOptions options;
    options.scale = int(state.range(0));
    for (auto _ : state) {
        const QImage picture = DocumentRenderer::Render(LogoFile::Read(file), {}, options);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// What every editing handler pays before the preview repaints: the document to the label's look.
void BM_LookOfDocument(benchmark::State& state)
{
    const LogoDocument document = Heavy();
    for (auto _ : state) {
        const LogoLook look = DocumentRenderer::LookOf(document, {});
        benchmark::DoNotOptimize(look.font);
    }
}

} // namespace

BENCHMARK(BM_LookOfDocument)->Unit(benchmark::kMicrosecond);

// Arguments: scale, transparent (1) or opaque (0), threads for a large picture.
BENCHMARK(BM_RenderDocument)
    ->ArgsProduct({{1, 4, 8}, {0, 1}, {1, 2}})
    ->ArgNames({"scale", "transparent", "threads"})
    // Each render draws on a thread of its own, so the calling thread's CPU time says little.
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_ReadAndRenderFile)
    ->Arg(1)
    ->Arg(4)
    ->ArgName("scale")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
