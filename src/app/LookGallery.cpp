// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LookGallery.h"

#include "app/LogoThumbnail.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kCell {TLookGallery::kThumbSize.width(),
                       TLookGallery::kThumbSize.height() + TLookGallery::kCaptionHeight};
constexpr int kRowPitch = kCell.height() + TLookGallery::kMargin;

int Rows(int count)
{
    return (count + TLookGallery::kColumns - 1) / TLookGallery::kColumns;
}

} // namespace

// One opening's thumbnails: the logo in each look, taken one at a time by whichever thread is
// free. Once stopped, no thread reaches the gallery again.
struct TLookGallery::TBatch
{
    QList<LogoDocument> documents;
    RenderPictures pictures;
    std::atomic<int> next = 0;
    std::mutex lock;
    std::atomic<bool> stopped = false;
};

TLookGallery::TLookGallery(QWidget* parent)
    : TGalleryPopup(parent)
    , FHereTimer(new QTimer(this))
    , FScrollBar(new QScrollBar(Qt::Vertical, this))
    , FContextMenu(new QMenu(this))
{
    setObjectName(u"LookGallery"_s);
    setFixedSize(SizeFor());
    const QRect view = Viewport();
    FScrollBar->setGeometry(view.right() + 1, view.top() + kMargin, kScrollBarWidth,
                            view.height() - 2 * kMargin);
    FScrollBar->setSingleStep(kRowPitch / 4);
    FScrollBar->setPageStep(view.height() - kMargin);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    connect(FScrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    FHereTimer->setInterval(0);
    connect(FHereTimer, &QTimer::timeout, this, &TLookGallery::DrawNextHere);

    FContextMenu->setObjectName(u"LookMenu"_s);
    QAction* rename = FContextMenu->addAction(u"名前ヲ変更…"_s);
    rename->setObjectName(u"RenameLookAction"_s);
    connect(rename, &QAction::triggered, this, [this] {
        if (FMenuLook >= 0 && FMenuLook < FLooks.size() && OnRename)
            OnRename(FLooks[FMenuLook]);
    });
    QAction* remove = FContextMenu->addAction(u"削除…"_s);
    remove->setObjectName(u"DeleteLookAction"_s);
    connect(remove, &QAction::triggered, this, [this] {
        if (FMenuLook >= 0 && FMenuLook < FLooks.size() && OnDelete)
            OnDelete(FLooks[FMenuLook]);
    });
}

TLookGallery::~TLookGallery()
{
    StopThumbnails();
}

QRect TLookGallery::CellRect(int index)
{
    const int column = index % kColumns;
    const int row = index / kColumns;
    return {QPoint(kMargin + column * (kCell.width() + kMargin), kMargin + row * kRowPitch), kCell};
}

int TLookGallery::ContentHeight(int count)
{
    return kMargin + Rows(count) * kRowPitch;
}

QRect TLookGallery::Viewport()
{
    return {0, 0, kMargin + kColumns * (kCell.width() + kMargin),
            kMargin + kVisibleRows * kRowPitch};
}

QSize TLookGallery::SizeFor()
{
    const QRect view = Viewport();
    return {view.width() + kScrollBarWidth + kMargin, view.height() + kButtonRow + kMargin};
}

QRect TLookGallery::SaveButtonRect()
{
    return {kMargin, Viewport().bottom() + 1, 2 * kCell.width(), kButtonRow};
}

int TLookGallery::LookAt(QPoint pos) const
{
    if (!Viewport().contains(pos))
        return -1;
    const QPoint content = pos + QPoint(0, ScrollTop());
    for (int i = 0; i < FLooks.size(); ++i) {
        if (CellRect(i).contains(content))
            return i;
    }
    return -1;
}

int TLookGallery::ScrollTop() const
{
    return FScrollBar->value();
}

bool TLookGallery::AllDrawn() const
{
    return std::none_of(FThumbnails.begin(), FThumbnails.end(),
                        [](const QImage& picture) { return picture.isNull(); });
}

void TLookGallery::Open(const QList<LookPreset>& looks, const LogoDocument& document,
                        const LogoDocument& shown, const RenderPictures& pictures,
                        const QRect& preview)
{
    FStart = FApplied = document;
    FShown = shown;
    FPictures = pictures;
    FHovered.reset();
    FScrollBar->setValue(0);
    SetLooks(looks);
    ScrollTo(FSelected);
    ShowBeside(preview);
}

void TLookGallery::SetLooks(const QList<LookPreset>& looks)
{
    FLooks = looks;
    FHovered.reset();
    FMenuLook = -1;
    // the look the logo is in, when it is in one as it was applied
    FSelected = -1;
    for (int i = 0; i < FLooks.size() && FSelected < 0; ++i) {
        if (InLook(i) == FApplied)
            FSelected = i;
    }
    FScrollBar->setRange(0, std::max(0, ContentHeight(int(FLooks.size())) - Viewport().height()));
    StartThumbnails();
    update();
}

LogoDocument TLookGallery::InLook(int index) const
{
    return FLooks[index].AppliedTo(FStart);
}

void TLookGallery::StartThumbnails()
{
    StopThumbnails();
    FThumbnails = QList<QImage>(FLooks.size());
    auto batch = std::make_shared<TBatch>();
    for (const LookPreset& look : FLooks)
        batch->documents.append(look.AppliedTo(FShown));
    batch->pictures = FPictures;
    FBatch = batch;
    const int generation = ++FGeneration;
    QThreadPool& pool = LogoThumbnail::Threads();
    for (int h = 0; h < pool.maxThreadCount(); ++h) {
        pool.start([this, batch, generation] {
            const int count = int(batch->documents.size());
            for (int i = batch->next++; i < count && !batch->stopped; i = batch->next++) {
                QImage picture;
                try {
                    picture = LogoThumbnail::Draw(
                        DocumentRenderer::SceneOf(batch->documents[i], batch->pictures),
                        kThumbSize);
                } catch (...) {
                    // a look that cannot be drawn stays an empty cell; the others go on
                }
                const std::scoped_lock hold(batch->lock);
                if (batch->stopped)
                    return;
                QMetaObject::invokeMethod(
                    this, [this, generation, i, picture] { Drawn(generation, i, picture); },
                    Qt::QueuedConnection);
            }
        });
    }
    FHereTimer->start();
}

void TLookGallery::StopThumbnails()
{
    FHereTimer->stop();
    if (!FBatch)
        return;
    const std::scoped_lock hold(FBatch->lock);
    FBatch->stopped = true;
    FBatch.reset();
}

void TLookGallery::DrawNextHere()
{
    // One thumbnail per turn of the event loop, so keys and paints go on between them.
    const int i = FBatch ? FBatch->next++ : int(FThumbnails.size());
    if (i >= FThumbnails.size()) {
        FHereTimer->stop();
        return;
    }
    QImage picture;
    try {
        picture = LogoThumbnail::Draw(
            DocumentRenderer::SceneOf(FBatch->documents[i], FBatch->pictures), kThumbSize);
    } catch (...) {
        // as on the other threads: an empty cell
    }
    Drawn(FGeneration, i, picture);
}

void TLookGallery::Drawn(int generation, int index, const QImage& picture)
{
    if (generation != FGeneration || index >= FThumbnails.size())
        return;
    FThumbnails[index] = picture;
    if (picture.isNull()) {
        // a look that could not be drawn is an empty cell, not one waiting for ever
        FThumbnails[index] = QImage(kThumbSize, QImage::Format_RGB32);
        FThumbnails[index].fill(ToQColor(FColor));
    }
    update(CellRect(index).translated(0, -ScrollTop()).adjusted(-3, -3, 3, 3));
}

void TLookGallery::PaintTo(QPainter& painter) const
{
    PaintBackground(painter);
    const QRect view = Viewport();
    painter.save();
    painter.setClipRect(view.adjusted(1, 1, 0, 0));
    const QPoint offset(0, -ScrollTop());
    for (int i = 0; i < FLooks.size(); ++i) {
        const QRect cell = CellRect(i).translated(offset);
        if (cell.adjusted(-3, -3, 3, 3).intersects(view))
            PaintCell(painter, cell, kThumbSize.height(), FThumbnails[i], FLooks[i].Name(),
                      i == FSelected, FHovered == i);
    }
    painter.restore();

    const QRect button = SaveButtonRect().adjusted(0, 3, 0, -5);
    painter.setPen(ToQColor(FSaveHovered ? FHighlightColor : FTextColor));
    painter.drawRect(button.adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(FTextColor));
    painter.drawText(button, Qt::AlignCenter, u"現在の見た目を登録…"_s);
    // the looks keep their proportions on any size of letters
    const QRect note(button.right() + kMargin, button.top(), width() - button.right() - 2 * kMargin,
                     button.height());
    painter.drawText(note, Qt::AlignRight | Qt::AlignVCenter,
                     u"線ノ幅・影・光ハ文字ノ大キサニ合ワセマス"_s);
}

void TLookGallery::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TLookGallery::SetHovered(std::optional<int> value)
{
    if (FHovered == value)
        return;
    FHovered = value;
    if (OnPreview)
        OnPreview(value ? std::optional<LogoDocument>(InLook(*value)) : std::nullopt);
    update();
}

void TLookGallery::ScrollTo(int index)
{
    if (index < 0)
        return;
    const QRect cell = CellRect(index).adjusted(0, -kMargin, 0, kMargin);
    const int top = ScrollTop();
    if (cell.top() < top)
        FScrollBar->setValue(cell.top());
    else if (cell.bottom() + 1 > top + Viewport().height())
        FScrollBar->setValue(cell.bottom() + 1 - Viewport().height());
}

void TLookGallery::Apply(int index)
{
    FSelected = index;
    FApplied = InLook(index);
    if (OnApply)
        OnApply(FApplied);
    update();
}

void TLookGallery::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int look = LookAt(at);
    SetHovered(look >= 0 ? std::optional<int>(look) : std::nullopt);
    const bool onButton = SaveButtonRect().contains(at);
    if (onButton != FSaveHovered) {
        FSaveHovered = onButton;
        update(SaveButtonRect());
    }
}

