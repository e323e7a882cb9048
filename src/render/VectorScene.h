// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/DocumentRenderer.h"
#include "render/LogoGeometry.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

// A logo as the vector writers draw it: the backdrop and the logo's regions, in preview pixels
// (the label's top-left corner at 0, 0), back to front, for one region of the preview. It shows
// what DocumentRenderer draws for the same scene and options.
struct VectorScene
{
    // The part of the preview shown (the view box) and the picture's size in device pixels.
    QRect region;
    QSize outputSize;
    // The logo's text, for the title of a document.
    QString title;

    // The panel with its bevel, region-sized and placed at the region's corner, when the region
    // reaches into the bevel; else null.
    QImage panel;
    // A rectangle of one colour beneath everything else, unless transparent.
    std::optional<QColor> backdrop;
    QRect backdropRect;
    // The part of the background picture that can show, drawn into `pictureRect` (inside
    // `labelRect` and the region); `pictureFormat` "jpeg" for a photograph read from JPEG, which
    // the files keep compressed so, else empty.
    QImage picture;
    QRect pictureRect;
    QByteArray pictureFormat;

    // Where the label lies; its regions show inside it only.
    QRect labelRect;
    std::vector<LogoRegion> regions;
    // Tiled from the label's top-left corner into regions of kind Texture.
    QImage texture;

    bool IsNull() const { return region.isEmpty(); }
    // Whether the logo must be clipped to the label to stay off the bevel.
    bool ClipsToLabel() const { return !labelRect.contains(region); }

    // Null when the region or scale is invalid.
    static VectorScene Of(const PreviewScene& scene, const RenderOptions& options = {});
    static VectorScene Of(const LogoDocument& document, const RenderPictures& pictures,
                          const RenderOptions& options = {});
};
