// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/WriterParts.h"

#include <QBuffer>

#include <cmath>

namespace {

// A photograph kept as JPEG loses less than this shows on screen.
constexpr int kJpegQuality = 95;

// Whether `path` is `shape` moved by `offset`, to within rounding.
bool IsMoved(const QPainterPath& shape, const QPainterPath& path, QPointF& offset)
{
    const int count = shape.elementCount();
    if (count == 0 || count != path.elementCount() || shape.fillRule() != path.fillRule())
        return false;
    const QPainterPath::Element first = path.elementAt(0);
    offset = QPointF(first.x, first.y) - QPointF(shape.elementAt(0));
    constexpr double kSlack = 1e-6;
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element a = shape.elementAt(i);
        const QPainterPath::Element b = path.elementAt(i);
        if (a.type != b.type || std::abs(b.x - a.x - offset.x()) > kSlack
            || std::abs(b.y - a.y - offset.y()) > kSlack)
            return false;
    }
    return true;
}

} // namespace

namespace WriterParts {

void AppendNumber(QByteArray& out, long long value, int decimals)
{
    if (value < 0) {
        out += '-';
        value = -value;
    }
    long long unit = 1;
    for (int i = 0; i < decimals; ++i)
        unit *= 10;
    out += QByteArray::number(value / unit);
    long long fraction = value % unit;
    if (fraction == 0)
        return;
    int digits = decimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    out += '.';
    out += QByteArray::number(fraction).rightJustified(digits, '0');
}

QByteArray BareJpeg(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    // a copy of the bare pixels carries no profile or text for the encoder to keep
    const QImage bare =
        QImage(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(), rgb.format()).copy();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!bare.save(&buffer, "JPEG", kJpegQuality))
        return {};
    return jpeg;
}

void TShapeCopies::Count(const QPainterPath& path)
{
    QPointF offset;
    for (std::size_t i = 0; i < FShapes.size(); ++i)
        if (IsMoved(FShapes[i].path, path, offset)) {
            ++FShapes[i].uses;
            FCopies.push_back({int(i), offset});
            return;
        }
    FShapes.push_back({path, 1});
    FCopies.push_back({int(FShapes.size() - 1), {}});
}

TShapeCopies::Copy TShapeCopies::Next()
{
    Copy copy = FCopies.at(FNext++);
    copy.shared = FShapes[std::size_t(copy.shape)].uses > 1;
    return copy;
}

} // namespace WriterParts
