// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PngWriter.h"

#include "render/Workers.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <libdeflate.h>
#include <memory>
#include <new>
#include <png.h>
#include <vector>
#include <zlib.h>

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

// What a block of rows is deflated from: about this many bytes of filtered rows.
constexpr std::size_t kBlockBytes = 1 << 19;
// Deflate looks this far back; a block is primed with that much of the rows before it.
constexpr std::size_t kWindow = 32768;

int FilterType(TFilter filter)
{
    return filter == TFilter::Adaptive ? 0 : int(filter);
}

png_byte Paeth(int left, int up, int upLeft)
{
    const int p = left + up - upLeft;
    const int toLeft = std::abs(p - left);
    const int toUp = std::abs(p - up);
    const int toUpLeft = std::abs(p - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return png_byte(left);
    return png_byte(toUp <= toUpLeft ? up : upLeft);
}

// The packed `row` filtered against the packed row above it (`prior`, zeros above the first
// row) into `out`: the filter's type byte and then the differences, one loop per filter so that
// the compiler vectorises the simple ones.
void Filter(TFilter filter, const png_byte* row, const png_byte* prior, std::size_t length,
            std::size_t pixelBytes, png_byte* out)
{
    const int type = FilterType(filter);
    out[0] = png_byte(type);
    png_byte* const into = out + 1;
    const std::size_t first = std::min(pixelBytes, length);
    switch (type) {
    case 1:
        std::copy_n(row, first, into);
        for (std::size_t i = first; i < length; ++i)
            into[i] = png_byte(row[i] - row[i - pixelBytes]);
        break;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            into[i] = png_byte(row[i] - prior[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < first; ++i)
            into[i] = png_byte(row[i] - prior[i] / 2);
        for (std::size_t i = first; i < length; ++i)
            into[i] = png_byte(row[i] - (row[i - pixelBytes] + prior[i]) / 2);
        break;
    case 4:
        for (std::size_t i = 0; i < first; ++i)
            into[i] = png_byte(row[i] - prior[i]);
        for (std::size_t i = first; i < length; ++i)
            into[i] =
                png_byte(row[i] - Paeth(row[i - pixelBytes], prior[i], prior[i - pixelBytes]));
        break;
    default:
        std::copy_n(row, length, into);
        break;
    }
}

std::size_t RowBytes(const QImage& words)
{
    return std::size_t(words.width()) * (words.hasAlphaChannel() ? 4 : 3);
}

// Rows [from, last) packed and filtered into `out`, a line (type byte and row) each; `row` and
// `prior` are the caller's scratch rows, kept between calls.
void FilterRows(const QImage& words, int from, int last, TFilter filter, std::vector<png_byte>& row,
                std::vector<png_byte>& prior, png_byte* out)
{
    const std::size_t rowBytes = RowBytes(words);
    const std::size_t pixelBytes = words.hasAlphaChannel() ? 4 : 3;
    row.resize(rowBytes);
    prior.assign(rowBytes, 0);
    if (from > 0)
        PackRow(words, from - 1, prior.data());
    for (int y = from; y < last; ++y) {
        Filter(filter, PackRow(words, y, row.data()), prior.data(), rowBytes, pixelBytes,
               out + std::size_t(y - from) * (rowBytes + 1));
        std::swap(row, prior);
    }
}

// One block of rows deflated on its own: a raw stream ended by a flush to a byte boundary (the
// last block by the stream's end), and the Adler-32 of its filtered rows.
struct TBlock
{
    std::vector<png_byte> deflated;
    uLong adler = 0;
    std::size_t length = 0;
};

// Deflates blocks of rows one after another on one thread. The stream and the buffers are kept
// from block to block: new ones for every block cost about as much in page faults as the work.
class TDeflater
{
public:
    explicit TDeflater(int level)
    {
        if (deflateInit2(&FStream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
    }
    ~TDeflater() { deflateEnd(&FStream); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    // Rows [first, last) of the picture.
    TBlock Deflate(const QImage& words, int first, int last, TFilter filter);

private:
    z_stream FStream {};
    std::vector<png_byte> FRow;
    std::vector<png_byte> FPrior;
    std::vector<png_byte> FFiltered;
    std::vector<png_byte> FDeflated;
};

TBlock TDeflater::Deflate(const QImage& words, int first, int last, TFilter filter)
{
    const std::size_t rowBytes = RowBytes(words);
    const std::size_t lineBytes = rowBytes + 1;
    // The rows just before the block are filtered again to prime the window with them.
    const int primed = first == 0 ? 0 : int((kWindow + rowBytes) / lineBytes);
    const int from = std::max(0, first - primed);
    const std::size_t filtered = std::size_t(last - from) * lineBytes;
    if (FFiltered.size() < filtered)
        FFiltered.resize(filtered);
    FilterRows(words, from, last, filter, FRow, FPrior, FFiltered.data());
    const std::size_t own = std::size_t(first - from) * lineBytes;

    if (deflateReset(&FStream) != Z_OK)
        throw std::bad_alloc();
    const std::size_t window = std::min(own, kWindow);
    if (window > 0)
        deflateSetDictionary(&FStream, FFiltered.data() + own - window, uInt(window));
    TBlock block;
    block.length = filtered - own;
    block.adler = adler32(adler32(0, nullptr, 0), FFiltered.data() + own, uInt(block.length));
    const std::size_t bound = deflateBound(&FStream, uLong(block.length)) + 16;
    if (FDeflated.size() < bound)
        FDeflated.resize(bound);
    FStream.next_in = FFiltered.data() + own;
    FStream.avail_in = uInt(block.length);
    const int flush = last == words.height() ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        FStream.next_out = FDeflated.data() + FStream.total_out;
        FStream.avail_out = uInt(FDeflated.size() - FStream.total_out);
        const int result = deflate(&FStream, flush);
        if (result == Z_STREAM_END || (result == Z_OK && FStream.avail_out > 0))
            break;
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw std::bad_alloc();
        FDeflated.resize(FDeflated.size() * 2);
    }
    block.deflated.assign(FDeflated.begin(), FDeflated.begin() + std::ptrdiff_t(FStream.total_out));
    return block;
}

void AppendWord(QByteArray& bytes, quint32 word)
{
    const quint32 big = qToBigEndian(word);
    bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
}

// A chunk of `type` whose data is the pieces one after another.
void AppendChunk(QByteArray& png, const char* type, std::initializer_list<QByteArrayView> pieces)
{
    qsizetype length = 0;
    for (const QByteArrayView piece : pieces)
        length += piece.size();
    AppendWord(png, quint32(length));
    const qsizetype start = png.size();
    png.append(type, 4);
    for (const QByteArrayView piece : pieces)
        png.append(piece);
    const auto* typed = reinterpret_cast<const Bytef*>(png.constData() + start);
    AppendWord(png, quint32(crc32(crc32(0, nullptr, 0), typed, uInt(png.size() - start))));
}

// The zlib stream's header for deflate with a 32 KiB window at `level`.
QByteArray ZlibHeader(int level)
{
    const int cmf = 0x78;
    const int speed = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    int flg = speed << 6;
    flg += (31 - (cmf * 256 + flg) % 31) % 31;
    const char bytes[] = {char(cmf), char(flg)};
    return QByteArray(bytes, 2);
}

// The signature and the header chunk of a PNG of `words`.
QByteArray Signature(const QImage& words)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendWord(header, quint32(words.width()));
    AppendWord(header, quint32(words.height()));
    // 8 bits, RGB or RGBA, deflate, adaptive filtering by row, not interlaced
    header.append(char(8)).append(char(words.hasAlphaChannel() ? 6 : 2));
    header.append(char(0)).append(char(0)).append(char(0));
    AppendChunk(png, "IHDR", {header});
    return png;
}

std::optional<QByteArray> Failure(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

// A picture deflated in one piece with a fixed filter. libdeflate compresses a whole buffer
// about twice as fast as zlib at the same level, and a small picture is mostly that time.
std::optional<QByteArray> EncodeWhole(const QImage& words, TFilter filter, int level,
                                      QString* error)
{
    const std::size_t lineBytes = RowBytes(words) + 1;
    const std::size_t filteredBytes = lineBytes * std::size_t(words.height());
    std::vector<png_byte> row;
    std::vector<png_byte> prior;
    std::vector<png_byte> filtered;
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(std::clamp(level, 0, 9)), libdeflate_free_compressor);
    try {
        filtered.resize(filteredBytes);
        FilterRows(words, 0, words.height(), filter, row, prior, filtered.data());
    } catch (const std::bad_alloc&) {
        return Failure(error, QStringLiteral("out of memory"));
    }
    if (!compressor)
        return Failure(error, QStringLiteral("out of memory"));
    QByteArray stream(qsizetype(libdeflate_zlib_compress_bound(compressor.get(), filteredBytes)),
                      Qt::Uninitialized);
    const std::size_t length =
        libdeflate_zlib_compress(compressor.get(), filtered.data(), filteredBytes, stream.data(),
                                 std::size_t(stream.size()));
    if (length == 0)
        return Failure(error, QStringLiteral("the picture could not be compressed"));
    stream.truncate(qsizetype(length));
    QByteArray png = Signature(words);
    AppendChunk(png, "IDAT", {stream});
    AppendChunk(png, "IEND", {});
    return png;
}

} // namespace

std::optional<QByteArray> EncodeInBlocks(const QImage& image, int blockRows, int threads,
                                         QString* error, TFilter filter, int level)
{
    if (image.isNull())
        return Failure(error, QStringLiteral("empty picture"));
    Q_ASSERT(filter != TFilter::Adaptive);
    const QImage words = Words(image);
    blockRows = std::max(1, blockRows);
    const int blocks = (words.height() + blockRows - 1) / blockRows;
    std::vector<TBlock> deflated(static_cast<std::size_t>(blocks));
    std::vector<std::unique_ptr<TDeflater>> deflaters(static_cast<std::size_t>(threads));
    try {
        Workers::ForEach(blocks, threads, [&](int worker, int b) {
            std::unique_ptr<TDeflater>& deflater = deflaters[std::size_t(worker)];
            if (!deflater)
                deflater = std::make_unique<TDeflater>(std::clamp(level, 0, 9));
            deflated[std::size_t(b)] = deflater->Deflate(
                words, b * blockRows, std::min(words.height(), (b + 1) * blockRows), filter);
        });
    } catch (const std::bad_alloc&) {
        return Failure(error, QStringLiteral("out of memory"));
    }

    QByteArray png = Signature(words);
    // One IDAT a block: the stream's header before the first, its checksum after the last.
    const QByteArray streamHeader = ZlibHeader(level);
    uLong adler = adler32(0, nullptr, 0);
    for (int b = 0; b < blocks; ++b) {
        const TBlock& block = deflated[std::size_t(b)];
        adler = adler32_combine(adler, block.adler, z_off_t(block.length));
        QByteArray tail;
        if (b == blocks - 1)
            AppendWord(tail, quint32(adler));
        const QByteArrayView data(block.deflated.data(), qsizetype(block.deflated.size()));
        AppendChunk(png, "IDAT",
                    {b == 0 ? QByteArrayView(streamHeader) : QByteArrayView(), data, tail});
    }
    AppendChunk(png, "IEND", {});
    return png;
}

std::optional<QByteArray> Encode(const QImage& image, QString* error, TFilter filter, int level)
{
    if (image.isNull())
        return Failure(error, QStringLiteral("empty picture"));
    const int threads = Workers::Count();
    if (filter != TFilter::Adaptive && qint64(image.width()) * image.height() >= kParallelPixels) {
        const std::size_t rowBytes = std::size_t(image.width()) * 4 + 1;
        return EncodeInBlocks(image, int(std::max<std::size_t>(1, kBlockBytes / rowBytes)), threads,
                              error, filter, level);
    }
    const QImage words = Words(image);
    if (filter != TFilter::Adaptive)
        return EncodeWhole(words, filter, level, error);
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
