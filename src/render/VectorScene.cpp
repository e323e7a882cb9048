// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "render/VectorScene.h"

#include "platform/PanelDrawing.h"
#include "platform/TPictureFile.h"

#include <QPainter>

VectorScene VectorScene::Of(const PreviewScene& scene, const RenderOptions& options)
{
    VectorScene vector;
    const QRect region = options.region.value_or(DocumentRenderer::DefaultRegion());
    if (!DocumentRenderer::IsValidRegion(region) || options.scale < 1
        || options.scale > DocumentRenderer::kMaxScale)
        return vector;
    vector.region = region;
    vector.outputSize = region.size() * options.scale;
    vector.title = scene.look.caption;
    vector.labelRect = QRect(QPoint(), DocumentRenderer::kPreviewSize);

    LogoGeometry geometry(scene.look, DocumentRenderer::kPreviewSize);
    geometry.SetView(region);
    geometry.SetTolerance(LogoGeometry::kTolerance / options.scale);
    geometry.SetPixelScale(options.scale);
    geometry.SetFadesOut(options.transparent);
    vector.regions = geometry.Regions();
    vector.texture = geometry.Texture();
    // Over a picture or over nothing the label's own colour is see-through.
    const bool keyed = options.transparent || scene.labelTransparent;
    if (keyed)
        LogoGeometry::KeyOut(vector.regions, ToQColor(scene.look.color), geometry.Tolerance());
    if (options.transparent)
        return vector;

    if (!vector.labelRect.contains(region)) {
        vector.panel = QImage(region.size(), QImage::Format_RGB32);
        QPainter painter(&vector.panel);
        painter.translate(-region.topLeft());
        PanelDrawing::PaintPanel(painter, DocumentRenderer::PanelRect(),
                                 DocumentRenderer::kPanelColor, DocumentRenderer::kBevelOuter,
                                 DocumentRenderer::kBevelInner, DocumentRenderer::kBevelWidth);
    }
    vector.backdropRect = vector.labelRect;
    if (!scene.labelTransparent) {
        vector.backdrop = ToQColor(scene.look.color);
        return vector;
    }
    vector.backdrop = ToQColor(DocumentRenderer::kPanelColor);
    if (!scene.background.isNull()) {
        // Only what the view shows of the picture is kept: a large one would mostly be hidden.
        const QRect whole =
            PanelDrawing::CenteredRect(DocumentRenderer::kPreviewSize, scene.background.size());
        vector.pictureRect = whole.intersected(vector.labelRect).intersected(region);
        if (!vector.pictureRect.isEmpty())
            vector.picture = scene.background.copy(vector.pictureRect.translated(-whole.topLeft()));
        if (TPictureFile::FormatOf(scene.background) == "jpeg")
            vector.pictureFormat = "jpeg";
    }
    return vector;
}

VectorScene VectorScene::Of(const LogoDocument& document, const RenderPictures& pictures,
                            const RenderOptions& options)
{
    PreviewScene scene;
    scene.look = DocumentRenderer::LookOf(document, pictures.texture);
    scene.background = pictures.background;
    scene.labelTransparent = !pictures.background.isNull();
    return Of(scene, options);
}
