// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of a thumbnail (scale 1, then reduced) of logo files built to be slow: the longest label
// the text field holds in mixed scripts, outlined and turned; a 1 MiB file of bare keys; a
// 5790 x 5790 texture at scale 2 (the size 1024 thumbnail); and one paint of the preview label
// of the longest label of "W" at size 200, deep 200 and under each warp at 100, as the window
// paints it (a new painter, the caption's coverage kept between paints). Each should stay well
// under a second, a paint under 50 ms; the whole processes, with their peak memory, are measured
// by hostile-process.sh beside this file.
#include "document/LogoDocument.h"
#include "document/LogoFile.h"
#include "platform/FontInfo.h"
#include "render/CaptionMask.h"
#include "render/DocumentRenderer.h"
#include "render/LogoPainter.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <random>

namespace {

// Letters of many scripts, so that shaping looks for a face over and over.
QString MixedScripts(int length)
{
    const char32_t ranges[][2] = {{0x41, 0x5A},     {0x3041, 0x3096}, {0x4E00, 0x9FA0},
                                  {0x0600, 0x06FF}, {0x0900, 0x097F}, {0x0E00, 0x0E5B},
                                  {0xAC00, 0xD7A3}, {0x0400, 0x04FF}, {0x10A0, 0x10FF}};
    std::mt19937 random(2);
    QString text;
    while (text.size() < length) {
        const auto& range = ranges[random() % std::size(ranges)];
        const char32_t c = range[0] + random() % (range[1] - range[0] + 1);
        text += QString::fromUcs4(&c, 1);
    }
    return LogoDocument::FittedText(text);
}

void BM_LongestMixedLabel(benchmark::State& state)
{
    LogoDocument document;
    document.Text = MixedScripts(LogoDocument::kMaxTextLength);
    document.Size = 200;
    document.Angle = 33;
    document.LabelStyle = TLogoLabelStyle::Outline;
    document.ShadowStyle = TLogoShadowStyle::Deep;
    document.Depth = 200;
    for (auto _ : state) {
        const QImage picture = DocumentRenderer::Render(document, {});
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_LoadBareKeys(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("keys.qvd"));
    QByteArray bytes("[SET]\n");
    while (bytes.size() < 1024 * 1024 - 16)
        bytes.append("a\n");
    bytes.append("Label=x\n");
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    out.close();
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(LogoFile::Load(file, &error));
    }
}

void BM_LargeTextureAtScale2(benchmark::State& state)
{
    QImage texture(5790, 5790, QImage::Format_RGB32);
    for (int y = 0; y < texture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(texture.scanLine(y));
        for (int x = 0; x < texture.width(); ++x)
            line[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    LogoDocument document;
    document.Size = 120;
    document.Angle = 20;
    RenderOptions options;
    options.scale = 2;
    for (auto _ : state) {
        const QImage picture = DocumentRenderer::Render(document, {QImage(), texture}, options);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// The preview of `document` painted again and again with the caption mask kept, as the label
// repaints.
void PaintPreviewRepeatedly(const LogoDocument& document, benchmark::State& state)
{
    const LogoLook look = DocumentRenderer::LookOf(document, {});
    const QSize size = DocumentRenderer::kPreviewSize;
    QImage target(size, QImage::Format_RGB32);
    CaptionMask mask;
    for (auto _ : state) {
        LogoPainter painter(look, size);
        painter.SetMaskCache(&mask);
        painter.PaintOpaque(target, {}, target.rect());
        benchmark::DoNotOptimize(target.constBits());
    }
}

// One paint of the window's preview label, the first one included (it draws the coverage).
void BM_LongWarpedPreviewPaint(benchmark::State& state)
{
    LogoDocument document;
    document.Text = QString(LogoDocument::kMaxTextLength, u'W');
    document.Size = 200;
    document.ShadowStyle = TLogoShadowStyle::Deep;
    document.Depth = 200;
    document.Warp = TLogoWarp(state.range(0));
    document.WarpAmount = 100;
    PaintPreviewRepeatedly(document, state);
}

// The same for the longest label of mixed scripts set top to bottom with as long a tagline,
// straight (0) and arched (1).
void BM_LongVerticalPreviewPaint(benchmark::State& state)
{
    LogoDocument document;
    document.Text = MixedScripts(LogoDocument::kMaxTextLength);
    document.Tagline = document.Text;
    document.FontName = QStringLiteral("IPAPGothic");
    document.Size = 200;
    document.ShadowStyle = TLogoShadowStyle::Deep;
    document.Depth = 200;
    document.Vertical = true;
    document.Warp = state.range(0) != 0 ? TLogoWarp::Arch : TLogoWarp::None;
    document.WarpAmount = 100;
    PaintPreviewRepeatedly(document, state);
}

} // namespace

BENCHMARK(BM_LongestMixedLabel)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadBareKeys)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LargeTextureAtScale2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LongWarpedPreviewPaint)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongVerticalPreviewPaint)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
