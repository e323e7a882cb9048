// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PngWriter.h"

#include <csetjmp>
#include <png.h>
#include <vector>

namespace PngWriter {

namespace {

struct TSink
{
    QByteArray* bytes;
    QString* error;
};

void Append(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<TSink*>(png_get_io_ptr(png));
    sink->bytes->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void Flush(png_structp) { }

void Failed(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<TSink*>(png_get_error_ptr(png));
    if (sink->error)
        *sink->error = QString::fromUtf8(message);
    png_longjmp(png, 1);
}

void Warned(png_structp, png_const_charp) { }

int FilterBits(TFilter filter)
{
    switch (filter) {
    case TFilter::None:
        return PNG_FILTER_NONE;
    case TFilter::Sub:
        return PNG_FILTER_SUB;
    case TFilter::Up:
        return PNG_FILTER_UP;
    case TFilter::Average:
        return PNG_FILTER_AVG;
    case TFilter::Paeth:
        return PNG_FILTER_PAETH;
    case TFilter::Adaptive:
        return PNG_ALL_FILTERS;
    }
    return PNG_FILTER_UP;
}

// The picture as words that rows are packed from: 0xffRRGGBB, straight 0xAARRGGBB or
// premultiplied 0xAARRGGBB, the last made straight a row at a time rather than in a copy.
QImage Words(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

// Row y of the picture in PNG's byte order, R G B or R G B A, packed into `bytes`: one pass
// here instead of libpng's byte-order and filler transforms, each a pass of its own.
png_bytep PackRow(const QImage& words, int y, png_bytep bytes)
{
    const auto* row = reinterpret_cast<const QRgb*>(words.constScanLine(y));
    const int width = words.width();
    png_bytep out = bytes;
    if (!words.hasAlphaChannel()) {
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = png_byte(qRed(row[x]));
            out[1] = png_byte(qGreen(row[x]));
            out[2] = png_byte(qBlue(row[x]));
        }
        return bytes;
    }
    const bool premultiplied = words.format() == QImage::Format_ARGB32_Premultiplied;
    for (int x = 0; x < width; ++x, out += 4) {
        const int alpha = qAlpha(row[x]);
        const QRgb pixel =
            premultiplied && alpha != 255 && alpha != 0 ? qUnpremultiply(row[x]) : row[x];
        out[0] = png_byte(qRed(pixel));
        out[1] = png_byte(qGreen(pixel));
        out[2] = png_byte(qBlue(pixel));
        out[3] = png_byte(alpha);
    }
    return bytes;
}

// Nothing in this frame has a destructor, so a longjmp out of libpng skips none.
bool WriteRows(png_structp png, png_infop info, const QImage& words, int filter, int level,
               png_bytep row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const bool alpha = words.hasAlphaChannel();
    png_set_IHDR(png, info, png_uint_32(words.width()), png_uint_32(words.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filter);
    // Larger pieces of output mean fewer calls into the sink.
    png_set_compression_buffer_size(png, 1 << 16);
    png_write_info(png, info);
    for (int y = 0; y < words.height(); ++y)
        png_write_row(png, PackRow(words, y, row));
    png_write_end(png, info);
    return true;
}

} // namespace

std::optional<QByteArray> Encode(const QImage& image, QString* error, TFilter filter, int level)
{
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("empty picture");
        return std::nullopt;
    }
    const QImage words = Words(image);
    std::vector<png_byte> row(std::size_t(words.width()) * 4);

    QByteArray bytes;
    TSink sink {&bytes, error};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, Failed, Warned);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        if (error)
            *error = QStringLiteral("out of memory");
        return std::nullopt;
    }
    png_set_write_fn(png, &sink, Append, Flush);
    const bool written = WriteRows(png, info, words, FilterBits(filter), level, row.data());
    png_destroy_write_struct(&png, &info);
    if (!written)
        return std::nullopt;
    return bytes;
}

} // namespace PngWriter
