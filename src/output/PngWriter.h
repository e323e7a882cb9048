// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// Writes PNG files straight from the picture's rows: 8-bit RGB for a picture without alpha, 8-bit
// RGBA (straight alpha) for one with it. Level 1 and one fixed row filter for every row: trying
// every filter on every row, as the adaptive choice does (left to libpng), costs about three
// times the time for files a few percent smaller. A small picture is deflated in one piece by
// libdeflate; a large one in blocks of rows by zlib on every core, each block on its own but
// primed with the rows before it, joined into the one zlib stream the file holds.
namespace PngWriter {

// The row filter: bench/png_write measures each one on rendered logos.
enum class TFilter { None, Sub, Up, Average, Paeth, Adaptive };
constexpr TFilter kFilter = TFilter::Sub;
constexpr int kLevel = 1;
// Pictures of at least this many pixels are deflated in blocks on Workers::Count() threads.
constexpr qint64 kParallelPixels = 1 << 20;

// The PNG bytes of a non-empty picture of any format, or nothing when libpng fails (with its
// message in `error` when given).
std::optional<QByteArray> Encode(const QImage& image, QString* error = nullptr,
                                 TFilter filter = kFilter, int level = kLevel);

// The PNG bytes of a non-empty picture deflated in blocks of `blockRows` rows on up to `threads`
// threads, with a fixed filter (not Adaptive): what Encode() writes for a large picture. It
// decodes to the same pixels as the stream deflated in one piece.
std::optional<QByteArray> EncodeInBlocks(const QImage& image, int blockRows, int threads,
                                         QString* error = nullptr, TFilter filter = kFilter,
                                         int level = kLevel);

} // namespace PngWriter
