// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/VectorFile.h"

#include "output/PdfWriter.h"
#include "output/SvgWriter.h"

#include <zlib.h>

namespace VectorFile {

bool IsVectorFormat(const QByteArray& format)
{
    return format == "svg" || format == "svgz" || format == "pdf";
}

QByteArray Encode(const VectorScene& scene, const QByteArray& format)
{
    if (format == "svg")
        return SvgWriter::Write(scene);
    if (format == "svgz")
        return Gzip(SvgWriter::Write(scene));
    if (format == "pdf")
        return PdfWriter::Write(scene);
    return {};
}

QByteArray Gzip(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    z_stream stream {};
    // 15 window bits, plus 16 for the gzip wrapper; its header's time stays 0
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY)
        != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

} // namespace VectorFile
