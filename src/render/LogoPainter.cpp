// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/LogoPainter.h"

#include "platform/FontInfo.h"
#include "render/CaptionMask.h"
#include "render/DecorationPainter.h"
#include "render/LaneBlend.h"
#include "render/LayerCompositor.h"
#include "render/TextBlock.h"
#include "render/TextPlacement.h"
#include "render/TextWarp.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// Round to nearest, ties to even (the default floating-point rounding mode).
int RoundEven(double value)
{
    return int(std::nearbyint(value));
}

int FloorDiv(int a, int b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Turns the opaque picture into premultiplied colour over the layers' coverage (the alpha in
// `target`), so that composited over the background it gives the opaque picture back. What the
// opaque picture shows exactly as the background becomes fully transparent.
void Unmix(const QImage& opaque, QImage& target, const QRect& area, TColor background)
{
    // Rows are read and written as 32-bit words: RGB32 in, premultiplied ARGB32 out.
    Q_ASSERT(opaque.format() == QImage::Format_RGB32);
    Q_ASSERT(target.format() == QImage::Format_ARGB32_Premultiplied);
    Q_ASSERT(opaque.rect().contains(area) && target.rect().contains(area));
    const std::uint32_t key = ColorToPixel(background);
    const int under[3] = {int(key >> 16) & 0xFF, int(key >> 8) & 0xFF, int(key) & 0xFF};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* shown = reinterpret_cast<const std::uint32_t*>(opaque.constScanLine(y));
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const std::uint32_t o = shown[x] & 0x00FFFFFFu;
            if (o == key) {
                line[x] = 0;
                continue;
            }
            const int over[3] = {int(o >> 16) & 0xFF, int(o >> 8) & 0xFF, int(o) & 0xFF};
            int alpha = int(line[x] >> 24);
            for (int c = 0; c < 3; ++c)
                alpha = std::max(
                    alpha,
                    int(LaneBlend::LeastAlpha(std::uint32_t(over[c]), std::uint32_t(under[c]))));
            std::uint32_t pixel = std::uint32_t(alpha) << 24;
            for (int c = 0; c < 3; ++c) {
                const int colour = over[c] - (under[c] * (255 - alpha) + 127) / 255;
                pixel |= std::uint32_t(std::clamp(colour, 0, alpha)) << (16 - 8 * c);
            }
            line[x] = pixel;
        }
    }
}

void BeginOn(QPainter& painter, QImage& target, const QRect& area, const QFont& font)
{
    painter.begin(&target);
    painter.setClipRect(area);
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
}

// Pixels that show the background colour over it, within rounding, are background: the far end
// of a fade into it and blends that land on it vanish, as the background does.
void KeyOut(QImage& target, const QRect& area, std::uint32_t background)
{
    // Rows are read and written as premultiplied ARGB32 words.
    Q_ASSERT(target.format() == QImage::Format_ARGB32_Premultiplied);
    Q_ASSERT(target.rect().contains(area));
    const std::uint64_t under = LaneBlend::Spread(background);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            if (line[x] != 0 && LaneBlend::ShowsGround(line[x], under))
                line[x] = 0;
        }
    }
}

} // namespace

LogoPainter::LogoPainter(const LogoLook& look, QSize labelSize, int scale)
    : FLook(look)
    , FLabelSize(labelSize)
    , FScale(std::max(1, scale))
    , FDeviceFont(look.font)
    , FGround(ToQColor(look.color))
{
    FTrueType = FontInfo::IsTrueType(FLook.font);
    FTextureFill = !FLook.texture.isNull() && FTrueType;
    DecorationPainter::SpaceLetters(FLook.font, FLook.decorations.spacing);

    // The cell is measured and placed at preview size, then scaled, so every scale puts the text
    // where the preview has it; only the glyphs come from the larger font.
    const QFontMetrics metrics(FLook.font);
    QSize cell(0, metrics.height());
    int baseline = metrics.ascent();
    if (TextBlock::Needed(FLook.tagline, FLook.vertical)) {
        FBlock = TextBlock::Of(FLook.caption, FLook.font, FLook.tagline, FLook.vertical);
        cell = FBlock->Size().toSize();
        baseline = qRound(FBlock->Baseline());
    } else {
        cell.setWidth(metrics.horizontalAdvance(FLook.caption));
    }
    FTextOrigin = TextOrigin(FLabelSize, cell, FLook.angle) * FScale;
    FBaseline = baseline * FScale;
    if (FScale > 1) {
        if (FLook.font.pixelSize() > 0)
            FDeviceFont.setPixelSize(FLook.font.pixelSize() * FScale);
        else
            FDeviceFont.setPointSizeF(FLook.font.pointSizeF() * FScale);
    }
    DecorationPainter::SpaceLetters(FDeviceFont, FLook.decorations.spacing);
    if (!TextWarp::IsIdentity(FLook.warp, FLook.warpAmount)) {
        // Bent in the preview cell scaled, so every scale shows the preview's shape, within
        // the label.
        const qreal room = std::min(FLabelSize.width(), FLabelSize.height()) / 2.0;
        FWarp.emplace(FLook.warp, FLook.warpAmount,
                      TextBlock::WarpFrame(QSizeF(cell * FScale), FLook.vertical), FBaseline,
                      room * FScale);
    }
}

