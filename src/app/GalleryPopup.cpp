// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/GalleryPopup.h"

#include "app/PanelPlacement.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

TGalleryPopup::TGalleryPopup(QWidget* parent)
    : QWidget(parent, Qt::Popup)
{
    setMouseTracking(true);
}

TGalleryPopup::TKeyAction TGalleryPopup::KeyAction(int key, int columns)
{
    switch (key) {
    case Qt::Key_Escape:
        return {TKey::Escape};
    case Qt::Key_Space:
        return {TKey::Apply};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {TKey::ApplyAndClose};
    case Qt::Key_Left:
        return {TKey::Move, -1};
    case Qt::Key_Right:
        return {TKey::Move, 1};
    case Qt::Key_Up:
        return {TKey::Move, -columns};
    case Qt::Key_Down:
        return {TKey::Move, columns};
    default:
        return {};
    }
}

void TGalleryPopup::SetColors(TColor color, TColor text, TColor highlight, TColor highlightText)
{
    FColor = color;
    FTextColor = text;
    FHighlightColor = highlight;
    FHighlightTextColor = highlightText;
    update();
}

void TGalleryPopup::SetCaptionFont(const QFont& value)
{
    FCaptionFont = value;
    update();
}

void TGalleryPopup::ShowBeside(const QRect& preview)
{
    const QScreen* screen = QGuiApplication::screenAt(preview.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : preview;
    setGeometry(QRect(PanelPlacement::Beside(preview, size(), area), size()));
    show();
    activateWindow();
    setFocus();
}

void TGalleryPopup::PaintBackground(QPainter& painter) const
{
    painter.fillRect(rect(), ToQColor(FColor));
    painter.setPen(ToQColor(FHighlightColor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(FCaptionFont);
}

void TGalleryPopup::PaintCell(QPainter& painter, const QRect& cell, int thumbHeight,
                              const QImage& picture, const QString& caption, bool selected,
                              bool hovered) const
{
    const QRect thumb(cell.topLeft(), QSize(cell.width(), thumbHeight));
    const QRect under(cell.left(), thumb.bottom() + 1, cell.width(),
                      cell.bottom() - thumb.bottom());
    if (selected)
        painter.fillRect(cell.adjusted(-3, -3, 3, 3), ToQColor(FHighlightColor));
    if (picture.isNull()) {
        // not drawn yet: a faint block where it will be
        QColor faint = ToQColor(FTextColor);
        faint.setAlpha(40);
        painter.fillRect(thumb, faint);
    } else {
        painter.drawImage(thumb.topLeft() + QPoint((thumb.width() - picture.width()) / 2, 0),
                          picture);
    }
    if (hovered && !selected) {
        painter.setPen(ToQColor(FHighlightColor));
        painter.drawRect(cell.adjusted(-2, -2, 1, 1));
    }
    painter.setPen(ToQColor(selected ? FHighlightTextColor : FTextColor));
    painter.drawText(under, Qt::AlignCenter,
                     painter.fontMetrics().elidedText(caption, Qt::ElideRight, under.width()));
}
