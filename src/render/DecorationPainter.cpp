// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/DecorationPainter.h"

#include "platform/FontInfo.h"
#include "render/CaptionMask.h"
#include "render/DecorationCache.h"
#include "render/EdgeRings.h"
#include "render/LaneBlend.h"
#include "render/LayerCompositor.h"
#include "render/LogoPainter.h"
#include "render/MaskBlur.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Curves are flattened this finely (device pixels) before they are grown.
constexpr double kTolerance = 0.2;

// Where the pictures are kept: the rings' by their index.
constexpr int kGlowSlot = -1;
constexpr int kShadowSlot = -2;
constexpr int kShadowCoverageSlot = -3;
// A soft shadow kept on the blur's grid is read back this many rows at a time.
constexpr int kBandRows = 32;

// The bytes of every value a kept picture is drawn from.
template<class... Values> QByteArray KeyOf(const Values&... values)
{
    QByteArray key;
    (key.append(reinterpret_cast<const char*>(&values), qsizetype(sizeof values)), ...);
    return key;
}

int RingsReach(const LogoDecorations& decorations, int scale)
{
    int reach = 0;
    for (const LogoEdge& edge : decorations.edges)
        reach += std::max(0, edge.width) * scale;
    return reach;
}

void ScaleBytes(QImage& image, int percent)
{
    if (percent >= 100)
        return;
    std::array<std::uint8_t, 256> scaled;
    for (int value = 0; value < 256; ++value)
        scaled[std::size_t(value)] = std::uint8_t((value * percent + 50) / 100);
    const int bytes = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* line = image.scanLine(y);
        for (int x = 0; x < bytes; ++x)
            line[x] = scaled[line[x]];
    }
}

// The smallest rectangle that holds every pixel of `layer` that is not clear.
QRect Painted(const QImage& layer)
{
    QRect painted;
    for (int y = 0; y < layer.height(); ++y) {
        const auto* words = reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y));
        int left = 0;
        int right = layer.width() - 1;
        while (left <= right && words[left] == 0)
            ++left;
        while (right >= left && words[right] == 0)
            --right;
        if (left <= right)
            painted |= QRect(left, y, right - left + 1, 1);
    }
    return painted;
}

// x × a ÷ 255 in every lane, rounded to nearest as the exact division is.
std::uint64_t ExactByteMul(std::uint64_t lanes, std::uint32_t a)
{
    constexpr std::uint64_t kLow = 0x00ff00ff00ff00ffu;
    const std::uint64_t t = lanes * a + 0x0080008000800080u;
    return ((t + ((t >> 8) & kLow)) >> 8) & kLow;
}

// `layer` (premultiplied, its top-left at `layerTopLeft`) laid over `area` of `target`, which
// is Format_RGB32 or premultiplied: on an opaque pixel the alpha stays whole.
void LayOver(QImage& target, const QRect& area, const QImage& layer, QPoint layerTopLeft)
{
    const QRect region = area.intersected(QRect(layerTopLeft, layer.size()));
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const auto* over =
            reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y - layerTopLeft.y()))
            - layerTopLeft.x();
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        for (int x = region.left(); x <= region.right(); ++x) {
            const std::uint32_t l = over[x];
            if (l == 0)
                continue;
            const std::uint32_t rest = 255 - (l >> 24);
            const std::uint64_t lanes =
                LaneBlend::Spread(l) + ExactByteMul(LaneBlend::Spread(line[x]), rest);
            // a colour within its alpha never passes 255
            if ((lanes & 0xff00ff00ff00ff00u) == 0) {
                line[x] = LaneBlend::Gather(lanes);
                continue;
            }
            std::uint32_t word = 0;
            for (int shift = 0; shift < 64; shift += 16)
                word |= std::uint32_t(std::min<std::uint64_t>((lanes >> shift) & 0xffffu, 255))
                    << (shift / 2);
            line[x] = word;
        }
    }
}

} // namespace

