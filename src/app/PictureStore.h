// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QImage;

namespace PictureStore {

// Keeps a picture that has no file of its own (clipboard, dropped data) as a PNG file in the
// program's data folder, named by its content; the path, or empty when it cannot be written.
QString Store(const QImage& image);

} // namespace PictureStore
