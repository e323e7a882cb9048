// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The building blocks of decorations: the blur of a full-size one-byte mask (a 4× export of the
// preview) for soft shadows and glows, and three edging rings around a word at 100 pt; and the
// heavy logo (100 pt, gradation depth 200, turned 30 degrees) with three rings, a gradient, a
// blurred shadow and a glow, as the preview paints it, rendered at 4× and written as SVG.
#include "output/SvgWriter.h"
#include "render/CaptionMask.h"
#include "render/DocumentRenderer.h"
#include "render/EdgeRings.h"
#include "render/LogoPainter.h"
#include "render/MaskBlur.h"
#include "render/VectorScene.h"

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

LogoDocument DecoratedHeavy()
{
    LogoDocument d;
    d.Size = 100;
    d.ShadowStyle = TLogoShadowStyle::Gradation;
    d.Depth = 200;
    d.Angle = 30;
    d.Edge1Width = 4;
    d.Edge1Color = clWhite;
    d.Edge2Width = 4;
    d.Edge2Color = clBlack;
    d.Edge3Width = 3;
    d.Edge3Color = clYellow;
    d.Fill = TLogoFill::Gradient;
    d.FillColor2 = RGB(218, 165, 32);
    d.FillAngle = 90;
    d.ShadowBlur = 6;
    d.GlowSize = 16;
    d.GlowColor = clAqua;
    d.GlowOpacity = 70;
    return d;
}

// As the preview label paints: the caption's mask and the decorations kept between paints.
// Argument: what changes between paints, as a user's edit would: nothing (a repaint), the face's
// colour, the shadow's colour (the soft shadow is built again), or the first ring's width
// (everything decorative is built again).
void BM_DecoratedPreviewPaint(benchmark::State& state)
{
    const LogoLook look = DocumentRenderer::LookOf(DecoratedHeavy(), {});
    LogoLook other = look;
    switch (state.range(0)) {
    case 1:
        other.textColor = RGB(250, 240, 200);
        break;
    case 2:
        other.shadowColor = RGB(90, 90, 140);
        break;
    case 3:
        other.decorations.edges[0].width += 1;
        break;
    }
    QImage target(DocumentRenderer::kPreviewSize, QImage::Format_RGB32);
    CaptionMask mask;
    bool flip = false;
    for (auto _ : state) {
        LogoPainter painter(flip ? other : look, DocumentRenderer::kPreviewSize);
        flip = !flip;
        painter.SetMaskCache(&mask);
        painter.PaintOpaque(target, {}, target.rect());
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_DecoratedRender4x(benchmark::State& state)
{
    const LogoDocument document = DecoratedHeavy();
    RenderOptions options;
    options.scale = 4;
    for (auto _ : state) {
        const QImage picture = DocumentRenderer::Render(document, {}, options);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_DecoratedSvg(benchmark::State& state)
{
    const LogoDocument document = DecoratedHeavy();
    QByteArray svg;
    for (auto _ : state) {
        svg = SvgWriter::Write(VectorScene::Of(document, {}));
        benchmark::DoNotOptimize(svg.constData());
    }
    state.counters["bytes"] = double(svg.size());
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

BENCHMARK(BM_DecoratedPreviewPaint)
    ->DenseRange(0, 3)
    ->ArgName("change")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Each render draws on a thread of its own, so wall clock is what it costs.
BENCHMARK(BM_DecoratedRender4x)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_DecoratedSvg)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
