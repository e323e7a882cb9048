// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStyledItemDelegate>

class TSkinComboBox;

// Hands the painting of the open list's entries to the combobox's own DrawItem, so the list
// and the closed field are drawn by the same code.
class TSkinItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TSkinItemDelegate(TSkinComboBox* combo);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TSkinComboBox* FCombo;
};
