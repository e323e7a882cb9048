// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a panel that drives the preview (the warp gallery, and any like it) opens: beside the
// preview, so that what it changes stays in sight.
namespace PanelPlacement {

// The top-left corner of a panel of `size` beside `preview` on `screen` (global coordinates):
// below the preview, else above, right or left of it, centred along it and kept on the screen.
// Where none of them fits, the one that hides the least of the preview.
QPoint Beside(const QRect& preview, QSize size, const QRect& screen);

} // namespace PanelPlacement