DecorationPainter::DecorationPainter(const LogoPainter& painter, const TextPlacement& placement)
    : FPainter(painter)
    , FLook(painter.Look())
    , FPlacement(placement)
    , FScale(painter.Scale())
    , FCache(painter.MaskCache() ? &painter.MaskCache()->Decorations() : nullptr)
{
    const LogoDecorations& d = FLook.decorations;
    const bool rings = RingsReach(d, 1) > 0;
    const bool glow = d.glowSize > 0 && d.glowOpacity > 0;
    if (!rings && !glow && !ShapesShadow())
        return;
    TakeOutlines(rings || glow);
    if (!rings && !glow)
        return;
    FGlowOutline = FOutlines.back();
    FOutlines.pop_back();
    // a glow of the smallest sizes grows nothing: it blurs the silhouette itself
    if (glow && FGlowOutline.isEmpty())
        FGlowOutline = Silhouette();
}

void DecorationPainter::TakeOutlines(bool grown)
{
    const std::vector<double> growths =
        grown ? Growths(FLook.decorations, FScale) : std::vector<double>();
    if (FCache && FCache->FPlacement && *FCache->FPlacement == FPlacement && FCache->FGrown == grown
        && FCache->FGrowths == growths) {
        FLetters = FCache->FLetters;
        FOutlines = FCache->FOutlines;
        FGeneration = FCache->FGeneration;
        return;
    }
    FLetters = FPlacement.Path({});
    FLetters.setFillRule(Qt::WindingFill);
    if (grown)
        FOutlines = EdgeRings::Outlines(FLetters, growths, kTolerance);
    if (!FCache)
        return;
    FCache->FPlacement = FPlacement;
    FCache->FGrowths = growths;
    FCache->FGrown = grown;
    FCache->FLetters = FLetters;
    FCache->FOutlines = FOutlines;
    FGeneration = ++FCache->FGeneration;
    ++FCache->FBuilds;
}

template<class Make>
const QImage& DecorationPainter::Kept(int slot, const QByteArray& key, QPoint& topLeft,
                                      Make make) const
{
    if (!FCache) {
        FScratch = make(topLeft);
        return FScratch;
    }
    DecorationCache::Kept& kept = slot == kGlowSlot ? FCache->FGlow
        : slot == kShadowSlot                       ? FCache->FShadow
        : slot == kShadowCoverageSlot               ? FCache->FShadowCoverage
                                                    : FCache->FRings[std::size_t(slot)];
    if (kept.key.isEmpty() || kept.key != key) {
        kept.image = make(kept.topLeft);
        kept.key = key;
        ++FCache->FBuilds;
    }
    topLeft = kept.topLeft;
    return kept.image;
}

double DecorationPainter::GlowGrowth(int size, int scale)
{
    // about half the glow is solid and the blur fades it out over the other half
    return size * scale / 2.0;
}

double DecorationPainter::GlowSigma(int size, int scale)
{
    return size * scale / 4.0;
}

double DecorationPainter::ShadowSigma(int blur, int scale)
{
    // a blur of b spreads the shadow about b
    return blur * scale / 2.0;
}

std::vector<double> DecorationPainter::Growths(const LogoDecorations& decorations, int scale)
{
    std::vector<double> widths;
    for (const LogoEdge& edge : decorations.edges)
        widths.push_back(double(std::max(0, edge.width) * scale));
    const bool glow = decorations.glowSize > 0 && decorations.glowOpacity > 0;
    widths.push_back(glow ? GlowGrowth(decorations.glowSize, scale) : 0.0);
    return widths;
}

QLinearGradient DecorationPainter::FaceGradient(const LogoLook& look,
                                                const TextPlacement& placement,
                                                const std::function<QColor(TColor)>& ink)
{
    const QTransform frame = placement.TransformAt({});
    const QRectF box = frame.inverted().map(placement.Path({})).boundingRect();
    const LogoDecorations& d = look.decorations;
    const double t = d.fillAngle * std::numbers::pi / 180.0;
    const QPointF direction(std::cos(t), -std::sin(t));
    const double half =
        (std::abs(box.width() * direction.x()) + std::abs(box.height() * direction.y())) / 2;
    // turned and moved with the text, which keeps the gradient's lines square to its direction
    QLinearGradient gradient(frame.map(box.center() - direction * half),
                             frame.map(box.center() + direction * half));
    gradient.setColorAt(0, ink(look.textColor));
    if (d.fillColor3 == LogoDocument::kNoFillColor) {
        gradient.setColorAt(1, ink(d.fillColor2));
    } else {
        gradient.setColorAt(0.5, ink(d.fillColor2));
        gradient.setColorAt(1, ink(d.fillColor3));
    }
    return gradient;
}

