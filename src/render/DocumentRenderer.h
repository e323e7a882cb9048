// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"
#include "platform/TPanelBevel.h"
#include "render/LogoLook.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

// The pictures a document names, loaded by the caller (null when there is none or it failed).
struct RenderPictures
{
    QImage background;
    QImage texture;
};

// What the preview panel shows: the label's look, and the background picture centred beneath it
// with the label keyed over it.
struct PreviewScene
{
    LogoLook look;
    QImage background;
    // The label shows the panel and the picture wherever it has its background colour.
    bool labelTransparent = false;
};

struct RenderOptions
{
    // In preview pixels, from the label's top-left corner; nothing means DefaultRegion().
    std::optional<QRect> region;
    // Device pixels per preview pixel, 1 to kMaxScale.
    int scale = 1;
    // Leaves out the background colour and picture; edges keep partial alpha.
    bool transparent = false;
};

// Draws a logo as the window's preview shows it, without any widget: the 592 × 360 preview
// (background colour, or the background picture centred on the panel's colour, the label over
// it) inside the panel's bevel. Any region, any scale from 1 to 8, opaque or transparent.
//
// The window's exports and its preview label go through the same conversion (LookOf, SceneOf),
// so a document gives the same picture in the window and on the command line. Render holds no
// shared state and needs no widget, so any number of threads may render at once (install the face
// substitutions, FontInfo::InstallSubstitutions, once before starting them).
class DocumentRenderer
{
public:
    static constexpr QSize kPreviewSize {592, 360};
    // The preview panel as the window lays it out: its colour, and a raised outer and a lowered
    // inner bevel around the preview, which a region may reach into.
    static constexpr TColor kPanelColor = clBlack;
    static constexpr TPanelBevel kBevelOuter = bvRaised;
    static constexpr TPanelBevel kBevelInner = bvLowered;
    static constexpr int kBevelWidth = 2;
    static constexpr int kBevel = 2 * kBevelWidth;
    // Where the selection frame starts, in the panel.
    static constexpr QRect kSelectionInPanel {6, 6, 588, 356};
    static constexpr int kMaxScale = 8;

    // The selection frame's region as the window lays it out: what BMP保存 writes by default.
    static QRect DefaultRegion();
    // The farthest a region may reach: the preview with its panel bevel.
    static QRect PanelRect();
    // Whether `region` is non-empty and lies inside PanelRect().
    static bool IsValidRegion(const QRect& region);
    // The picture's size in device pixels.
    static QSize OutputSize(const RenderOptions& options);

    // The part of a texture picture of `size` that a render can show: the tiles start at the
    // label's corner, so no more than the label and the two pixels beyond that smooth scaling
    // reads. Loading only that part draws the same pixels.
    static QRect TexturePart(QSize size);
    // The part of a background picture of `size` that a render can show, with two pixels around
    // it, cut so that the part centred on the preview lies where the whole picture did.
    static QRect BackgroundPart(QSize size);

    // The label's look for a document: the one conversion from document values to what the
    // preview label paints and every export draws.
    static LogoLook LookOf(const LogoDocument& document, const QImage& texture);
    // The whole preview for a document and its pictures: the look, and the background picture
    // with the label keyed over it while there is one.
    static PreviewScene SceneOf(const LogoDocument& document, const RenderPictures& pictures);
    // The label's orientation for a position of the direction track bar; the position runs
    // clockwise on screen from the lower right.
    static TdxfOrientation OrientationAt(int directionPosition);

    // Format_RGB32 when opaque, Format_ARGB32_Premultiplied when transparent. An invalid
    // region or scale gives a null image.
    static QImage Render(const LogoDocument& document, const RenderPictures& pictures,
                         const RenderOptions& options = {});
    // Each render draws its text on a thread of its own, so the same document gives the same
    // bytes whatever this or any thread drew before.
    static QImage Render(const PreviewScene& scene, const RenderOptions& options = {});

private:
    static QImage RenderHere(const PreviewScene& scene, const RenderOptions& options);
};
