// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LogoLayout.h"

#include "platform/FontInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

LogoPart Part(LogoPart::Kind kind, TColor colour, QPoint offset = {})
{
    LogoPart part;
    part.kind = kind;
    part.colour = colour;
    part.offset = offset;
    return part;
}

} // namespace

LogoLayout::LogoLayout(const LogoLook& look, int scale, bool overNothing)
{
    scale = std::max(1, scale);
    const LogoDecorations& d = look.decorations;
    if (d.glowSize > 0 && d.glowOpacity > 0)
        FParts.push_back(Part(LogoPart::Glow, d.glowColor));
    AddShadow(look, scale, overNothing);
    // Outlined letters stay hollow: the rings lie around them only.
    const bool hollow = look.style == dxfOutLine && FontInfo::IsTrueType(look.font);
    for (std::size_t k = d.edges.size(); k-- > 0;)
        if (d.edges[k].width > 0) {
            FParts.push_back(Part(LogoPart::Ring, d.edges[k].color));
            FParts.back().ring = int(k);
            FParts.back().hollow = hollow;
        }
    AddFace(look, scale);
}

const LogoPart* LogoLayout::Shadow() const
{
    return FShadow < 0 ? nullptr : &FParts[std::size_t(FShadow)];
}

LogoLayout::Steps LogoLayout::ShadowSteps(const LogoLook& look, int scale)
{
    if (look.depth <= 0 || (look.effectStyle != dxfExtrude && look.effectStyle != dxfFun))
        return {};
    const QPoint offset = ShadowOffset(look.orientation, look.depth);
    // One layer per device pixel of depth, so a larger scale shows no stairs.
    const int layers = std::max(std::abs(offset.x()), std::abs(offset.y())) * scale;
    const QPoint step(Sign(offset.x()), Sign(offset.y()));
    if (layers == 0 || step.isNull())
        return {};
    return {layers, step};
}

std::uint32_t LogoLayout::FadeAlpha(int k, int layers)
{
    return std::uint32_t(std::nearbyint(255.0 * (layers - k + 1) / layers));
}

TColor LogoLayout::GetColor(TColor a, TColor b, int s, int n)
{
    if (n == 0)
        return a & 0x00FFFFFFu;
    auto channel = [&](int shift) {
        const int from = int((a >> shift) & 0xFF);
        const int to = int((b >> shift) & 0xFF);
        const double step = double(std::int64_t(s) * (to - from)) / double(n);
        return int(std::trunc(double(from) + step));
    };
    return RGB(channel(0), channel(8), channel(16));
}

void LogoLayout::AddShadow(const LogoLook& look, int scale, bool overNothing)
{
    if (look.depth <= 0)
        return;
    if (look.effectStyle == dxfCool) {
        FShadow = int(FParts.size());
        FParts.push_back(Part(LogoPart::Copy, look.shadowColor,
                              ShadowOffset(look.orientation, look.depth) * scale));
        FParts.back().shadow = true;
        return;
    }
    const auto [layers, step] = ShadowSteps(look, scale);
    if (layers == 0)
        return;
    LogoPart stack = Part(LogoPart::Stack, look.shadowColor);
    stack.shadow = true;
    stack.step = step;
    stack.colours.assign(std::size_t(layers), look.shadowColor);
    if (look.effectStyle == dxfFun) {
        // The fade runs toward the background; a system colour fades toward silver.
        const TColor fade = IsSystemColor(look.color) ? clSilver : look.color;
        for (int k = 1; k <= layers; ++k)
            stack.colours[std::size_t(k) - 1] = GetColor(look.shadowColor, fade, k - 1, layers);
        stack.fadesOut = overNothing && fade == look.color
            && ColorToPixel(look.shadowColor) != ColorToPixel(look.color);
    }
    FShadow = int(FParts.size());
    FParts.push_back(std::move(stack));
}

void LogoLayout::AddFace(const LogoLook& look, int scale)
{
    const int s = scale;
    const int rim = RimReach(scale);
    const bool trueType = FontInfo::IsTrueType(look.font);
    const bool textured = !look.texture.isNull() && trueType;
    const bool gradient = look.decorations.gradient;
    auto copy = [&](QPoint offset, TColor colour) {
        FParts.push_back(Part(LogoPart::Copy, colour, offset));
    };
    auto face = [&](QPoint offset) {
        if (textured)
            return;
        copy(offset, look.textColor);
        FParts.back().gradient = gradient;
    };
    switch (look.style) {
    case dxfNormal:
        face({});
        break;
    case dxfRaised:
        copy({}, clBtnHighlight);
        if (FontInfo::PixelsToPoints(look.font.pixelSize()) >= 12)
            copy({rim, rim}, clBtnShadow);
        face({s, s});
        break;
    case dxfLowered: {
        copy({rim, rim}, clBtnHighlight);
        // The engraved face darkens the colour of what the label lies on.
        const TColor base = look.engravedBase;
        if (!textured)
            copy({s, s}, IsSystemColor(base) ? clBtnShadow : GetColor(base, clBlack, 1, 3));
        break;
    }
    case dxfOutLine:
        if (!trueType) {
            face({});
            break;
        }
        FParts.push_back(Part(LogoPart::Outline, look.textColor));
        FParts.back().gradient = gradient;
        // Widths 0 and 1 are both one pixel; scaled, every width grows with the picture.
        FParts.back().pen = s == 1 ? std::max(0, look.penWidth) : std::max(1, look.penWidth) * s;
        break;
    }
    if (textured)
        FParts.push_back(
            Part(LogoPart::Texture, clBlack, look.style == dxfNormal ? QPoint() : QPoint(s, s)));
}
