// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TPngOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

TPngOptionsDialog::TPngOptionsDialog(const TPngOptions& initial, QSize regionSize,
                                     const QList<int>& scales, QWidget* parent)
    : QDialog(parent)
    , FScale(new QComboBox(this))
    , FTransparent(new QCheckBox(u"背景ヲ透明ニスル（背景画像ハ含マナイ）"_s, this))
{
    setWindowTitle(u"PNG保存ノ設定"_s);
    for (int scale : scales) {
        FScale->addItem(u"%1倍  （%2 × %3）"_s.arg(scale)
                            .arg(regionSize.width() * scale)
                            .arg(regionSize.height() * scale),
                        scale);
    }
    FScale->setCurrentIndex(std::max<qsizetype>(0, scales.indexOf(initial.scale)));
    FTransparent->setChecked(initial.transparent);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(u"倍率 ："_s, FScale);
    layout->addRow(FTransparent);
    layout->addRow(buttons);
}

TPngOptions TPngOptionsDialog::Options() const
{
    return {FScale->currentData().toInt(), FTransparent->isChecked()};
}
