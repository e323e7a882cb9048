// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Wall time from opening the looks gallery to every built-in look drawn as a thumbnail and the
// gallery painted: on the logo New gives and on the heavy logo of heavy.qvd (100 pt, gradation
// depth 200, turned 30 degrees). The thumbnails are drawn on the window's thread between events
// and on the thumbnail threads. Beside it, the same thumbnails one after another on one thread.
#include "app/LogoThumbnail.h"
#include "app/LookGallery.h"
#include "document/LogoFile.h"
#include "document/LookLibrary.h"
#include "render/DocumentRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const QDir kHere = QFileInfo(QString::fromUtf8(__FILE__)).dir();

LogoDocument Logo(int which)
{
    return which == 0 ? LogoDocument()
                      : LogoFile::Read(kHere.filePath(QStringLiteral("heavy.qvd")));
}

QList<LookPreset> BuiltInLooks()
{
    return LookLibrary(kHere.filePath(QStringLiteral("../data/looks")), QString()).Looks();
}

void BM_LookGalleryOpen(benchmark::State& state)
{
    const QList<LookPreset> looks = BuiltInLooks();
    if (looks.size() < 24) {
        state.SkipWithError("the built-in looks were not found");
        return;
    }
    const LogoDocument logo = Logo(int(state.range(0)));
    TLookGallery gallery(nullptr);
    QImage frame(gallery.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        gallery.Open(looks, logo, logo, {}, QRect(0, 0, 800, 600));
        while (!gallery.AllDrawn())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QPainter painter(&frame);
        gallery.PaintTo(painter);
        painter.end();
        gallery.hide();
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["looks"] = double(looks.size());
}

void BM_LookThumbnailsOnOneThread(benchmark::State& state)
{
    const QList<LookPreset> looks = BuiltInLooks();
    const LogoDocument logo = Logo(int(state.range(0)));
    for (auto _ : state) {
        for (const LookPreset& look : looks) {
            const QImage thumbnail = LogoThumbnail::Draw(
                DocumentRenderer::SceneOf(look.AppliedTo(logo), {}), TLookGallery::kThumbSize);
            benchmark::DoNotOptimize(thumbnail.constBits());
        }
    }
}

// Argument: 0 the logo New gives, 1 the heavy logo.
void OnBothLogos(benchmark::internal::Benchmark* bench)
{
    bench->Arg(0)
        ->Arg(1)
        ->ArgName("heavy")
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_LookGalleryOpen)->Apply(OnBothLogos);
BENCHMARK(BM_LookThumbnailsOnOneThread)->Apply(OnBothLogos);
