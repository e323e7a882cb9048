// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of one paint of the preview label at the settings the window allows, composited and
// drawn layer by layer.
#include "controls/dxfLabel.h"
#include "platform/FontInfo.h"

#include <QImage>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The large settings again with the shadow going down or diagonally: the compositor walks those
// across rows rather than along them; and the large settings set top to bottom, as they are and
// in Japanese with a tagline.
enum Setting {
    StartSettings,
    Large,
    Largest,
    LargeDown,
    LargestDiagonal,
    LargeVertical,
    LargeVerticalJapanese
};

QImage Texture()
{
    QImage texture(24, 24, QImage::Format_RGB32);
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x)
            texture.setPixel(x, y, ((x / 6 + y / 6) % 2) ? qRgb(230, 60, 40) : qRgb(250, 220, 40));
    return texture;
}

std::unique_ptr<TdxfLabel> MakeLabel(Setting setting)
{
    auto label = std::make_unique<TdxfLabel>();
    label->resize(592, 360);
    label->SetCaption(QStringLiteral("Tamrin - Quilvoro"));
    label->SetColor(clBlack);
    label->Font()->SetColor(clWhite);
    label->Effect3D()->SetShadowedColor(clGray);
    label->Effect3D()->SetOrientation(dxfLeft);
    switch (setting) {
    case LargeDown:
        label = MakeLabel(Large);
        label->Effect3D()->SetOrientation(dxfBottom);
        return label;
    case LargestDiagonal:
        label = MakeLabel(Largest);
        label->Effect3D()->SetOrientation(dxfRightTop);
        return label;
    case LargeVertical:
        label = MakeLabel(Large);
        label->SetVertical(true);
        return label;
    case LargeVerticalJapanese:
        label = MakeLabel(LargeVertical);
        label->SetCaption(QStringLiteral("らーめん 一番"));
        label->Font()->SetName(QStringLiteral("IPAPGothic"));
        label->SetTagline({QStringLiteral("since 1962 本店")});
        return label;
    case StartSettings:
        label->Font()->SetSize(40);
        label->Effect3D()->SetStyle(dxfFun);
        label->Effect3D()->SetDepth(30);
        break;
    case Large:
        label->Font()->SetSize(100);
        label->Effect3D()->SetStyle(dxfFun);
        label->Effect3D()->SetDepth(200);
        label->SetAngle(30);
        break;
    case Largest:
        label->Font()->SetSize(200);
        label->Effect3D()->SetStyle(dxfExtrude);
        label->Effect3D()->SetDepth(200);
        label->SetAngle(45);
        label->SetStyle(dxfOutLine);
        label->SetGlyph(Texture());
        break;
    }
    return label;
}

void BM_LabelPaint(benchmark::State& state)
{
    const auto label = MakeLabel(Setting(state.range(0)));
    label->SetCompositeLayers(state.range(1) != 0);
    QImage target(label->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        label->PaintTo(target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

} // namespace

// Arguments: setting (0 start, 1 large, 2 largest, 3 large down, 4 largest diagonal, 5 large
// vertical, 6 large vertical in Japanese with a tagline), composited (1) or layer by layer (0).
BENCHMARK(BM_LabelPaint)
    ->ArgsProduct({{StartSettings, Large, Largest, LargeDown, LargestDiagonal, LargeVertical,
                    LargeVerticalJapanese},
                   {1, 0}})
    ->ArgNames({"setting", "composited"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