void TLookGallery::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (SaveButtonRect().contains(at)) {
        if (OnSaveCurrent)
            OnSaveCurrent();
        return;
    }
    const int look = LookAt(at);
    if (look >= 0)
        Apply(look);
}

void TLookGallery::contextMenuEvent(QContextMenuEvent* event)
{
    // only the user's own looks are theirs to rename or delete
    const int look = LookAt(event->pos());
    if (look < 0 || FLooks[look].BuiltIn())
        return;
    FMenuLook = look;
    FContextMenu->popup(event->globalPos());
}

void TLookGallery::wheelEvent(QWheelEvent* event)
{
    FScrollBar->setValue(ScrollTop() - event->angleDelta().y() * kRowPitch / 240);
    // what lies under a pointer that stays put changes with the scroll
    const int look = LookAt(event->position().toPoint());
    SetHovered(look >= 0 ? std::optional<int>(look) : std::nullopt);
}

void TLookGallery::leaveEvent(QEvent*)
{
    // The context menu takes the pointer while it is open; its look stays on show.
    if (!FContextMenu->isVisible())
        SetHovered(std::nullopt);
    FSaveHovered = false;
    update(SaveButtonRect());
}

void TLookGallery::hideEvent(QHideEvent*)
{
    StopThumbnails();
    // A look under the pointer was only shown; the logo keeps the choice.
    if (FHovered) {
        FHovered.reset();
        if (OnPreview)
            OnPreview(std::nullopt);
    }
}

void TLookGallery::keyPressEvent(QKeyEvent* event)
{
    // The arrows walk the looks as the pointer would; Space applies, Enter applies and closes.
    const TKeyAction action = KeyAction(event->key(), kColumns);
    switch (action.key) {
    case TKey::Escape:
        FHovered.reset();
        if (FApplied != FStart) {
            FApplied = FStart;
            if (OnApply)
                OnApply(FStart);
        } else if (OnPreview) {
            OnPreview(std::nullopt);
        }
        close();
        return;
    case TKey::Apply:
    case TKey::ApplyAndClose:
        if (FHovered)
            Apply(*FHovered);
        if (action.key == TKey::ApplyAndClose)
            close();
        return;
    case TKey::Move:
        if (!FLooks.isEmpty()) {
            const int at = FHovered.value_or(FSelected);
            const int next = at < 0 ? 0 : std::clamp(at + action.step, 0, int(FLooks.size()) - 1);
            ScrollTo(next);
            SetHovered(next);
        }
        return;
    case TKey::Other:
        QWidget::keyPressEvent(event);
        return;
    }
}
