// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/LogoDocument.h"
#include "output/PngWriter.h"
#include "render/DocumentRenderer.h"
#include "render/Workers.h"
#include "support/AppTestMain.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void AppendBigEndian(QByteArray& bytes, quint32 word)
{
    const quint32 big = qToBigEndian(word);
    bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
}

QImage Decoded(const QByteArray& png)
{
    QBuffer buffer;
    buffer.setData(png);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

// Every channel random, alpha included, as straight (not premultiplied) colour.
QImage Noise(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate());
    return image.convertToFormat(format);
}

// The file's image data inflated, or nothing when its zlib stream is not one whole stream with
// the right checksum.
QByteArray Inflated(const QByteArray& png, qsizetype expected)
{
    QByteArray stream;
    AppendBigEndian(stream, quint32(expected)); // what qUncompress wants first
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype length = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "IDAT")
            stream.append(png.mid(at + 8, length));
        at += length + 12;
    }
    return qUncompress(stream);
}

QImage Logo(int scale, bool transparent)
{
    LogoDocument document;
    document.FontName = u"DejaVu Sans"_s;
    document.ShadowStyle = TLogoShadowStyle::Deep;
    document.Angle = 20;
    RenderOptions options;
    options.scale = scale;
    options.transparent = transparent;
    return DocumentRenderer::Render(document, {}, options);
}

} // namespace

class tst_PngWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    // What is written decodes to the picture, with every filter and any row length.
    void decodesToThePicture_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("filter");
        const std::pair<PngWriter::TFilter, const char*> filters[] = {
            {PngWriter::TFilter::None, "none"},   {PngWriter::TFilter::Sub, "sub"},
            {PngWriter::TFilter::Up, "up"},       {PngWriter::TFilter::Average, "average"},
            {PngWriter::TFilter::Paeth, "paeth"}, {PngWriter::TFilter::Adaptive, "adaptive"}};
        for (const auto& [filter, name] : filters) {
            QTest::addRow("opaque logo, %s", name) << Logo(1, false) << int(filter);
            QTest::addRow("transparent logo, %s", name) << Logo(2, true) << int(filter);
            QTest::addRow("noise, %s", name)
                << Noise(QSize(37, 23), QImage::Format_ARGB32) << int(filter);
        }
        QTest::newRow("one pixel")
            << Noise(QSize(1, 1), QImage::Format_RGB32) << int(PngWriter::kFilter);
        QTest::newRow("premultiplied noise")
            << Noise(QSize(64, 9), QImage::Format_ARGB32_Premultiplied) << int(PngWriter::kFilter);
        QTest::newRow("grey scale")
            << Noise(QSize(5, 300), QImage::Format_Grayscale8) << int(PngWriter::kFilter);
        QTest::newRow("24-bit rows")
            << Noise(QSize(333, 3), QImage::Format_RGB888) << int(PngWriter::kFilter);
    }

    void decodesToThePicture()
    {
        QFETCH(QImage, image);
        QFETCH(int, filter);
        QString error;
        const std::optional<QByteArray> png =
            PngWriter::Encode(image, &error, PngWriter::TFilter(filter));
        QVERIFY2(png, qPrintable(error));
        const QImage decoded = Decoded(*png);
        QCOMPARE(decoded.size(), image.size());
        QCOMPARE(decoded.hasAlphaChannel(), image.hasAlphaChannel());
        // Premultiplied, as the renderer draws: a colour under alpha 0 is nothing there.
        const auto format =
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        QCOMPARE(decoded.convertToFormat(format), image.convertToFormat(format));
    }

    // A transparent render keeps its premultiplied pixels through the file.
    void transparentRenderSurvivesTheFile()
    {
        const QImage image = Logo(1, true);
        const std::optional<QByteArray> png = PngWriter::Encode(image);
        QVERIFY(png);
        const QImage decoded = Decoded(*png).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(decoded, image);
    }

    // Blocks of rows deflated apart and joined make one zlib stream that inflates to the rows
    // one stream gives, with every filter, at block boundaries anywhere.
    void blocksDecodeToWhatOneStreamGives_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("blockRows");
        const std::pair<PngWriter::TFilter, const char*> filters[] = {
            {PngWriter::TFilter::None, "none"},
            {PngWriter::TFilter::Sub, "sub"},
            {PngWriter::TFilter::Up, "up"},
            {PngWriter::TFilter::Average, "average"},
            {PngWriter::TFilter::Paeth, "paeth"}};
        for (const auto& [filter, name] : filters) {
            QTest::addRow("noise, rows one by one, %s", name)
                << Noise(QSize(37, 23), QImage::Format_ARGB32) << int(filter) << 1;
            QTest::addRow("transparent logo, %s", name) << Logo(1, true) << int(filter) << 7;
        }
        QTest::newRow("opaque logo, blocks past the window")
            << Logo(2, false) << int(PngWriter::kFilter) << 50;
        QTest::newRow("premultiplied noise, one block")
            << Noise(QSize(64, 9), QImage::Format_ARGB32_Premultiplied) << int(PngWriter::kFilter)
            << 100;
        QTest::newRow("one row") << Noise(QSize(300, 1), QImage::Format_RGB32)
                                 << int(PngWriter::kFilter) << 1;
    }

    void blocksDecodeToWhatOneStreamGives()
    {
        QFETCH(QImage, image);
        QFETCH(int, filter);
        QFETCH(int, blockRows);
        QString error;
        const auto whole = PngWriter::Encode(image, &error, PngWriter::TFilter(filter));
        const auto blocks =
            PngWriter::EncodeInBlocks(image, blockRows, 3, &error, PngWriter::TFilter(filter));
        QVERIFY2(whole && blocks, qPrintable(error));
        const qsizetype rowBytes = image.width() * (image.hasAlphaChannel() ? 4 : 3) + 1;
        const QByteArray rows = Inflated(*blocks, rowBytes * image.height());
        QCOMPARE(rows, Inflated(*whole, rowBytes * image.height()));
        QCOMPARE(Decoded(*blocks), Decoded(*whole));
    }

    // A large picture is cut into the same blocks on any number of cores, so the file does not
    // depend on the machine that wrote it.
    void largePictureOnThreads()
    {
        const QImage image = Logo(3, true);
        QVERIFY(qint64(image.width()) * image.height() >= PngWriter::kParallelPixels);
        Workers::SetCount(1);
        const std::optional<QByteArray> serial = PngWriter::Encode(image);
        Workers::SetCount(2);
        const std::optional<QByteArray> shared = PngWriter::Encode(image);
        Workers::SetCount(0);
        QVERIFY(serial && shared);
        QCOMPARE(*shared, *serial);
        QCOMPARE(Decoded(*shared).convertToFormat(QImage::Format_ARGB32_Premultiplied), image);
    }

    void emptyPictureFails()
    {
        QString error;
        QVERIFY(!PngWriter::Encode(QImage(), &error));
        QVERIFY(!error.isEmpty());
    }
};

QUILVORO_APP_TEST_MAIN(tst_PngWriter)
#include "tst_PngWriter.moc"
