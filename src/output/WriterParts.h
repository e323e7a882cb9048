// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

#include <vector>

// Pieces both vector writers use: numbers written short, photographs kept as JPEG, and shapes
// that recur moved.
namespace WriterParts {

// Appends `value`, in units of 10^-decimals, with as few characters as SVG and PDF allow.
void AppendNumber(QByteArray& out, long long value, int decimals);

// The picture as a JPEG of its pixels alone, without the profile or text of the file it came
// from; empty when it cannot be encoded.
QByteArray BareJpeg(const QImage& image);

// Paths that are one shape at several places, as the runs of a gradation shadow are, so that a
// file holds the shape once and places it again. Every path is counted first, then taken in the
// same order.
class TShapeCopies
{
public:
    struct Copy
    {
        int shape = -1;
        QPointF offset; // from the shape's first path
        bool shared = false; // whether other paths are this shape too
    };
    // Counts a path; the shape it is.
    int Count(const QPainterPath& path);
    // The copy the next counted path is.
    Copy Next();
    int Shapes() const { return int(FShapes.size()); }
    const QPainterPath& Shape(int index) const { return FShapes[std::size_t(index)].path; }
    bool Shared(int index) const { return FShapes[std::size_t(index)].uses > 1; }

private:
    struct Entry
    {
        QPainterPath path;
        int uses = 0;
    };
    std::vector<Entry> FShapes;
    std::vector<Copy> FCopies;
    std::size_t FNext = 0;
};

} // namespace WriterParts
