// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QStringList>
#include <QTest>

namespace ComboTesting {

inline QStringList Texts(const QComboBox& combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

// Picks entry `index` in the open list with the mouse, as a user does.
inline void ChooseWithMouse(QComboBox& combo, int index)
{
    combo.showPopup();
    QAbstractItemView* view = combo.view();
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    const QPoint at = view->visualRect(item).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace ComboTesting
