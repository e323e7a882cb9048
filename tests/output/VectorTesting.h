#pragma once

#include "document/LogoDocument.h"

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

// How far a picture drawn by another program lies from Quilvoro's own raster.
struct PictureDifference
{
    double meanLevels = 0; // mean absolute difference per channel
    double farShare = 0; // share of pixels with some channel off by more than 32 levels
};

// Compares premultiplied colour and alpha, so transparent pictures compare as they composite.
inline PictureDifference Difference(const QImage& ours, const QImage& theirs)
{
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = theirs.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (a.size() != b.size() || a.isNull())
        return {255, 1};
    double sum = 0;
    long long far = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const quint32*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const quint32*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            int worst = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = std::abs(int((p[x] >> shift) & 0xFF) - int((q[x] >> shift) & 0xFF));
                if (shift < 24)
                    sum += d;
                worst = std::max(worst, d);
            }
            far += worst > 32;
        }
    }
    const double pixels = double(a.width()) * a.height();
    return {sum / (pixels * 3), double(far) / pixels};
}

// Where two pictures differ by more than 32 levels, in red on grey, for a look at a failure.
inline QImage FarOffPixels(const QImage& ours, const QImage& theirs)
{
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = theirs.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage marks(a.size(), QImage::Format_RGB32);
    marks.fill(Qt::lightGray);
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            for (int shift = 0; shift < 32; shift += 8)
                if (std::abs(int((a.pixel(x, y) >> shift) & 0xFF)
                             - int((b.pixel(x, y) >> shift) & 0xFF))
                    > 32)
                    marks.setPixel(x, y, qRgb(255, 0, 0));
    return marks;
}

// Runs a program to its end; its exit code, or -1 when it could not start or timed out.
inline int Run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Pictures for logos with a texture and a background: a small tile and a larger gradient.
inline QImage TestTexture()
{
    QImage tile(13, 11, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, qRgb(40 + 15 * x, 200 - 12 * y, (x + y) % 2 ? 90 : 160));
    return tile;
}

inline QImage TestBackground()
{
    QImage picture(420, 250, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 420, 120, y * 255 / 250));
    return picture;
}
