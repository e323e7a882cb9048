// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

class QWidget;

// Docking of child controls to their parent's edges, in creation order, as forms lay out their
// aligned controls: each top/bottom/left/right child takes a strip off what is left, and a
// client child takes the rest.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

namespace Align {

void Set(QWidget* child, TAlign align);
TAlign Of(const QWidget* child);

// Places every aligned child of `parent` inside `client` (the parent's area inside its border).
void Arrange(QWidget* parent, QRect client);

} // namespace Align
