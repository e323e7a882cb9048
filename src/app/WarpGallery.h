// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/GalleryPopup.h"
#include "document/LogoDocument.h"
#include "platform/Colors.h"
#include "render/DocumentRenderer.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class TTrackBar;

// The warp gallery: a popup with the current logo drawn by the renderer once per warp and a
// track bar for the amount. The pointer over a thumbnail shows that warp on the logo at once; a
// click applies it (the gallery stays open, so the amount can follow); the track bar bends the
// applied warp as it moves. The arrow keys walk the thumbnails as the pointer does, Space applies
// and Enter applies and closes. Escape puts back what the logo had when the gallery opened and
// closes it; a click elsewhere closes it with the choice kept.
class TWarpGallery : public TGalleryPopup
{
    Q_OBJECT

public:
    static constexpr int kWarps = LogoDocument::kMaxWarp + 1;
    static constexpr int kColumns = 5;
    static constexpr QSize kThumbSize {144, 87};
    static constexpr int kMargin = 8;
    static constexpr int kCaptionHeight = 18;
    static constexpr int kBarRow = 28;
    // The amount the thumbnails show while the logo has none.
    static constexpr int kStartAmount = 50;

    explicit TWarpGallery(QWidget* parent);

    // The gallery's name for each warp, in file order.
    static QString Caption(TLogoWarp warp);
    // Where warp `index` lies in the gallery, thumbnail and caption; and the warp under a point.
    static QRect CellRect(int index);
    static std::optional<TLogoWarp> WarpAt(QPoint pos);
    static QSize SizeHintFor();

    // Draws the thumbnails of `scene` and shows the gallery beside `preview` (global), which
    // stays in sight.
    void Open(const PreviewScene& scene, TLogoWarp warp, int amount, const QRect& preview);

    TLogoWarp Selected() const { return FSelected; }
    int Amount() const;
    TTrackBar* AmountBar() const { return FAmountBar; }
    const QImage& Thumbnail(TLogoWarp warp) const { return FThumbnails[std::size_t(warp)]; }

    // Paints the gallery at (0, 0) of `painter`, without the track bar.
    void PaintTo(QPainter& painter) const;

    // What the logo shows now, not yet a change of it: a thumbnail under the pointer, or the
    // choice again when the pointer leaves.
    std::function<void(TLogoWarp warp, int amount)> OnPreview;
    // A change of the logo: a click, the amount moved (`dragging`, so that steps merge), or the
    // start values put back by Escape.
    std::function<void(TLogoWarp warp, int amount, bool dragging)> OnApply;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RenderThumbnails();
    void SetHovered(std::optional<TLogoWarp> value);
    void AmountChanged();
    void Preview(TLogoWarp warp) const;
    void Apply(TLogoWarp warp, int amount, bool dragging);

    PreviewScene FScene;
    std::array<QImage, kWarps> FThumbnails;
    TLogoWarp FSelected = TLogoWarp::None;
    std::optional<TLogoWarp> FHovered;
    TLogoWarp FStartWarp = TLogoWarp::None;
    int FStartAmount = 0;
    // What the logo holds: the amount of the choice last applied (or found on opening).
    int FAppliedAmount = 0;
    TTrackBar* FAmountBar;
};
