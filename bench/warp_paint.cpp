// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of one paint of the preview with a warped caption, as while the amount is dragged: the
// heavy logo of heavy.qvd (100 pt, gradation depth 200, turned 30 degrees) with each warp, the
// amount moving by one per paint. Warp 0 is the straight logo for comparison. And the time from
// opening the warp gallery on that logo to its first frame painted, thumbnails and all, beside
// what ten full previews reduced to thumbnails cost; and from a key typed into the caption field of
// the window holding the warped logo to the preview painted.
#include "app/Makewindow1.h"
#include "app/WarpGallery.h"
#include "controls/dxfLabel.h"
#include "document/LogoFile.h"
#include "framework/TEdit.h"
#include "framework/TTimer.h"
#include "platform/FontInfo.h"
#include "render/DocumentRenderer.h"
#include "render/LogoPainter.h"
#include "render/TextWarp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

LogoDocument Heavy()
{
    const QDir here = QFileInfo(QString::fromUtf8(__FILE__)).dir();
    return LogoFile::Read(here.filePath(QStringLiteral("heavy.qvd")));
}

void BM_WarpedPreviewPaint(benchmark::State& state)
{
    LogoDocument document = Heavy();
    if (document.Size != 100 || document.Depth != 200) {
        state.SkipWithError("heavy.qvd not found");
        return;
    }
    document.Warp = TLogoWarp(state.range(0));
    LogoLook look = DocumentRenderer::LookOf(document, {});
    const QSize size = DocumentRenderer::kPreviewSize;
    QImage target(size, QImage::Format_RGB32);
    int amount = 40;
    for (auto _ : state) {
        look.warpAmount = amount;
        amount = amount == 80 ? 40 : amount + 1;
        const LogoPainter painter(look, size);
        painter.PaintOpaque(target, {}, target.rect());
        benchmark::DoNotOptimize(target.constBits());
    }
}

// The bending alone: the caption's outline made and mapped, the part of a paint that a warp adds.
void BM_WarpOutline(benchmark::State& state)
{
    LogoDocument document = Heavy();
    const LogoLook look = DocumentRenderer::LookOf(document, {});
    const QFontMetrics metrics(look.font);
    const QRectF cell(0, 0, metrics.horizontalAdvance(look.caption), metrics.height());
    int amount = 40;
    for (auto _ : state) {
        const TextWarp warp(TLogoWarp(state.range(0)), amount, cell, metrics.ascent());
        amount = amount == 80 ? 40 : amount + 1;
        const TextWarp::Outline outline = warp.MapText(look.caption, look.font, metrics.ascent());
        benchmark::DoNotOptimize(outline.letters.elementCount());
    }
}

// Wall time: the thumbnails are drawn on more than one thread.
void BM_WarpGalleryOpen(benchmark::State& state)
{
    const PreviewScene scene = DocumentRenderer::SceneOf(Heavy(), {});
    TWarpGallery gallery(nullptr);
    QImage frame(gallery.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        gallery.Open(scene, TLogoWarp::None, 0, QRect(0, 0, 800, 600));
        QPainter painter(&frame);
        gallery.PaintTo(painter);
        painter.end();
        gallery.hide();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// What a thumbnail cost when each was a whole preview drawn on a new thread and reduced.
void BM_FullPreviewsReduced(benchmark::State& state)
{
    const PreviewScene scene = DocumentRenderer::SceneOf(Heavy(), {});
    for (auto _ : state) {
        for (int warp = 0; warp <= LogoDocument::kMaxWarp; ++warp) {
            PreviewScene warped = scene;
            warped.look.warp = TLogoWarp(warp);
            warped.look.warpAmount = TWarpGallery::kStartAmount;
            const QImage thumbnail = DocumentRenderer::Render(warped).scaled(
                TWarpGallery::kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            benchmark::DoNotOptimize(thumbnail.constBits());
        }
    }
}

// A letter typed and taken back in turn, each followed by the preview's paint: the handler, the
// document to the look, and the paint of the warped heavy logo.
void BM_KeyToWarpedPreview(benchmark::State& state)
{
    TMakeForm1 form(QStringLiteral("/opt/q/quilvoro"));
    form.show();
    form.SpeedButton1Click(&form);
    while (form.Timer1->Enabled())
        form.Timer1->Tick();
    LogoDocument document = Heavy();
    document.Warp = TLogoWarp(state.range(0));
    document.WarpAmount = 50;
    form.ApplyDocument(document);
    QImage preview(form.Label1->size(), QImage::Format_RGB32);
    const QString before = form.Edit1->Text();
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(form.Edit1, &letter);
    if (form.Edit1->Text() == before) {
        state.SkipWithError("the key did not reach the caption field");
        return;
    }
    bool typed = true;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_A, Qt::NoModifier,
                      typed ? QString() : QStringLiteral("a"));
        QApplication::sendEvent(form.Edit1, &key);
        typed = !typed;
        form.Label1->PaintTo(preview);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

} // namespace

BENCHMARK(BM_KeyToWarpedPreview)
    ->Arg(0)
    ->Arg(int(TLogoWarp::Arch))
    ->Arg(int(TLogoWarp::Wave))
    ->ArgName("warp")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_WarpGalleryOpen)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_FullPreviewsReduced)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Argument: the warp, 0 (none) to 9 in the gallery's order.
BENCHMARK(BM_WarpedPreviewPaint)
    ->DenseRange(0, LogoDocument::kMaxWarp)
    ->ArgName("warp")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_WarpOutline)
    ->DenseRange(0, LogoDocument::kMaxWarp)
    ->ArgName("warp")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
