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
    // the digits, last first, at least one before the point
    char digits[24];
    int count = 0;
    unsigned long long magnitude = value < 0 ? 0ULL - (unsigned long long)(value) : value;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || count <= decimals);
    int last = 0; // the fraction's trailing zeros are left out
    while (last < decimals && digits[last] == '0')
        ++last;
    char text[28];
    int length = 0;
    if (value < 0)
        text[length++] = '-';
    for (int i = count; i-- > decimals;)
        text[length++] = digits[i];
    if (last < decimals) {
        text[length++] = '.';
        for (int i = decimals; i-- > last;)
            text[length++] = digits[i];
    }
    out.append(text, length);
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

int TShapeCopies::Count(const QPainterPath& path)
{
    QPointF offset;
    for (std::size_t i = 0; i < FShapes.size(); ++i)
        if (IsMoved(FShapes[i].path, path, offset)) {
            ++FShapes[i].uses;
            FCopies.push_back({int(i), offset});
            return int(i);
        }
    FShapes.push_back({path, 1});
    FCopies.push_back({int(FShapes.size() - 1), {}});
    return int(FShapes.size() - 1);
}

TShapeCopies::Copy TShapeCopies::Next()
{
    Copy copy = FCopies.at(FNext++);
    copy.shared = Shared(copy.shape);
    return copy;
}

} // namespace WriterParts