bool DecorationPainter::Any(const LogoDecorations& decorations)
{
    LogoDecorations plain;
    plain.spacing = decorations.spacing;
    return decorations != plain;
}

int DecorationPainter::Reach(const LogoDecorations& decorations, int scale)
{
    const int rings = RingsReach(decorations, scale);
    int reach = rings;
    if (decorations.glowSize > 0)
        reach = std::max(reach,
                         rings + int(std::ceil(GlowGrowth(decorations.glowSize, scale)))
                             + MaskBlur::Reach(GlowSigma(decorations.glowSize, scale)));
    if (decorations.shadowBlur > 0)
        reach =
            std::max(reach, rings + MaskBlur::Reach(ShadowSigma(decorations.shadowBlur, scale)));
    return reach + (reach > 0 ? 2 : 0);
}

void DecorationPainter::SpaceLetters(QFont& font, int spacing)
{
    if (spacing == 0)
        return;
    const double em = font.pixelSize() > 0 ? font.pixelSize()
                                           : FontInfo::PointsToPixels(qRound(font.pointSizeF()));
    font.setLetterSpacing(QFont::AbsoluteSpacing, em * spacing / 100.0);
}

QImage DecorationPainter::Coverage(const QPainterPath& outline, const QRect& region)
{
    return Coverage(outline, QTransform(), region);
}

