// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The building blocks of decorations: the blur of a full-size one-byte mask (a 4× export of the
// preview) for soft shadows and glows, and three edging rings around a word at 100 pt.
#include "render/EdgeRings.h"
#include "render/MaskBlur.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <benchmark/benchmark.h>

namespace {

QImage Mask()
{
    QImage mask(2400, 1400, QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(400);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 2400, 1400), Qt::AlignCenter, QStringLiteral("Quilvoro"));
    return mask;
}

// Argument: sigma in device pixels.
void BM_MaskBlur(benchmark::State& state)
{
    const QImage source = Mask();
    QImage mask = source;
    for (auto _ : state) {
        state.PauseTiming();
        mask = source;
        mask.detach();
        state.ResumeTiming();
        MaskBlur::Blur(mask, double(state.range(0)));
        benchmark::DoNotOptimize(mask.constBits());
    }
}

// Argument: the widest ring in preview pixels; the rings are a third, two thirds and all of it.
void BM_EdgeRings(benchmark::State& state)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(100);
    QPainterPath letters;
    letters.addText(0, 150, font, QStringLiteral("Typography"));
    const double widest = double(state.range(0));
    for (auto _ : state) {
        const std::vector<QPainterPath> outlines =
            EdgeRings::Outlines(letters, {widest / 3, widest / 3, widest / 3}, 0.1);
        benchmark::DoNotOptimize(outlines.back().elementCount());
    }
}

} // namespace

BENCHMARK(BM_MaskBlur)
    ->Arg(1)
    ->Arg(2)
    ->Arg(8)
    ->Arg(50)
    ->Arg(200)
    ->ArgName("sigma")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_EdgeRings)
    ->Arg(6)
    ->Arg(30)
    ->Arg(120)
    ->ArgName("widest")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
