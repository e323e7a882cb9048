// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/WarpGallery.h"

#include "app/LogoThumbnail.h"
#include "framework/TTrackBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<const char16_t*, TWarpGallery::kWarps> kCaptions = {
    u"なし", u"アーチ", u"アーチ下", u"円", u"波", u"旗", u"膨張", u"収縮", u"遠近", u"傾斜",
};

constexpr int kBarLeft = 48;
constexpr QSize kBarSize {264, 12};

} // namespace

TWarpGallery::TWarpGallery(QWidget* parent)
    : TGalleryPopup(parent)
    , FAmountBar(new TTrackBar(this))
{
    setObjectName(u"WarpGallery"_s);
    setFixedSize(SizeHintFor());
    FAmountBar->setObjectName(u"WarpAmountBar"_s);
    FAmountBar->SetMin(LogoDocument::kMinWarpAmount);
    FAmountBar->SetMax(LogoDocument::kMaxWarpAmount);
    FAmountBar->SetPageSize(10);
    FAmountBar->setGeometry(QRect(
        QPoint(kBarLeft, height() - kMargin - kBarRow / 2 - kBarSize.height() / 2), kBarSize));
    FAmountBar->setToolTip(u" 変形ノ量"_s);
    FAmountBar->OnChange = [this](QObject*) {
        AmountChanged();
    };
    // The thumbnails follow the amount once a drag ends; drawing all of them per step would lag.
    connect(FAmountBar, &QAbstractSlider::sliderReleased, this, [this] {
        RenderThumbnails();
        update();
    });
}

QString TWarpGallery::Caption(TLogoWarp warp)
{
    return QString::fromUtf16(kCaptions[std::size_t(warp)]);
}

QRect TWarpGallery::CellRect(int index)
{
    const int column = index % kColumns;
    const int row = index / kColumns;
    const QSize cell(kThumbSize.width(), kThumbSize.height() + kCaptionHeight);
    return {QPoint(kMargin + column * (cell.width() + kMargin),
                   kMargin + row * (cell.height() + kMargin)),
            cell};
}

std::optional<TLogoWarp> TWarpGallery::WarpAt(QPoint pos)
{
    for (int i = 0; i < kWarps; ++i) {
        if (CellRect(i).contains(pos))
            return TLogoWarp(i);
    }
    return std::nullopt;
}

QSize TWarpGallery::SizeHintFor()
{
    const QRect last = CellRect(kWarps - 1);
    return {last.right() + 1 + kMargin, last.bottom() + 1 + kMargin + kBarRow + kMargin};
}

int TWarpGallery::Amount() const
{
    return FAmountBar->Position();
}

void TWarpGallery::Open(const PreviewScene& scene, TLogoWarp warp, int amount, const QRect& preview)
{
    FScene = scene;
    FSelected = FStartWarp = warp;
    FStartAmount = FAppliedAmount = amount;
    FHovered.reset();
    {
        const QSignalBlocker quiet(FAmountBar);
        const auto change = std::exchange(FAmountBar->OnChange, nullptr);
        FAmountBar->SetPosition(amount != 0 ? amount : kStartAmount);
        FAmountBar->OnChange = change;
    }
    RenderThumbnails();
    ShowBeside(preview);
}

void TWarpGallery::RenderThumbnails()
{
    // This thread and the pool's take the thumbnails one at a time; what one fails with is
    // thrown here once the others have stopped, since they share this frame.
    std::atomic<int> next = 0;
    const int amount = Amount();
    std::mutex failed;
    std::exception_ptr failure;
    const auto draw = [&] {
        try {
            for (int i = next++; i < kWarps; i = next++) {
                PreviewScene scene = FScene;
                scene.look.warp = TLogoWarp(i);
                scene.look.warpAmount = amount;
                FThumbnails[std::size_t(i)] = LogoThumbnail::Draw(scene, kThumbSize);
            }
        } catch (...) {
            next = kWarps;
            const std::scoped_lock lock(failed);
            failure = std::current_exception();
        }
    };
    QThreadPool& pool = LogoThumbnail::Threads();
    const int helpers = pool.maxThreadCount();
    QSemaphore done;
    for (int h = 0; h < helpers; ++h) {
        pool.start([&] {
            draw();
            done.release();
        });
    }
    draw();
    done.acquire(helpers);
    if (failure)
        std::rethrow_exception(failure);
}

void TWarpGallery::PaintTo(QPainter& painter) const
{
    PaintBackground(painter);
    for (int i = 0; i < kWarps; ++i) {
        const auto warp = TLogoWarp(i);
        PaintCell(painter, CellRect(i), kThumbSize.height(), FThumbnails[std::size_t(i)],
                  Caption(warp), warp == FSelected, FHovered == warp);
    }
    painter.setPen(ToQColor(FTextColor));
    painter.drawText(QRect(kMargin, FAmountBar->y() - 4, kBarLeft - kMargin, kBarSize.height() + 8),
                     Qt::AlignLeft | Qt::AlignVCenter, u"量"_s);
}

void TWarpGallery::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TWarpGallery::Preview(TLogoWarp warp) const
{
    // Back on the choice, the logo shows what it holds, not the bar (moved under no warp).
    if (OnPreview)
        OnPreview(warp, warp == FSelected ? FAppliedAmount : Amount());
}

void TWarpGallery::Apply(TLogoWarp warp, int amount, bool dragging)
{
    FSelected = warp;
    FAppliedAmount = amount;
    if (OnApply)
        OnApply(warp, amount, dragging);
}

void TWarpGallery::SetHovered(std::optional<TLogoWarp> value)
{
    if (FHovered == value)
        return;
    FHovered = value;
    Preview(value.value_or(FSelected));
    update();
}

void TWarpGallery::mouseMoveEvent(QMouseEvent* event)
{
    SetHovered(WarpAt(event->position().toPoint()));
}

void TWarpGallery::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<TLogoWarp> warp = WarpAt(event->position().toPoint());
    if (!warp)
        return;
    Apply(*warp, Amount(), false);
    update();
}

void TWarpGallery::leaveEvent(QEvent*)
{
    SetHovered(std::nullopt);
}

void TWarpGallery::hideEvent(QHideEvent*)
{
    // A thumbnail under the pointer was only shown; the logo keeps the choice.
    if (FHovered) {
        FHovered.reset();
        Preview(FSelected);
    }
}

void TWarpGallery::AmountChanged()
{
    if (FSelected != TLogoWarp::None)
        Apply(FSelected, Amount(), true);
    if (!FAmountBar->isSliderDown()) {
        RenderThumbnails();
        update();
    }
}

void TWarpGallery::keyPressEvent(QKeyEvent* event)
{
    // The arrows walk the cells as the pointer would; Space applies, Enter applies and closes.
    const TKeyAction action = KeyAction(event->key(), kColumns);
    switch (action.key) {
    case TKey::Escape:
        FHovered.reset();
        Apply(FStartWarp, FStartAmount, false);
        close();
        return;
    case TKey::Apply:
    case TKey::ApplyAndClose:
        if (FHovered)
            Apply(*FHovered, Amount(), false);
        if (action.key == TKey::Apply)
            update();
        else
            close();
        return;
    case TKey::Move:
        SetHovered(
            TLogoWarp(std::clamp(int(FHovered.value_or(FSelected)) + action.step, 0, kWarps - 1)));
        return;
    case TKey::Other:
        QWidget::keyPressEvent(event);
        return;
    }
}
