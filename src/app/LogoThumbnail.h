// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "render/DocumentRenderer.h"

#include <QImage>
#include <QSize>

class QThreadPool;

// The small pictures of the logo that the galleries show.
namespace LogoThumbnail {

// The renderer's picture of the preview's region reduced to fit `box`, drawn at that size (a
// full picture drawn and then reduced costs ten previews' time): the face, the shadow's reach,
// the rings, blurs and glow and the texture reduced with the picture; what is a pixel or two
// wide stays so. Safe on any thread.
QImage Draw(const PreviewScene& scene, QSize box);

// Threads that draw thumbnails beside the window's: kept for the program's life, so that their
// font engines are set up once rather than at every opening.
QThreadPool& Threads();

} // namespace LogoThumbnail
