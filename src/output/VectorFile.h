// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

struct VectorScene;

// The vector formats a logo is written in, by name: "svg", "svgz" (the SVG compressed with gzip)
// and "pdf".
namespace VectorFile {

bool IsVectorFormat(const QByteArray& format);

// The file contents of `scene` in `format`; empty for a null scene or another format.
QByteArray Encode(const VectorScene& scene, const QByteArray& format);

// `bytes` as a gzip stream without a file name or time, so the same bytes compress alike.
QByteArray Gzip(const QByteArray& bytes);

} // namespace VectorFile
