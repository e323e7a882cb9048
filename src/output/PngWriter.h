// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// Writes PNG files with libpng straight from the picture's rows: 8-bit RGB for a picture without
// alpha, 8-bit RGBA (straight alpha) for one with it. zlib level 1 and one fixed row filter for
// every row: trying every filter on every row, as the adaptive choice does, costs about three
// times the time for files a few percent smaller.
namespace PngWriter {

// The row filter: bench/png_write measures each one on rendered logos.
enum class TFilter { None, Sub, Up, Average, Paeth, Adaptive };
constexpr TFilter kFilter = TFilter::Sub;
constexpr int kLevel = 1;

// The PNG bytes of a non-empty picture of any format, or nothing when libpng fails (with its
// message in `error` when given).
std::optional<QByteArray> Encode(const QImage& image, QString* error = nullptr,
                                 TFilter filter = kFilter, int level = kLevel);

} // namespace PngWriter
