// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time and size of a logo written as vectors, without a window: the heavy logo (100 pt,
// gradation depth 200, turned 30 degrees), a deep single-colour extrusion of it and that
// extrusion arched, as SVG (geometry included) and as PDF. The sizes are reported as counters
// in bytes.
#include "output/PdfWriter.h"
#include "output/SvgWriter.h"
#include "platform/FontInfo.h"
#include "render/VectorScene.h"

#include <benchmark/benchmark.h>

namespace {

// Argument: 0 gradation, 1 deep, 2 deep and arched.
LogoDocument Heavy(const benchmark::State& state)
{
    LogoDocument document;
    document.Size = 100;
    document.ShadowStyle =
        state.range(0) == 0 ? TLogoShadowStyle::Gradation : TLogoShadowStyle::Deep;
    document.Depth = 200;
    document.Angle = 30;
    if (state.range(0) == 2) {
        document.Warp = TLogoWarp::Arch;
        document.WarpAmount = 80;
    }
    return document;
}

void BM_Svg(benchmark::State& state)
{
    const LogoDocument document = Heavy(state);
    QByteArray svg;
    for (auto _ : state) {
        svg = SvgWriter::Write(VectorScene::Of(document, {}));
        benchmark::DoNotOptimize(svg.constData());
    }
    state.counters["bytes"] = double(svg.size());
}

void BM_Pdf(benchmark::State& state)
{
    const LogoDocument document = Heavy(state);
    QByteArray pdf;
    for (auto _ : state) {
        pdf = PdfWriter::Write(VectorScene::Of(document, {}));
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["bytes"] = double(pdf.size());
}

} // namespace

BENCHMARK(BM_Svg)
    ->DenseRange(0, 2)
    ->ArgName("logo")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Pdf)
    ->DenseRange(0, 2)
    ->ArgName("logo")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
