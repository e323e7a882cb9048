// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoDrops.h"

#include "app/PictureStore.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QWidget>

using namespace Qt::StringLiterals;

TLogoDrops::TLogoDrops(QWidget* window, QWidget* preview, TWindowCommands commands)
    : QObject(window)
    , FWindow(window)
    , FPreview(preview)
    , FCommands(std::move(commands))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString TLogoDrops::SingleLocalFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

TLogoDrops::TDropKind TLogoDrops::Classify(const QMimeData* data)
{
    if (!data)
        return dkNone;
    const QString file = SingleLocalFile(data);
    if (!file.isEmpty()) {
        // Only regular files: a pipe or device would block the window when read.
        const QFileInfo info(file);
        if (!info.isFile())
            return dkNone;
        if (info.suffix().compare(u"qvd"_s, Qt::CaseInsensitive) == 0)
            return dkLogoFile;
        return QImageReader(file).canRead() ? dkPicture : dkNone;
    }
    if (!data->hasUrls() && data->hasImage())
        return dkPictureData;
    return dkNone;
}

bool TLogoDrops::OverPreview(const QPoint& pos) const
{
    return FPreview->isVisible() && FPreview->rect().contains(FPreview->mapFrom(FWindow, pos));
}

TLogoDrops::TDropKind TLogoDrops::KindAt(const QMimeData* data, const QPoint& pos) const
{
    const TDropKind kind = Classify(data);
    if ((kind == dkPicture || kind == dkPictureData) && !OverPreview(pos))
        return dkNone;
    return kind;
}

void TLogoDrops::Drop(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    const TDropKind kind = KindAt(data, event->position().toPoint());
    if (kind == dkNone) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (kind == dkLogoFile) {
        FCommands.loadLogo(SingleLocalFile(data));
        return;
    }
    const QString file = kind == dkPicture
        ? SingleLocalFile(data)
        : PictureStore::Store(qvariant_cast<QImage>(data->imageData()));
    if (file.isEmpty())
        return;
    if (event->modifiers() & Qt::ControlModifier)
        FCommands.setTexture(file);
    else
        FCommands.setBackground(file);
}

bool TLogoDrops::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FWindow)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // The enter takes what can be dropped somewhere, so that the moves that always follow
        // it keep coming; each move then says whether this very spot takes it.
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const TDropKind kind = event->type() == QEvent::DragEnter
            ? Classify(drag->mimeData())
            : KindAt(drag->mimeData(), drag->position().toPoint());
        if (kind != dkNone)
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop:
        Drop(static_cast<QDropEvent*>(event));
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