QPoint LogoPainter::TextOrigin(QSize area, QSize text, int angle)
{
    const int cx = area.width() / 2;
    const int cy = area.height() / 2;
    const double t = angle * std::numbers::pi / 180.0;
    const double c = std::cos(t);
    const double s = std::sin(t);
    return {cx - RoundEven(c * text.width() / 2.0) - RoundEven(s * text.height() / 2.0),
            cy + RoundEven(s * text.width() / 2.0) - RoundEven(c * text.height() / 2.0)};
}

void LogoPainter::PaintOpaque(QImage& target, QPoint origin, const QRect& clip) const
{
    PaintOn(target, origin, clip, ToQColor(FLook.color));
}

void LogoPainter::PaintTransparent(QImage& target, QPoint origin, const QRect& clip) const
{
    Q_ASSERT(target.isNull() || target.format() == QImage::Format_ARGB32_Premultiplied);
    // The stacked layers and the blended copies clear what shows the background colour as they
    // go; what the painter strokes or fills over them is keyed out afterwards.
    const QRect drawn = PaintGround(target, origin, clip, Qt::transparent);
    if (!drawn.isEmpty())
        KeyOut(target, drawn, ColorToPixel(FLook.color));
}

void LogoPainter::PaintOn(QImage& target, QPoint origin, const QRect& clip,
                          const QColor& ground) const
{
    PaintGround(target, origin, clip, ground);
}

QRect LogoPainter::PaintGround(QImage& target, QPoint origin, const QRect& clip,
                               const QColor& ground) const
{
    Q_ASSERT(target.isNull() || target.format() == QImage::Format_RGB32
             || target.format() == QImage::Format_ARGB32_Premultiplied);
    const QRect area = QRect(origin, DeviceSize()).intersected(clip).intersected(target.rect());
    if (area.isEmpty())
        return {};
    {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(area, ground);
    }
    LogoPainter on = *this;
    on.FGround = ground;
    return on.PaintLayers(target, origin, area);
}

void LogoPainter::PaintKeyed(QImage& target, QPoint origin, const QRect& clip, QImage* opaque) const
{
    const QRect area = QRect(origin, DeviceSize()).intersected(clip).intersected(target.rect());
    if (area.isEmpty())
        return;
    QImage own;
    if (!opaque || !opaque->rect().contains(area)) {
        own = QImage(target.size(), QImage::Format_RGB32);
        opaque = &own;
    }
    PaintOpaque(*opaque, origin, area);
    // The same layers again, every one in white on nothing: their joint coverage.
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::fill_n(reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + area.left(),
                    area.width(), 0u);
    LogoPainter coverage = *this;
    coverage.FCoverage = true;
    coverage.PaintLayers(target, origin, area);
    Unmix(*opaque, target, area, FLook.color);
}

QColor LogoPainter::Ink(TColor colour) const
{
    if (FCoverage)
        return Qt::white;
    if (ColorToPixel(colour) == ColorToPixel(FLook.color))
        return FGround;
    return ToQColor(colour);
}

std::uint32_t LogoPainter::InkWord(TColor colour) const
{
    return qPremultiply(Ink(colour).rgba());
}

TextPlacement LogoPainter::Placement(QPoint origin) const
{
    TextPlacement placement;
    placement.text = FLook.caption;
    placement.font = FDeviceFont;
    placement.baseline = FBaseline;
    placement.escapement = ((FLook.angle % 360) + 360) % 360;
    placement.origin = origin + FTextOrigin;
    placement.warp = FWarp;
    placement.tagline = FLook.tagline;
    placement.vertical = FLook.vertical;
    // the block measured for the cell is the one drawn when the glyphs are of the same size
    if (FDeviceFont == FLook.font)
        placement.laidOut = FBlock;
    return placement;
}

