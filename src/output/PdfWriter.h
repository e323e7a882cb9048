// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class QPainter;
struct VectorScene;

// Writes a logo as a one-page PDF the size of its region, one point per pixel of the picture
// (PDF pages are measured in whole points, and a page that is not would make viewers resample
// the pictures): the regions as vector paths, the pictures embedded without loss.
namespace PdfWriter {

QByteArray Write(const VectorScene& scene);

// Draws the scene on any painter whose unit is one preview pixel, the region's top-left corner
// at the origin.
void Paint(QPainter& painter, const VectorScene& scene);

} // namespace PdfWriter