QImage DecorationPainter::Coverage(const QPainterPath& outline, const QTransform& transform,
                                   const QRect& region)
{
    if (region.isEmpty())
        return {};
    QImage mask(region.size(), QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(transform * QTransform::fromTranslate(-region.left(), -region.top()));
    painter.fillPath(outline, Qt::black);
    return mask;
}

QImage DecorationPainter::BlurredCoverage(const QPainterPath& outline, const QRect& region,
                                          double sigma, int opacity)
{
    const int factor = MaskBlur::CoarseFactor(sigma);
    if (factor == 1) {
        QImage mask = Coverage(outline, region);
        MaskBlur::Blur(mask, sigma);
        ScaleBytes(mask, opacity);
        return mask;
    }
    // drawn straight onto the blur's grid: the pixels would only be averaged into it
    const QTransform toGrid = QTransform::fromTranslate(-region.left(), -region.top())
        * MaskBlur::ToCoarse(region.size(), factor);
    const QImage coarse =
        Coverage(outline, toGrid, QRect(QPoint(), MaskBlur::CoarseSize(region.size(), factor)));
    QImage blurred = coarse;
    MaskBlur::Blur(blurred, MaskBlur::CoarseSigma(sigma, factor));
    ScaleBytes(blurred, opacity);
    QImage mask(region.size(), QImage::Format_Alpha8);
    MaskBlur::Refine(blurred, mask, factor);
    return mask;
}

void DecorationPainter::Blend(QImage& target, const QRect& area, const QImage& mask,
                              QPoint maskTopLeft, std::uint32_t word) const
{
    if (mask.isNull())
        return;
    if (FPainter.OverTransparency())
        LayerCompositor::BlendShapeOverTransparency(target, area, mask, maskTopLeft, word,
                                                    ColorToPixel(FLook.color));
    else
        LayerCompositor::BlendShape(target, area, mask, maskTopLeft, word);
}

const QPainterPath& DecorationPainter::Silhouette() const
{
    for (auto it = FOutlines.rbegin(); it != FOutlines.rend(); ++it)
        if (!it->isEmpty())
            return *it;
    return FLetters;
}

void DecorationPainter::PaintGlow(QImage& target, const QRect& area) const
{
    const LogoDecorations& d = FLook.decorations;
    if (d.glowSize <= 0 || d.glowOpacity <= 0 || FGlowOutline.isEmpty())
        return;
    const double sigma = GlowSigma(d.glowSize, FScale);
    const int reach = MaskBlur::Reach(sigma);
    const QRect region = FGlowOutline.boundingRect()
                             .toAlignedRect()
                             .adjusted(-reach - 1, -reach - 1, reach + 1, reach + 1)
                             .intersected(area.adjusted(-reach, -reach, reach, reach));
    QPoint topLeft;
    const QImage& mask =
        Kept(kGlowSlot, KeyOf(FGeneration, sigma, d.glowOpacity, region), topLeft, [&](QPoint& at) {
            QImage glow = BlurredCoverage(FGlowOutline, region, sigma, d.glowOpacity);
            at = region.topLeft();
            return glow;
        });
    if (!mask.isNull())
        Blend(target, area, mask, topLeft, FPainter.InkWord(d.glowColor));
}

bool DecorationPainter::ShapesShadow() const
{
    const LogoDecorations& d = FLook.decorations;
    if (FLook.depth <= 0)
        return false;
    return RingsReach(d, 1) > 0 || d.shadowBlur > 0 || d.shadowOpacity < 100;
}

void DecorationPainter::PaintShadow(QImage& target, const QRect& area,
                                    const LogoPart& shadowPart) const
{
    const LogoDecorations& d = FLook.decorations;
    if (!ShapesShadow() || d.shadowOpacity <= 0)
        return;
    const double sigma = ShadowSigma(d.shadowBlur, FScale);
    const int reach = MaskBlur::Reach(sigma);
    const QRect spread = area.adjusted(-reach, -reach, reach, reach);
    // the layers' colours and what they are worked out over decide the picture too
    const std::vector<std::uint32_t> words = FPainter.ShadowWords(shadowPart);
    const std::uint32_t ground = FPainter.PaintsCoverage() ? 0u : ColorToPixel(FLook.color);
    QByteArray key = KeyOf(FGeneration, sigma, d.shadowOpacity, spread, shadowPart.kind,
                           shadowPart.offset, shadowPart.step, ground);
    key.append(reinterpret_cast<const char*>(words.data()),
               qsizetype(words.size() * sizeof(std::uint32_t)));
    QPoint topLeft;
    const int slot = FPainter.PaintsCoverage() ? kShadowCoverageSlot : kShadowSlot;
    const int factor = MaskBlur::CoarseFactor(sigma);
    // A shadow painted once stays on the blur's grid and is read back a band at a time as it is
    // laid over, never as a whole-size picture; one kept for the next paints is read back whole.
    const bool readInBands = factor > 1 && !FCache;
    const QImage& shadow = Kept(slot, key, topLeft, [&](QPoint& at) {
        QImage layer(factor == 1 ? spread.size() : MaskBlur::CoarseSize(spread.size(), factor),
                     QImage::Format_ARGB32_Premultiplied);
        layer.fill(0);
        PaintShadowLayers(layer, spread, factor, shadowPart);
        if (factor > 1) {
            MaskBlur::BlurPremultiplied(layer, MaskBlur::CoarseSigma(sigma, factor));
            ScaleBytes(layer, d.shadowOpacity);
            at = spread.topLeft();
            if (readInBands)
                return layer;
            QImage blurred(spread.size(), QImage::Format_ARGB32_Premultiplied);
            MaskBlur::Refine(layer, blurred, factor);
            return blurred;
        }
        // only what the shadow covers, and as far as the blur spreads it, is worth blurring
        const QRect part =
            Painted(layer).adjusted(-reach, -reach, reach, reach).intersected(layer.rect());
        if (part.isEmpty())
            return QImage();
        QImage blurred = layer.copy(part);
        MaskBlur::BlurPremultiplied(blurred, sigma);
        ScaleBytes(blurred, d.shadowOpacity);
        at = spread.topLeft() + part.topLeft();
        return blurred;
    });
    if (shadow.isNull())
        return;
    if (!readInBands) {
        LayOver(target, area, shadow, topLeft);
        return;
    }
    const QRect laid = area.intersected(spread);
    QImage band(spread.width(), std::min(kBandRows, spread.height()),
                QImage::Format_ARGB32_Premultiplied);
    for (int y = laid.top(); y <= laid.bottom(); y += band.height()) {
        const int rows = std::min(band.height(), laid.bottom() + 1 - y);
        // the band's own rows, not a copy
        QImage part(band.bits(), band.width(), rows, band.bytesPerLine(), band.format());
        MaskBlur::Refine(shadow, spread.size(), factor, y - spread.top(), part);
        LayOver(target, QRect(laid.left(), y, laid.width(), rows), part, QPoint(spread.left(), y));
    }
}

void DecorationPainter::PaintShadowLayers(QImage& layer, const QRect& spread, int factor,
                                          const LogoPart& shadow) const
{
    QTransform toLayer = QTransform::fromTranslate(-spread.left(), -spread.top());
    if (factor > 1)
        toLayer *= MaskBlur::ToCoarse(spread.size(), factor);
    const std::vector<std::uint32_t> words = FPainter.ShadowWords(shadow);
    // Coverage alone is painted in white, which no ground of black takes for background.
    const std::uint32_t ground = FPainter.PaintsCoverage() ? 0u : ColorToPixel(FLook.color);
    if (shadow.kind != LogoPart::Stack) {
        // the offset is drawn, as it may fall between the grid's points
        const QPainterPath cast = Silhouette().translated(shadow.offset);
        const QRect source = layer.rect().intersected(
            toLayer.mapRect(cast.boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1));
        const QImage mask = Coverage(cast, toLayer, source);
        LayerCompositor::BlendShapeOverTransparency(layer, layer.rect(), mask, source.topLeft(),
                                                    words[0], ground);
        return;
    }
    // On a grid coarser than the pixels a layer stands for `factor` of them and the first lies
    // under the letters, so that the stack reaches as deep and starts where the pixels' does.
    const int depth = int(words.size());
    std::vector<std::uint32_t> colours = words;
    QPoint first = shadow.step;
    if (factor > 1) {
        colours.resize(std::size_t((depth + factor / 2) / factor + 1));
        for (std::size_t k = 0; k < colours.size(); ++k)
            colours[k] = words[std::size_t(std::clamp(int(k) * factor, 1, depth) - 1)];
        first = {};
    }
    const int layers = int(colours.size());
    const QRect needed = LayerCompositor::SourceRegion(layer.rect(), shadow.step, layers)
                             .translated(first - shadow.step);
    const QRect source = needed.intersected(
        toLayer.mapRect(Silhouette().boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1));
    const QImage mask = Coverage(Silhouette(), toLayer, source);
    if (mask.isNull())
        return;
    const QPoint origin = source.topLeft() + first - shadow.step;
    if (layers == 1)
        LayerCompositor::BlendShapeOverTransparency(layer, layer.rect(), mask, origin + shadow.step,
                                                    colours[0], ground);
    else
        LayerCompositor::CompositePremultiplied(layer, layer.rect(), mask, origin, shadow.step,
                                                colours, ground);
}

void DecorationPainter::PaintRing(QImage& target, const QRect& area, const LogoPart& ring) const
{
    if (std::size_t(ring.ring) >= FOutlines.size())
        return;
    const QPainterPath& outline = FOutlines[std::size_t(ring.ring)];
    if (outline.isEmpty())
        return;
    const QRect region =
        outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1).intersected(area);
    QPoint topLeft;
    const QImage& mask =
        Kept(ring.ring, KeyOf(FGeneration, ring.hollow, region), topLeft, [&](QPoint& at) {
            QImage coverage = Coverage(outline, region);
            // Outlined letters stay hollow: the ring lies around them only.
            if (ring.hollow && !coverage.isNull()) {
                const QImage letters = Coverage(FLetters, region);
                for (int y = 0; y < coverage.height(); ++y) {
                    std::uint8_t* line = coverage.scanLine(y);
                    const std::uint8_t* inside = letters.constScanLine(y);
                    for (int x = 0; x < coverage.width(); ++x)
                        line[x] = std::uint8_t(std::max(0, line[x] - inside[x]));
                }
            }
            at = region.topLeft();
            return coverage;
        });
    Blend(target, area, mask, topLeft, FPainter.InkWord(ring.colour));
}

void DecorationPainter::BlendGradient(QImage& target, const QRect& area, const QImage& mask,
                                      QPoint maskTopLeft) const
{
    const QRect region = QRect(maskTopLeft, mask.size()).intersected(area);
    if (region.isEmpty())
        return;
    QImage face(region.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&face);
    if (FPainter.PaintsCoverage()) {
        face.fill(Qt::white);
    } else {
        QBrush brush(FaceGradient(FLook, FPlacement, [&](TColor c) {
            return QColor::fromRgba(qUnpremultiply(FPainter.InkWord(c)));
        }));
        brush.setTransform(QTransform::fromTranslate(-region.left(), -region.top()));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(face.rect(), brush);
    }
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(maskTopLeft - region.topLeft(), mask);
    painter.end();
    LayOver(target, region, face, region.topLeft());
}