LogoLayout LogoPainter::Layout() const
{
    return LogoLayout(FLook, FScale, FGround.alpha() == 0 && !FCoverage);
}

QRect LogoPainter::PaintLayers(QImage& target, QPoint origin, const QRect& area) const
{
    // A long caption is drawn only where it can show, shadow and rims included.
    const QPoint shadow = ShadowOffset(FLook.orientation, FLook.depth);
    const TextPlacement placement = Placement(origin).Within(
        area,
        (std::abs(shadow.x()) + std::abs(shadow.y())) * FScale + LogoLayout::RimReach(FScale)
            + DecorationPainter::Reach(FLook.decorations, FScale));
    const LogoLayout layout = Layout();
    // Decorations are drawn from masks only.
    if (FCompositeLayers || DecorationPainter::Any(FLook.decorations))
        return PaintBlended(target, area, placement, origin, layout);
    PaintDrawn(target, area, placement, origin, layout);
    return area;
}

QRect LogoPainter::PaintBlended(QImage& target, const QRect& area, const TextPlacement& placement,
                                QPoint origin, const LogoLayout& layout) const
{
    const TMask mask = MaskFor(placement, area, layout.Shadow());
    const DecorationPainter decorations(*this, placement);
    // The outline and the texture are drawn by the painter over the blends.
    QPainter painter;
    for (const LogoPart& part : layout.Parts()) {
        switch (part.kind) {
        case LogoPart::Glow:
            decorations.PaintGlow(target, area);
            break;
        case LogoPart::Ring:
            decorations.PaintRing(target, area, part);
            break;
        case LogoPart::Copy:
        case LogoPart::Stack:
            if (part.shadow && decorations.ShapesShadow())
                decorations.PaintShadow(target, area, part);
            else if (part.shadow)
                BlendShadow(target, area, mask, part);
            else if (part.gradient && !mask.image.isNull())
                decorations.BlendGradient(target, area, mask.image, mask.topLeft + part.offset);
            else if (!mask.image.isNull())
                BlendCopy(target, area, mask, part.offset, InkWord(part.colour));
            break;
        case LogoPart::Outline:
        case LogoPart::Texture:
            if (!painter.isActive())
                BeginOn(painter, target, area, FDeviceFont);
            if (part.kind == LogoPart::Outline)
                StrokeOutline(painter, placement, part);
            else
                PaintTexture(painter, area, placement, origin, part.offset);
            break;
        }
    }
    // The blends clear what shows the background; what the painter drew over them is keyed out
    // afterwards.
    return painter.isActive() ? DrawnOverStack(mask, layout).intersected(area) : QRect();
}

void LogoPainter::PaintDrawn(QImage& target, const QRect& area, const TextPlacement& placement,
                             QPoint origin, const LogoLayout& layout) const
{
    QPainter painter;
    for (const LogoPart& part : layout.Parts()) {
        if (part.shadow) {
            PaintShadow(target, area, placement, part);
            continue;
        }
        if (!painter.isActive())
            BeginOn(painter, target, area, FDeviceFont);
        switch (part.kind) {
        case LogoPart::Copy:
            DrawInk(painter, placement, part.offset, part.colour);
            break;
        case LogoPart::Outline:
            StrokeOutline(painter, placement, part);
            break;
        case LogoPart::Texture:
            PaintTexture(painter, area, placement, origin, part.offset);
            break;
        case LogoPart::Glow:
        case LogoPart::Stack:
        case LogoPart::Ring:
            // drawn from masks only
            break;
        }
    }
}

QRect LogoPainter::DrawnOverStack(const TMask& mask, const LogoLayout& layout) const
{
    if (mask.image.isNull())
        return {};
    const QRect face(mask.topLeft, mask.image.size());
    // The face and its rims, the texture inside it, and a flat or one-layer shadow.
    const int rim = LogoLayout::RimReach(FScale);
    QRect drawn = face.united(face.translated(rim, rim));
    if (const LogoPart* shadow = layout.Shadow()) {
        if (shadow->kind == LogoPart::Copy)
            drawn |= face.translated(shadow->offset);
        else if (shadow->colours.size() == 1)
            drawn |= face.translated(shadow->step);
    }
    // An outline's pen reaches past the letters.
    const int pen = LogoLayout::PenReach(FLook, FScale);
    return drawn.adjusted(-pen, -pen, pen, pen);
}

