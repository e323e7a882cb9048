// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/GalleryPopup.h"
#include "document/LogoDocument.h"
#include "document/LookPreset.h"
#include "platform/Colors.h"
#include "render/DocumentRenderer.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QScrollBar;
class QTimer;

// The looks gallery: a popup with the current logo drawn in every look, its name under each,
// user looks first, scrolled when they do not all fit. The pointer over a look shows it on the
// logo at once; a click applies it and the gallery stays open. The arrow keys walk the looks as
// the pointer does, Space applies and Enter applies and closes. Escape puts back what the logo
// had when the gallery opened and closes it; a click elsewhere closes it with the choice kept.
// The thumbnails are drawn after the gallery shows, one at a time on the window's thread
// between events and on the thumbnail threads, so the gallery never holds up the window.
class TLookGallery : public TGalleryPopup
{
    Q_OBJECT

public:
    static constexpr int kColumns = 5;
    static constexpr int kVisibleRows = 2;
    static constexpr QSize kThumbSize {144, 87};
    static constexpr int kMargin = 8;
    static constexpr int kCaptionHeight = 18;
    static constexpr int kScrollBarWidth = 14;
    static constexpr int kButtonRow = 28;

    explicit TLookGallery(QWidget* parent);
    ~TLookGallery() override;

    // Where look `index` lies in the scrolled contents, thumbnail and caption; how tall the
    // contents of `count` looks are; the part of the gallery that shows them; the gallery's size.
    static QRect CellRect(int index);
    static int ContentHeight(int count);
    static QRect Viewport();
    static QSize SizeFor();
    // Where 現在の見た目を登録… lies in the gallery's bottom row.
    static QRect SaveButtonRect();
    // The look under a point of the gallery at the present scroll, or -1.
    int LookAt(QPoint pos) const;

    // Shows the gallery beside `preview` (global), which stays in sight, with `document` in
    // each of `looks`, and starts drawing their thumbnails of it as the preview shows it
    // (`shown`, whose text and face may stand in for the document's).
    void Open(const QList<LookPreset>& looks, const LogoDocument& document,
              const LogoDocument& shown, const RenderPictures& pictures, const QRect& preview);
    // The same logo in another set of looks (one saved, renamed or deleted), while open.
    void SetLooks(const QList<LookPreset>& looks);

    const QList<LookPreset>& Looks() const { return FLooks; }
    // The look the logo holds (-1 for none of them) and the one under the pointer or keys.
    int Selected() const { return FSelected; }
    std::optional<int> Hovered() const { return FHovered; }
    // Null until drawn.
    const QImage& Thumbnail(int index) const { return FThumbnails[index]; }
    bool AllDrawn() const;
    int ScrollTop() const;
    QMenu* ContextMenu() const { return FContextMenu; }

    // Paints the gallery at (0, 0) of `painter`, without the scroll bar.
    void PaintTo(QPainter& painter) const;

    // What the logo shows now, not yet a change of it: the logo in the look under the pointer,
    // or nothing when the logo shows what it holds again.
    std::function<void(const std::optional<LogoDocument>& shown)> OnPreview;
    // A change of the logo: a look picked, or the opening's logo put back by Escape.
    std::function<void(const LogoDocument& document)> OnApply;
    // 現在の見た目を登録…, and the context menu's commands on a user look.
    std::function<void()> OnSaveCurrent;
    std::function<void(const LookPreset& look)> OnRename;
    std::function<void(const LookPreset& look)> OnDelete;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TBatch;

    void StartThumbnails();
    void StopThumbnails();
    void DrawNextHere();
    void Drawn(int generation, int index, const QImage& picture);
    void SetHovered(std::optional<int> value);
    void ScrollTo(int index);
    void Apply(int index);
    LogoDocument InLook(int index) const;

    QList<LookPreset> FLooks;
    QList<QImage> FThumbnails;
    LogoDocument FStart;
    LogoDocument FApplied;
    LogoDocument FShown;
    RenderPictures FPictures;
    int FSelected = -1;
    std::optional<int> FHovered;
    bool FSaveHovered = false;
    std::shared_ptr<TBatch> FBatch;
    int FGeneration = 0;
    QTimer* FHereTimer;
    QScrollBar* FScrollBar;
    QMenu* FContextMenu;
    // The user look the context menu was opened on.
    int FMenuLook = -1;
};
