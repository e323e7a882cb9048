// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/DocumentRenderer.h"

#include "platform/FontInfo.h"
#include "platform/PanelDrawing.h"
#include "platform/TFont.h"
#include "render/LogoPainter.h"

#include <QPainter>

#include <array>
#include <exception>
#include <thread>

namespace {

// Pixels beyond the shown part of a picture that smooth scaling reads.
constexpr int kSmoothingReach = 2;

// Direction track bar position -> shadow orientation, clockwise on screen from lower right.
constexpr std::array<TdxfOrientation, 8> kDirections = {
    dxfRightBottom, dxfBottom, dxfLeftBottom, dxfLeft, dxfLeftTop, dxfTop, dxfRightTop, dxfRight,
};

TFontStyles StyleBits(TLogoFontStyle style)
{
    switch (style) {
    case TLogoFontStyle::None:
        return 0;
    case TLogoFontStyle::Bold:
        return fsBold;
    case TLogoFontStyle::Italic:
        return fsItalic;
    case TLogoFontStyle::Underline:
        return fsUnderline;
    case TLogoFontStyle::StrikeOut:
        return fsStrikeOut;
    }
    return 0;
}

TdxfLabelStyle LabelStyleOf(TLogoLabelStyle style)
{
    switch (style) {
    case TLogoLabelStyle::Normal:
        return dxfNormal;
    case TLogoLabelStyle::Outline:
        return dxfOutLine;
    case TLogoLabelStyle::Solid:
        return dxfRaised;
    }
    return dxfNormal;
}

TdxfEffectStyle EffectStyleOf(TLogoShadowStyle style)
{
    switch (style) {
    case TLogoShadowStyle::Normal:
        return dxfCool;
    case TLogoShadowStyle::Deep:
        return dxfExtrude;
    case TLogoShadowStyle::Gradation:
        return dxfFun;
    }
    return dxfFun;
}

// The panel and, beneath a transparent label, the background picture centred on it.
void PaintPanel(QImage& target, QPoint origin, int scale, const PreviewScene& scene)
{
    QPainter painter(&target);
    painter.translate(origin);
    painter.scale(scale, scale);
    PanelDrawing::PaintPanel(painter, DocumentRenderer::PanelRect(), DocumentRenderer::kPanelColor,
                             DocumentRenderer::kBevelOuter, DocumentRenderer::kBevelInner,
                             DocumentRenderer::kBevelWidth);
    if (!scene.labelTransparent || scene.background.isNull())
        return;
    painter.setClipRect(QRect(QPoint(), DocumentRenderer::kPreviewSize));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale > 1);
    painter.drawImage(
        PanelDrawing::CenteredRect(DocumentRenderer::kPreviewSize, scene.background.size()),
        scene.background);
}