void LogoPainter::DrawInk(QPainter& painter, const TextPlacement& placement, QPoint offset,
                          TColor colour) const
{
    const QColor ink = Ink(colour);
    if (ink.alpha() == 255) {
        placement.Draw(painter, offset, ink);
        return;
    }
    // Ink in a transparent background colour takes away what lies beneath.
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    placement.Draw(painter, offset, Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

std::vector<std::uint32_t> LogoPainter::ShadowWords(const LogoPart& shadow) const
{
    if (shadow.kind != LogoPart::Stack)
        return {InkWord(shadow.colour)};
    const int layers = int(shadow.colours.size());
    std::vector<std::uint32_t> words;
    words.reserve(shadow.colours.size());
    // Over transparency a fade toward the background is a fade toward nothing, so that the
    // shadow fades into whatever the picture is laid on.
    const std::uint64_t ground = LaneBlend::Spread(ColorToPixel(FLook.color));
    for (int k = 1; k <= layers; ++k) {
        const TColor colour = shadow.colours[std::size_t(k) - 1];
        words.push_back(shadow.fadesOut
                            ? LaneBlend::Unground(LaneBlend::Spread(ColorToPixel(colour)),
                                                  LogoLayout::FadeAlpha(k, layers), ground)
                            : InkWord(colour));
    }
    return words;
}

void LogoPainter::PaintShadow(QImage& target, const QRect& area, const TextPlacement& placement,
                              const LogoPart& shadow) const
{
    QPainter painter;
    BeginOn(painter, target, area, FDeviceFont);
    if (shadow.kind == LogoPart::Copy) {
        DrawInk(painter, placement, shadow.offset, shadow.colour);
        return;
    }
    const std::vector<std::uint32_t> words = ShadowWords(shadow);
    // Layers k = n .. 1, farthest first.
    for (int k = int(words.size()); k >= 1; --k) {
        const std::uint32_t word = words[std::size_t(k) - 1];
        if (qAlpha(word) != 0) {
            placement.Draw(painter, shadow.step * k, QColor::fromRgba(qUnpremultiply(word)));
            continue;
        }
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        placement.Draw(painter, shadow.step * k, Qt::black);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

LogoPainter::TMask LogoPainter::MaskFor(const TextPlacement& placement, const QRect& area,
                                        const LogoPart* shadow) const
{
    TMask mask;
    if (FMaskCache) {
        // As far as the deepest shadow and the rims reach, whatever this paint's depth and
        // direction, so that changing them draws the caption no more.
        const int far = (LogoDocument::kMaxDepth + 4) * FScale;
        mask.image = FMaskCache->Of(placement, area.adjusted(-far, -far, far, far), mask.topLeft);
        return mask;
    }
    // Only the part of the caption that some layer or the face brings into the area.
    const int rim = LogoLayout::RimReach(FScale);
    QRect needed = area.united(area.translated(-rim, -rim));
    if (shadow && shadow->kind == LogoPart::Copy)
        needed |= area.translated(-shadow->offset);
    else if (shadow)
        needed |= LayerCompositor::SourceRegion(area, shadow->step, int(shadow->colours.size()));
    const QRect region = placement.Bounds({}).intersected(needed);
    mask.image = CaptionMask::Draw(placement, region);
    mask.topLeft = region.topLeft();
    return mask;
}

void LogoPainter::BlendShadow(QImage& target, const QRect& area, const TMask& mask,
                              const LogoPart& shadow) const
{
    if (mask.image.isNull())
        return;
    const std::vector<std::uint32_t> words = ShadowWords(shadow);
    if (shadow.kind == LogoPart::Copy || words.size() == 1) {
        BlendCopy(target, area, mask, shadow.kind == LogoPart::Copy ? shadow.offset : shadow.step,
                  words[0]);
        return;
    }
    // Over an opaque ground, rounded at every layer as text draws are. The keyed picture's
    // coverage has always counted every pixel the stack touches as fully covered; its opaque
    // picture over a background picture stays the same.
    if (!OverTransparency())
        LayerCompositor::Composite(target, area, mask.image, mask.topLeft, shadow.step, words);
    else
        LayerCompositor::CompositePremultiplied(target, area, mask.image, mask.topLeft, shadow.step,
                                                words, ColorToPixel(FLook.color));
}

void LogoPainter::BlendCopy(QImage& target, const QRect& area, const TMask& mask, QPoint offset,
                            std::uint32_t word) const
{
    const QPoint at = mask.topLeft + offset;
    if (OverTransparency())
        LayerCompositor::BlendShapeOverTransparency(target, area, mask.image, at, word,
                                                    ColorToPixel(FLook.color));
    else
        LayerCompositor::BlendShape(target, area, mask.image, at, word);
}

bool LogoPainter::OverTransparency() const
{
    return !FCoverage && FGround.alpha() != 255;
}

void LogoPainter::StrokeOutline(QPainter& painter, const TextPlacement& placement,
                                const LogoPart& outline) const
{
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QColor ink = Ink(outline.colour);
    if (ink.alpha() != 255) {
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        ink = Qt::black;
    }
    // A pen of width 0 is one device pixel wide.
    QPen pen(ink, outline.pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (outline.gradient && !FCoverage && ink.alpha() == 255)
        pen.setBrush(
            DecorationPainter::FaceGradient(FLook, placement, [&](TColor c) { return Ink(c); }));
    painter.strokePath(FMaskCache ? FMaskCache->Outline(placement) : placement.Path({}), pen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void LogoPainter::PaintTexture(QPainter& painter, const QRect& area, const TextPlacement& placement,
                               QPoint origin, QPoint offset) const
{
    const int gw = FLook.texture.width() * FScale;
    const int gh = FLook.texture.height() * FScale;
    if (gw <= 0 || gh <= 0)
        return;
    auto* image = dynamic_cast<QImage*>(painter.device());
    // The letters' coverage kept between paints instead of a clip path rasterised at each one.
    if (FMaskCache && !FCoverage && image && !FLook.texture.hasAlphaChannel()) {
        QPoint at;
        const QImage& letters = FMaskCache->Letters(placement, offset, at);
        const QRect reach = QRect(at, letters.size()).intersected(area);
        if (reach.isEmpty())
            return;
        const int firstX = origin.x() + FloorDiv(reach.left() - origin.x(), gw) * gw;
        const int firstY = origin.y() + FloorDiv(reach.top() - origin.y(), gh) * gh;
        const QImage tile =
            ScaledCorner(FLook.texture, FScale,
                         QSize(reach.right() - firstX + 1, reach.bottom() - firstY + 1))
                .convertToFormat(QImage::Format_RGB32);
        LayerCompositor::BlendTiles(*image, reach, letters, at, tile, QPoint(firstX, firstY),
                                    QSize(gw, gh));
        return;
    }
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath letters = placement.Path(offset);
    letters.setFillRule(Qt::OddEvenFill);
    painter.setClipPath(letters, Qt::IntersectClip);
    // The tiles start at the label's top-left corner; only those that meet the letters can
    // change a pixel.
    const QRect reach = letters.boundingRect().toAlignedRect().intersected(area);
    if (reach.isEmpty())
        return;
    const int firstX = origin.x() + FloorDiv(reach.left() - origin.x(), gw) * gw;
    const int firstY = origin.y() + FloorDiv(reach.top() - origin.y(), gh) * gh;
    if (FCoverage) {
        painter.fillRect(reach, Qt::white);
        return;
    }
    // No tile needs more of the texture than from its corner to the far edge of the reach.
    const QImage texture = ScaledCorner(
        FLook.texture, FScale, QSize(reach.right() - firstX + 1, reach.bottom() - firstY + 1));
    for (int X = firstX; X <= reach.right(); X += gw)
        for (int Y = firstY; Y <= reach.bottom(); Y += gh)
            painter.drawImage(QPoint(X, Y), texture);
}

QImage LogoPainter::ScaledCorner(const QImage& texture, int scale, QSize size)
{
    if (scale == 1)
        return texture;
    const QSize corner =
        QSize((size.width() + scale - 1) / scale + 2, (size.height() + scale - 1) / scale + 2)
            .boundedTo(texture.size());
    const QImage part = corner == texture.size() ? texture : texture.copy(QRect(QPoint(), corner));
    return part.scaled(part.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPoint ShadowOffset(TdxfOrientation orientation, int d)
{
    switch (orientation) {
    case dxfLeft:
        return {-d, 0};
    case dxfRight:
        return {d, 0};
    case dxfTop:
        return {0, -d};
    case dxfBottom:
        return {0, d};
    case dxfLeftTop:
        return {-d, -d};
    case dxfLeftBottom:
        return {-d, d};
    case dxfRightTop:
        return {d, -d};
    case dxfRightBottom:
        return {d, d};
    }
    return {0, 0};
}
