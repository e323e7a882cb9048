// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TPictureFile.h"

#include "platform/ErrorText.h"
#include "platform/FileAccess.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <cerrno>
#include <cstdint>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kInfoHeaderSize = 40;
constexpr qsizetype kCoreHeaderSize = 12;
constexpr std::uint32_t kPixelsPerMetre = 3780; // 96 dpi
// The picture's own text key that notes the format it was read from.
const QString kFormatKey = u"Quilvoro-Format"_s;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void FailRead(const QString& fileName, const QString& reason)
{
    throw EPictureFileError(
        ErrorText::Say(u"画像 \"%1\" ヲ読込メマセン: %2"_s, u"cannot read the picture \"%1\": %2"_s)
            .arg(fileName, ErrorText::OfQt(reason))
            .toStdString());
}

[[noreturn]] void FailTooLarge(const QString& fileName, qint64 width, qint64 height)
{
    FailRead(fileName,
             ErrorText::Say(u"%1 x %2 画素ハ大キスギテ読込メマセン"_s,
                            u"%1 x %2 pixels are too many to read"_s)
                 .arg(width)
                 .arg(height));
}

QString HeaderEnds()
{
    return ErrorText::Say(u"BMPノヘッダノ途中デファイルガ終ワッテイマス"_s,
                          u"the file ends inside the BMP header"_s);
}

QString HeaderDamaged()
{
    return ErrorText::Say(u"BMPノヘッダガ壊レテイマス"_s, u"the BMP header is damaged"_s);
}

struct TBmpHeader
{
    qint64 width = 0;
    qint64 height = 0; // negative for top-down rows
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t pixelOffset = 0;
    std::uint32_t imageSize = 0;
};

