#include "render/LogoPainter.h"

#include "platform/FontInfo.h"
#include "render/LayerCompositor.h"
#include "render/TextPlacement.h"

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

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

int FloorDiv(int a, int b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The smallest alpha with which some colour over `under` gives `shown`, per channel rounded up.
int LeastAlpha(int shown, int under)
{
    if (shown < under)
        return (255 * (under - shown) + under - 1) / under;
    if (shown > under)
        return (255 * (shown - under) + (255 - under) - 1) / (255 - under);
    return 0;
}

// Turns the opaque picture into premultiplied colour over the layers' coverage (the alpha in
// `target`), so that composited over the background it gives the opaque picture back. What the
// opaque picture shows exactly as the background becomes fully transparent.
void Unmix(const QImage& opaque, QImage& target, const QRect& area, TColor background)
{
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
                alpha = std::max(alpha, LeastAlpha(over[c], under[c]));
            std::uint32_t pixel = std::uint32_t(alpha) << 24;
            for (int c = 0; c < 3; ++c) {
                const int colour = over[c] - (under[c] * (255 - alpha) + 127) / 255;
                pixel |= std::uint32_t(std::clamp(colour, 0, alpha)) << (16 - 8 * c);
            }
            line[x] = pixel;
        }
    }
}

} // namespace

namespace {

// Draws layers k = n .. 1 one text draw each, at (sx * k, sy * k).
void DrawLayers(QPainter& painter, const TextPlacement& placement, QPoint step,
                const std::vector<std::uint32_t>& colours)
{
    for (int k = int(colours.size()); k >= 1; --k)
        placement.Draw(painter, step * k, QColor::fromRgb(colours[std::size_t(k) - 1]));
}

// The same layers from one rendering of the caption.
void CompositeFromMask(QImage& target, const QRect& area, const TextPlacement& placement,
                       QPoint step, const std::vector<std::uint32_t>& colours)
{
    const int depth = int(colours.size());
    const QRect region =
        placement.Bounds({}).intersected(LayerCompositor::SourceRegion(area, step, depth));
    if (region.isEmpty())
        return;
    // White on black in RGB32 gives the same coverage as an alpha mask, and the raster engine
    // fills RGB32 several times faster.
    QImage mask(region.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setFont(placement.font);
        // An integer shift keeps the rasterised coverage identical to a draw in place.
        TextPlacement shifted = placement;
        shifted.origin -= region.topLeft();
        shifted.Draw(painter, {}, Qt::white);
    }
    LayerCompositor::Composite(target, area, mask, region.topLeft(), step, colours);
}

void BeginOn(QPainter& painter, QImage& target, const QRect& area, const QFont& font)
{
    painter.begin(&target);
    painter.setClipRect(area);
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
}

} // namespace

LogoPainter::LogoPainter(const LogoLook& look, QSize labelSize, int scale)
    : FLook(look)
    , FLabelSize(labelSize)
    , FScale(std::max(1, scale))
    , FDeviceFont(look.font)
{
    FTrueType = FontInfo::IsTrueType(FLook.font);
    FTextureFill = !FLook.texture.isNull() && FTrueType;

    // The cell is measured and placed at preview size, then scaled, so every scale puts the text
    // where the preview has it; only the glyphs come from the larger font.
    const QFontMetrics metrics(FLook.font);
    const QSize cell(metrics.horizontalAdvance(FLook.caption), metrics.height());
    FTextOrigin = TextOrigin(FLabelSize, cell, FLook.angle) * FScale;
    FBaseline = metrics.ascent() * FScale;
    if (FScale > 1) {
        if (FLook.font.pixelSize() > 0)
            FDeviceFont.setPixelSize(FLook.font.pixelSize() * FScale);
        else
            FDeviceFont.setPointSizeF(FLook.font.pointSizeF() * FScale);
    }
}

TColor LogoPainter::GetColor(TColor a, TColor b, int s, int n)
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
    const QRect area = QRect(origin, DeviceSize()).intersected(clip).intersected(target.rect());
    if (area.isEmpty())
        return;
    {
        QPainter painter(&target);
        painter.fillRect(area, ToQColor(FLook.color));
    }
    PaintLayers(target, origin, area);
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
    return FCoverage ? QColor(Qt::white) : ToQColor(colour);
}

TextPlacement LogoPainter::Placement(QPoint origin) const
{
    TextPlacement placement;
    placement.text = FLook.caption;
    placement.font = FDeviceFont;
    placement.baseline = FBaseline;
    placement.escapement = ((FLook.angle % 360) + 360) % 360;
    placement.origin = origin + FTextOrigin;
    return placement;
}

void LogoPainter::PaintLayers(QImage& target, QPoint origin, const QRect& area) const
{
    const TextPlacement placement = Placement(origin);
    PaintShadow(target, area, placement);
    QPainter painter;
    BeginOn(painter, target, area, FDeviceFont);
    PaintFace(painter, placement);
    if (FTextureFill)
        PaintTexture(painter, area, placement, origin);
}

