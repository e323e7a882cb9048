#pragma once

#include <QByteArray>

class QPainter;
struct VectorScene;

// Writes a logo as a one-page PDF the size of its region (one preview pixel is 1/96 inch, so
// a viewer at 100 % shows it at the raster's size): the regions as vector paths, the pictures
// embedded without loss.
namespace PdfWriter {

QByteArray Write(const VectorScene& scene);

// Draws the scene on any painter whose unit is one preview pixel, the region's top-left corner
// at the origin.
void Paint(QPainter& painter, const VectorScene& scene);

} // namespace PdfWriter