template<typename T> T LittleEndianAt(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

// The header of a BMP file, or nothing when the file is not a BMP. Throws when it is one whose
// header cannot be read. Leaves the file at its start.
std::optional<TBmpHeader> ReadBmpHeader(QFile& file, const QString& fileName)
{
    const QByteArray head = file.read(kFileHeaderSize + kInfoHeaderSize);
    if (!file.seek(0))
        FailRead(fileName, file.errorString());
    if (!head.startsWith("BM"))
        return std::nullopt;
    if (head.size() < kFileHeaderSize + kCoreHeaderSize)
        FailRead(fileName, HeaderEnds());

    TBmpHeader header;
    header.pixelOffset = LittleEndianAt<std::uint32_t>(head, 10);
    const std::uint32_t infoSize = LittleEndianAt<std::uint32_t>(head, 14);
    if (infoSize == kCoreHeaderSize) {
        header.width = LittleEndianAt<std::uint16_t>(head, 18);
        header.height = LittleEndianAt<std::uint16_t>(head, 20);
        header.bitCount = LittleEndianAt<std::uint16_t>(head, 24);
    } else if (infoSize >= kInfoHeaderSize && infoSize <= 1024) {
        if (head.size() < kFileHeaderSize + kInfoHeaderSize)
            FailRead(fileName, HeaderEnds());
        header.width = LittleEndianAt<std::int32_t>(head, 18);
        header.height = LittleEndianAt<std::int32_t>(head, 22);
        header.bitCount = LittleEndianAt<std::uint16_t>(head, 28);
        header.compression = LittleEndianAt<std::uint32_t>(head, 30);
        header.imageSize = LittleEndianAt<std::uint32_t>(head, 34);
    } else {
        FailRead(fileName, HeaderDamaged());
    }
    return header;
}

void CheckBmp(const QString& fileName, const TBmpHeader& header, qint64 fileSize)
{
    const qint64 rows = header.height < 0 ? -header.height : header.height;
    if (header.width <= 0 || rows == 0 || header.bitCount <= 0 || header.bitCount > 32)
        FailRead(fileName, HeaderDamaged());
    if (header.width * rows > TPictureFile::MaxPixels)
        FailTooLarge(fileName, header.width, rows);

    qint64 needed = -1;
    const bool uncompressed = header.compression == kBiRgb || header.compression == kBiBitfields
        || header.compression == kBiAlphaBitfields;
    if (uncompressed) {
        const qint64 stride = (header.width * header.bitCount + 31) / 32 * 4;
        needed = qint64(header.pixelOffset) + stride * rows;
    } else if (header.imageSize != 0) {
        needed = qint64(header.pixelOffset) + header.imageSize;
    }
    if (needed > fileSize)
        FailRead(fileName,
                 ErrorText::Say(u"ファイルガ途中デ切レテイマス (%2 バイト中 %1 バイト)"_s,
                                u"the file is cut short (%1 of %2 bytes)"_s)
                     .arg(fileSize)
                     .arg(needed));
}

// The rows and columns of `part` of an uncompressed 24-bit BMP, read from the file alone; null
// for any other BMP.
QImage ReadBmpPart(QFile& file, const TBmpHeader& header, const QRect& part)
{
    if (header.bitCount != 24 || header.compression != kBiRgb)
        return {};
    const qint64 rows = header.height < 0 ? -header.height : header.height;
    const qint64 stride = (header.width * 3 + 3) / 4 * 4;
    QImage image(part.size(), QImage::Format_RGB32);
    QByteArray bytes(qsizetype(part.width()) * 3, '\0');
    for (int y = 0; y < part.height(); ++y) {
        const qint64 row = part.top() + y;
        const qint64 stored = header.height < 0 ? row : rows - 1 - row;
        if (!file.seek(header.pixelOffset + stored * stride + qint64(part.left()) * 3)
            || file.read(bytes.data(), bytes.size()) != bytes.size())
            return {};
        const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < part.width(); ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

void PutU16(char*& p, std::uint16_t v)
{
    qToLittleEndian(v, p);
    p += 2;
}

void PutU32(char*& p, std::uint32_t v)
{
    qToLittleEndian(v, p);
    p += 4;
}

} // namespace

QImage TPictureFile::Load(const QString& fileName)
{
    return Load(fileName, [](QSize) { return QRect(); });
}

QImage TPictureFile::Load(const QString& fileName, const std::function<QRect(QSize)>& shown)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        FailRead(fileName, ErrorText::Say(u"ファイルガアリマセン"_s, u"no such file"_s));
    if (info.isDir())
        FailRead(fileName, ErrorText::OfErrno(EISDIR));

    // Everything is read from this one opened file: a FIFO put under the name meanwhile
    // cannot be opened again behind the checks.
    QFile file;
    QString error;
    switch (FileAccess::OpenRegularFile(file, fileName, &error)) {
    case FileAccess::TOpenResult::Opened:
        break;
    case FileAccess::TOpenResult::NotRegular:
        throw EPictureFileError(error.toStdString());
    case FileAccess::TOpenResult::Failed:
        FailRead(fileName, error);
    }

    const std::optional<TBmpHeader> header = ReadBmpHeader(file, fileName);
    if (header)
        CheckBmp(fileName, *header, file.size());

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        FailTooLarge(fileName, size.width(), size.height());
    const QRect whole(QPoint(), size);
    const QRect part = size.isValid() ? shown(size).intersected(whole) : QRect();
    const bool cut = !part.isEmpty() && part != whole;
    if (cut && header) {
        QImage image = ReadBmpPart(file, *header, part);
        if (!image.isNull()) {
            image.setText(kFormatKey, u"bmp"_s);
            return image;
        }
        if (!file.seek(0))
            FailRead(fileName, file.errorString());
        reader.setDevice(&file);
    }
    if (cut && reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(part);
    // asked before reading: a reader at the end of its file can no longer tell
    const QByteArray format = reader.format();
    QImage image;
    if (!reader.read(&image))
        FailRead(fileName, reader.errorString());
    if (cut && image.size() != part.size())
        image = image.copy(part);
    image.setText(kFormatKey, QString::fromLatin1(format));
    return image;
}

QByteArray TPictureFile::FormatOf(const QImage& image)
{
    return image.text(kFormatKey).toLatin1();
}

QByteArray TPictureFile::Bmp24Bytes(const QImage& image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EPictureFileError(u"空ノ画像ハBMPニ保存デキマセン"_s.toStdString());
    const qint64 stride = (qint64(image.width()) * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = stride * image.height();
    const qint64 fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > INT32_MAX)
        throw EPictureFileError(u"画像ガ大キスギテBMPファイルニ収マリマセン"_s.toStdString());

    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes(qsizetype(fileSize), '\0');
    char* p = bytes.data();
    *p++ = 'B';
    *p++ = 'M';
    PutU32(p, std::uint32_t(fileSize));
    PutU32(p, 0); // reserved
    PutU32(p, kFileHeaderSize + kInfoHeaderSize);
    PutU32(p, kInfoHeaderSize);
    PutU32(p, std::uint32_t(image.width()));
    PutU32(p, std::uint32_t(image.height())); // positive: bottom-up rows
    PutU16(p, 1); // planes
    PutU16(p, 24);
    PutU32(p, kBiRgb);
    PutU32(p, std::uint32_t(pixelBytes));
    PutU32(p, kPixelsPerMetre);
    PutU32(p, kPixelsPerMetre);
    PutU32(p, 0); // colours used
    PutU32(p, 0); // important colours

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        char* out = p;
        for (int x = 0; x < rgb.width(); ++x) {
            *out++ = char(qBlue(row[x]));
            *out++ = char(qGreen(row[x]));
            *out++ = char(qRed(row[x]));
        }
        p += stride; // padding stays zero
    }
    return bytes;
}

void TPictureFile::SaveBmp24(const QImage& image, const QString& fileName)
{
    Save(image, fileName, "bmp");
}

QByteArray TPictureFile::EncodedBytes(const QImage& image, const QByteArray& format)
{
    if (format.compare("bmp", Qt::CaseInsensitive) == 0)
        return Bmp24Bytes(image);
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EPictureFileError(u"空ノ画像ハ保存デキマセン"_s.toStdString());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        throw EPictureFileError(u"画像ヲ %1 形式ニ変換デキマセン: %2"_s
                                    .arg(QString::fromLatin1(format).toUpper(),
                                         ErrorText::Japanese(writer.errorString()))
                                    .toStdString());
    return bytes;
}

void TPictureFile::Save(const QImage& image, const QString& fileName, const QByteArray& format)
{
    SaveBytes(EncodedBytes(image, format), fileName);
}

void TPictureFile::SaveBytes(const QByteArray& bytes, const QString& fileName)
{
    QString error;
    if (!FileAccess::WriteFileAtomically(fileName, bytes, &error))
        throw EPictureFileError(
            u"画像 \"%1\" ヲ保存デキマセン: %2"_s.arg(fileName, error).toStdString());
}
