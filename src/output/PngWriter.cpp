// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PngWriter.h"

#include <csetjmp>
#include <cstdint>
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

// The picture in a format whose rows libpng takes as they are (with its byte-order
// transforms): 0xffRRGGBB words, straight-alpha 0xAARRGGBB words, or premultiplied words that
// are made straight a row at a time rather than in a copy of the whole picture.
QImage Words(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

// Row y of the picture as libpng takes it; `straight` holds a row of words.
png_bytep Row(const QImage& words, int y, std::uint32_t* straight)
{
    const auto* row = reinterpret_cast<const QRgb*>(words.constScanLine(y));
    if (words.format() != QImage::Format_ARGB32_Premultiplied)
        return reinterpret_cast<png_bytep>(const_cast<QRgb*>(row));
    for (int x = 0; x < words.width(); ++x) {
        const QRgb pixel = row[x];
        const int alpha = qAlpha(pixel);
        straight[x] = alpha == 255 || alpha == 0 ? pixel : qUnpremultiply(pixel);
    }
    return reinterpret_cast<png_bytep>(straight);
}

// Nothing in this frame has a destructor, so a longjmp out of libpng skips none.
bool WriteRows(png_structp png, png_infop info, const QImage& words, int filter, int level,
               std::uint32_t* straight)
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
    // The words lie in memory as B, G, R, A on a little-endian machine.
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
        if (!alpha)
            png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        if (!alpha)
            png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < words.height(); ++y)
        png_write_row(png, Row(words, y, straight));
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
    std::vector<std::uint32_t> straight(std::size_t(words.width()));

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
    const bool written = WriteRows(png, info, words, FilterBits(filter), level, straight.data());
    png_destroy_write_struct(&png, &info);
    if (!written)
        return std::nullopt;
    return bytes;
}

} // namespace PngWriter
