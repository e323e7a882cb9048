// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontchooser/SkinItemDelegate.h"

#include "fontchooser/SkinComboBox.h"

#include <QPainter>

TSkinItemDelegate::TSkinItemDelegate(TSkinComboBox* combo)
    : QStyledItemDelegate(combo)
    , FCombo(combo)
{ }

void TSkinItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected)
        state |= odSelected;
    if (!(option.state & QStyle::State_Enabled))
        state |= odDisabled;
    if (option.state & QStyle::State_HasFocus)
        state |= odFocused;
    painter->save();
    FCombo->DrawItem(*painter, index.row(), option.rect, state);
    painter->restore();
}

QSize TSkinItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {option.rect.width(), FCombo->ItemHeight()};
}
