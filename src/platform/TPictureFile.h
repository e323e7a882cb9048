// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <stdexcept>

// A picture file that cannot be read or written; the message names the file and the reason.
class EPictureFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reading of background and texture pictures, and writing of the exported 24-bit BMP.
class TPictureFile
{
public:
    // Largest picture read: 64 Mi pixels, 256 MiB as a 32-bit image.
    static constexpr qint64 MaxPixels = qint64(64) * 1024 * 1024;

    // Reads a picture, chosen by content, not by extension: BMP, and whatever else Qt reads.
    // Only a regular file is read; a FIFO or device is refused at once, never waited on.
    // The header of a BMP is checked before any pixel is decoded, so a corrupt, truncated or
    // gigantic file fails at once with EPictureFileError instead of giving a partial picture or
    // an allocation that freezes the program. The image keeps the format the reader gives.
    static QImage Load(const QString& fileName);
    // The format Load() read `image` from ("jpeg", "png", "bmp", ...); empty for a picture not
    // loaded from a file. An export keeps a photograph compressed as it came.
    static QByteArray FormatOf(const QImage& image);
    // Reads only the part of the picture that `shown` gives for the picture's size (all of it
    // when that part is empty or the whole). An uncompressed 24-bit BMP and a JPEG decode that
    // part alone; other formats are decoded whole and cut, one picture at a time.
    static QImage Load(const QString& fileName, const std::function<QRect(QSize)>& shown);

    // The image as a Windows BMP file of 24 bits per pixel: "BM" file header, 40-byte
    // information header, no colour table, rows bottom-up padded to 4 bytes, blue-green-red,
    // 96 pixels per inch. Alpha is dropped. Throws EPictureFileError for an empty image.
    static QByteArray Bmp24Bytes(const QImage& image);

    // Writes Bmp24Bytes() under `fileName`, whatever its extension, through a temporary file
    // that replaces the old one only when complete and flushed to the disk; throws
    // EPictureFileError with the reason on failure.
    static void SaveBmp24(const QImage& image, const QString& fileName);

    // The image encoded as `format` ("bmp" gives Bmp24Bytes; otherwise any format Qt writes,
    // such as "png", which keeps the alpha channel). Throws EPictureFileError when the image is
    // empty or cannot be encoded.
    static QByteArray EncodedBytes(const QImage& image, const QByteArray& format);

    // Writes EncodedBytes() under `fileName` atomically, as SaveBmp24 does.
    static void Save(const QImage& image, const QString& fileName, const QByteArray& format);
    // Writes bytes already encoded under `fileName` atomically, as SaveBmp24 does.
    static void SaveBytes(const QByteArray& bytes, const QString& fileName);
};