std::vector<std::uint32_t> LogoPainter::LayerColours(int layers) const
{
    const TColor shadow = FLook.shadowColor;
    std::vector<std::uint32_t> colours(std::size_t(layers),
                                       FCoverage ? 0x00FFFFFFu : ColorToPixel(shadow));
    if (FLook.effectStyle == dxfFun && !FCoverage) {
        // The fade runs toward the background; a system colour fades toward silver.
        const TColor fade = IsSystemColor(FLook.color) ? clSilver : FLook.color;
        for (int k = 1; k <= layers; ++k)
            colours[std::size_t(k) - 1] = ColorToPixel(GetColor(shadow, fade, k - 1, layers));
    }
    return colours;
}

LogoPainter::Steps LogoPainter::ShadowSteps() const
{
    if (FLook.depth <= 0 || (FLook.effectStyle != dxfExtrude && FLook.effectStyle != dxfFun))
        return {};
    const QPoint offset = ShadowOffset(FLook.orientation, FLook.depth);
    // One layer per device pixel of depth, so a larger scale shows no stairs.
    const int layers = std::max(std::abs(offset.x()), std::abs(offset.y())) * FScale;
    const QPoint step(Sign(offset.x()), Sign(offset.y()));
    if (layers == 0 || step.isNull())
        return {};
    return {layers, step};
}

void LogoPainter::PaintShadow(QImage& target, const QRect& area,
                              const TextPlacement& placement) const
{
    if (FLook.depth <= 0)
        return;
    const QPoint offset = ShadowOffset(FLook.orientation, FLook.depth);
    if (FLook.effectStyle == dxfCool) {
        QPainter painter;
        BeginOn(painter, target, area, FDeviceFont);
        placement.Draw(painter, offset * FScale, Ink(FLook.shadowColor));
        return;
    }
    const auto [layers, step] = ShadowSteps();
    if (layers == 0)
        return;
    const std::vector<std::uint32_t> colours = LayerColours(layers);
    if (FCompositeLayers && layers > 1) {
        CompositeFromMask(target, area, placement, step, colours);
        return;
    }
    QPainter painter;
    BeginOn(painter, target, area, FDeviceFont);
    DrawLayers(painter, placement, step, colours);
}

void LogoPainter::PaintFace(QPainter& painter, const TextPlacement& placement) const
{
    const int s = FScale;
    const QColor face = Ink(FLook.textColor);
    switch (FLook.style) {
    case dxfNormal:
        if (!FTextureFill)
            placement.Draw(painter, {}, face);
        break;
    case dxfRaised:
        placement.Draw(painter, {}, Ink(clBtnHighlight));
        if (FontInfo::PixelsToPoints(FLook.font.pixelSize()) >= 12)
            placement.Draw(painter, {2 * s, 2 * s}, Ink(clBtnShadow));
        if (!FTextureFill)
            placement.Draw(painter, {s, s}, face);
        break;
    case dxfLowered: {
        placement.Draw(painter, {2 * s, 2 * s}, Ink(clBtnHighlight));
        const TColor base = FLook.engravedBase;
        const TColor engraved = IsSystemColor(base) ? clBtnShadow : GetColor(base, clBlack, 1, 3);
        if (!FTextureFill)
            placement.Draw(painter, {s, s}, Ink(engraved));
        break;
    }
    case dxfOutLine:
        if (FTrueType) {
            painter.resetTransform();
            painter.setRenderHint(QPainter::Antialiasing, true);
            // Widths 0 and 1 are both one pixel; scaled, every width grows with the picture.
            const int width =
                s == 1 ? std::max(0, FLook.penWidth) : std::max(1, FLook.penWidth) * s;
            const QPen pen(face, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.strokePath(placement.Path({}), pen);
            painter.setRenderHint(QPainter::Antialiasing, false);
        } else {
            placement.Draw(painter, {}, face);
        }
        break;
    }
}

void LogoPainter::PaintTexture(QPainter& painter, const QRect& area, const TextPlacement& placement,
                               QPoint origin) const
{
    const QImage texture = FScale == 1
        ? FLook.texture
        : FLook.texture.scaled(FLook.texture.size() * FScale, Qt::IgnoreAspectRatio,
                               Qt::SmoothTransformation);
    const int gw = texture.width();
    const int gh = texture.height();
    if (gw <= 0 || gh <= 0)
        return;
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int s = FScale;
    QPainterPath letters = placement.Path(FLook.style == dxfNormal ? QPoint() : QPoint(s, s));
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
    for (int X = firstX; X <= reach.right(); X += gw)
        for (int Y = firstY; Y <= reach.bottom(); Y += gh)
            painter.drawImage(QPoint(X, Y), texture);
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