// Runs `paint` on a thread of its own and waits for it. Qt keeps font engines and their glyph
// caches per thread, and a glyph that a thread cached for an earlier picture can come out a
// level different from one drawn first; on a new thread every picture is drawn as the first one
// of a new process draws it, whatever was drawn before.
template<class Paint> void WithFreshGlyphCaches(Paint paint)
{
    std::exception_ptr failure;
    std::thread([&] {
        try {
            paint();
        } catch (...) {
            failure = std::current_exception();
        }
    }).join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

QRect DocumentRenderer::DefaultRegion()
{
    return kSelectionInPanel.translated(-kBevel, -kBevel);
}

QRect DocumentRenderer::PanelRect()
{
    return QRect(QPoint(), kPreviewSize).adjusted(-kBevel, -kBevel, kBevel, kBevel);
}

bool DocumentRenderer::IsValidRegion(const QRect& region)
{
    return !region.isEmpty() && PanelRect().contains(region);
}

QSize DocumentRenderer::OutputSize(const RenderOptions& options)
{
    return options.region.value_or(DefaultRegion()).size() * options.scale;
}

QRect DocumentRenderer::TexturePart(QSize size)
{
    return QRect(QPoint(), kPreviewSize + QSize(kSmoothingReach, kSmoothingReach))
        .intersected(QRect(QPoint(), size));
}

QRect DocumentRenderer::BackgroundPart(QSize size)
{
    // Centring rounds the offset of the picture toward zero: a part whose size differs from
    // the preview's by the same parity and whose offset is the whole's less the margin keeps
    // every pixel in place.
    auto axis = [](int area, int picture, int& start, int& length) {
        const int spare = picture - area;
        start = 0;
        length = picture;
        if (spare < 2 * kSmoothingReach)
            return;
        start = spare / 2 - kSmoothingReach;
        length = area + 2 * kSmoothingReach + spare % 2;
    };
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    axis(kPreviewSize.width(), size.width(), x, width);
    axis(kPreviewSize.height(), size.height(), y, height);
    return {x, y, width, height};
}

TdxfOrientation DocumentRenderer::OrientationAt(int directionPosition)
{
    if (directionPosition < 0 || directionPosition >= int(kDirections.size()))
        return dxfRightBottom;
    return kDirections[std::size_t(directionPosition)];
}

LogoLook DocumentRenderer::LookOf(const LogoDocument& document, const QImage& texture)
{
    // The face the window's list selects for the name; a face not installed (or no name) is
    // the default document's, so that no platform's own default font decides.
    const QStringList faces = FontInfo::PublicFamilies();
    int face = FontInfo::FindFace(faces, document.FontName);
    if (face < 0)
        face = FontInfo::FindFace(faces, LogoDocument().FontName);
    TFont font;
    font.SetName(face >= 0 ? faces[face] : QString());
    font.SetSize(document.Size);
    font.SetStyle(StyleBits(document.FontStyle));

    LogoLook look;
    look.caption = LogoDocument::FittedText(document.Text);
    look.font = font.ToQFont();
    look.textColor = document.TextColor;
    look.color = document.BackgroundColor;
    // The label's parent is the preview panel.
    look.engravedBase = kPanelColor;
    look.style = LabelStyleOf(document.LabelStyle);
    // The window refuses to turn a face that is no outline font.
    look.angle = FontInfo::IsTrueType(look.font) ? document.Angle : 0;
    look.effectStyle = EffectStyleOf(document.ShadowStyle);
    look.orientation = OrientationAt(document.Direction);
    look.depth = document.Depth;
    look.shadowColor = document.ShadowColor;
    look.texture = texture;
    // The outline pen of the window's layout.
    look.penWidth = 0;
    look.warp = document.Warp;
    look.warpAmount = document.WarpAmount;
    LogoDecorations& decorations = look.decorations;
    decorations.edges = {{{document.Edge1Width, document.Edge1Color},
                          {document.Edge2Width, document.Edge2Color},
                          {document.Edge3Width, document.Edge3Color}}};
    decorations.gradient = document.Fill == TLogoFill::Gradient;
    decorations.fillColor2 = document.FillColor2;
    decorations.fillColor3 = document.FillColor3;
    decorations.fillAngle = document.FillAngle;
    decorations.shadowBlur = document.ShadowBlur;
    decorations.shadowOpacity = document.ShadowOpacity;
    decorations.glowSize = document.GlowSize;
    decorations.glowColor = document.GlowColor;
    decorations.glowOpacity = document.GlowOpacity;
    decorations.spacing = document.Spacing;
    look.tagline = {LogoDocument::FittedText(document.Tagline), document.TaglineSize,
                    document.TaglinePlace, document.TaglineAlign, document.TaglineGap};
    look.vertical = document.Vertical;
    return look;
}

PreviewScene DocumentRenderer::SceneOf(const LogoDocument& document, const RenderPictures& pictures)
{
    PreviewScene scene;
    scene.look = LookOf(document, pictures.texture);
    scene.background = pictures.background;
    scene.labelTransparent = !pictures.background.isNull();
    return scene;
}

QImage DocumentRenderer::Render(const LogoDocument& document, const RenderPictures& pictures,
                                const RenderOptions& options)
{
    return Render(SceneOf(document, pictures), options);
}

QImage DocumentRenderer::Render(const PreviewScene& scene, const RenderOptions& options)
{
    QImage picture;
    WithFreshGlyphCaches([&] { picture = RenderHere(scene, options); });
    return picture;
}

QImage DocumentRenderer::RenderHere(const PreviewScene& scene, const RenderOptions& options)
{
    const QRect region = options.region.value_or(DefaultRegion());
    const int scale = options.scale;
    if (!IsValidRegion(region) || scale < 1 || scale > kMaxScale)
        return {};
    const QSize size = region.size() * scale;
    // Where the label's top-left corner lands in the picture, in device pixels.
    const QPoint origin = -region.topLeft() * scale;
    const QRect label = QRect(origin, kPreviewSize * scale).intersected(QRect(QPoint(), size));
    const LogoPainter logo(scene.look, kPreviewSize, scale);

    if (options.transparent) {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        // The label clears what it covers; only a region reaching into the bevel needs more.
        if (label != QRect(QPoint(), size))
            picture.fill(Qt::transparent);
        logo.PaintTransparent(picture, origin, label);
        return picture;
    }

    QImage picture(size, QImage::Format_RGB32);
    const bool reachesBevel = !QRect(QPoint(), kPreviewSize).contains(region);
    if (reachesBevel || scene.labelTransparent)
        PaintPanel(picture, origin, scale, scene);
    if (!scene.labelTransparent) {
        logo.PaintOpaque(picture, origin, label);
        return picture;
    }
    QImage keyed(size, QImage::Format_ARGB32_Premultiplied);
    QImage opaque(size, QImage::Format_RGB32);
    logo.PaintKeyed(keyed, origin, label, &opaque);
    QPainter(&picture).drawImage(label.topLeft(), keyed, label);
    return picture;
}
