// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

struct VectorScene;

// Writes a logo as a one-page PDF the size of its region, one point per pixel of the picture
// (PDF pages are measured in whole points, and a page that is not would make viewers resample
// the pictures): the regions as vector paths, a shape that recurs moved (the runs of a gradation)
// once as a form placed again, a fade through a luminosity soft mask of its bands, and the
// pictures embedded without loss (a photograph read from JPEG as JPEG). The same scene gives
// the same bytes; the only date is SOURCE_DATE_EPOCH's.
namespace PdfWriter {

QByteArray Write(const VectorScene& scene);

} // namespace PdfWriter
