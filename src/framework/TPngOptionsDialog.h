// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "framework/TDialogs.h"

#include <QDialog>
#include <QList>
#include <QSize>

class QCheckBox;
class QComboBox;

// The small dialog of a PNG export: the scale, each shown with the picture's size in pixels,
// and whether the background is left transparent.
class TPngOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    TPngOptionsDialog(const TPngOptions& initial, QSize regionSize, const QList<int>& scales,
                      QWidget* parent = nullptr);

    TPngOptions Options() const;

    QComboBox* ScaleBox() const { return FScale; }
    QCheckBox* TransparentBox() const { return FTransparent; }

private:
    QComboBox* FScale;
    QCheckBox* FTransparent;
};
