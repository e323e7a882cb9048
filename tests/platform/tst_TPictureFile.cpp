// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TPictureFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace FileTesting;

namespace {

quint32 U32At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 U16At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// Every pixel different, so a swapped channel, a flipped row or a shifted column shows.
QImage Pattern(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 + x * 20, 200 - y * 30, (x * 7 + y * 13) % 256));
    return image.convertToFormat(format);
}

} // namespace

class tst_TPictureFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void bmpLayout_data();
    void bmpLayout();
    void savedBmpLoadsBackPixelForPixel_data();
    void savedBmpLoadsBackPixelForPixel();
    void anyExtensionReceivesBmp();
    void partIsThePixelsOfTheWhole_data();
    void partIsThePixelsOfTheWhole();
    void emptyImageIsRefused();
    void badFilesFailClearly_data();
    void badFilesFailClearly();
    void failedSaveNamesFileAndKeepsFolder();
    void interruptedSaveKeepsOldFile();
    void specialFilesAreRefusedAtOnce_data();
    void specialFilesAreRefusedAtOnce();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString Path(const QString& name) const { return FDir->filePath(name); }
};

void tst_TPictureFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

void tst_TPictureFile::bmpLayout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("stride");

    QTest::newRow("1 wide, 3 bytes padded to 4") << 1 << 1 << 4;
    QTest::newRow("2 wide, 6 to 8") << 2 << 3 << 8;
    QTest::newRow("3 wide, 9 to 12") << 3 << 2 << 12;
    QTest::newRow("4 wide, no padding") << 4 << 5 << 12;
    QTest::newRow("5 wide, 15 to 16") << 5 << 4 << 16;
}

void tst_TPictureFile::bmpLayout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, stride);

    const QImage image = Pattern(width, height);
    const QByteArray bmp = TPictureFile::Bmp24Bytes(image);

    const int pixelBytes = stride * height;
    QCOMPARE(bmp.size(), 54 + pixelBytes);
    QVERIFY(bmp.startsWith("BM"));
    QCOMPARE(U32At(bmp, 2), quint32(bmp.size()));
    QCOMPARE(U32At(bmp, 10), 54u); // no colour table
    QCOMPARE(U32At(bmp, 14), 40u);
    QCOMPARE(U32At(bmp, 18), quint32(width));
    QCOMPARE(U32At(bmp, 22), quint32(height)); // positive: bottom-up
    QCOMPARE(U16At(bmp, 26), quint16(1));
    QCOMPARE(U16At(bmp, 28), quint16(24));
    QCOMPARE(U32At(bmp, 30), 0u); // uncompressed
    QCOMPARE(U32At(bmp, 34), quint32(pixelBytes));

    for (int y = 0; y < height; ++y) {
        const qsizetype row = 54 + qsizetype(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const qsizetype at = row + x * 3;
            QCOMPARE(quint8(bmp[at]), quint8(qBlue(pixel)));
            QCOMPARE(quint8(bmp[at + 1]), quint8(qGreen(pixel)));
            QCOMPARE(quint8(bmp[at + 2]), quint8(qRed(pixel)));
        }
        for (qsizetype pad = row + width * 3; pad < row + stride; ++pad)
            QCOMPARE(bmp[pad], '\0');
    }
}

void tst_TPictureFile::savedBmpLoadsBackPixelForPixel_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("RGB32") << QImage::Format_RGB32;
    QTest::newRow("opaque ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("RGB888") << QImage::Format_RGB888;
}

void tst_TPictureFile::savedBmpLoadsBackPixelForPixel()
{
    QFETCH(QImage::Format, format);
    const QImage image = Pattern(7, 5, format);
    const QString path = Path(u"export.bmp"_s);
    TPictureFile::SaveBmp24(image, path);

    const QImage loaded = TPictureFile::Load(path);
    QCOMPARE(loaded.size(), image.size());
    QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32),
             image.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {u"export.bmp"_s});
}

void tst_TPictureFile::partIsThePixelsOfTheWhole_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<QRect>("loaded");
    QTest::newRow("BMP, inside") << QByteArray("bmp") << QRect(3, 2, 5, 4) << QRect(3, 2, 5, 4);
    QTest::newRow("BMP, a corner") << QByteArray("bmp") << QRect(0, 0, 1, 1) << QRect(0, 0, 1, 1);
    QTest::newRow("BMP, over the edge")
        << QByteArray("bmp") << QRect(9, 7, 40, 40) << QRect(9, 7, 4, 4);
    QTest::newRow("BMP, all") << QByteArray("bmp") << QRect() << QRect(0, 0, 13, 11);
    QTest::newRow("PNG, inside") << QByteArray("png") << QRect(3, 2, 5, 4) << QRect(3, 2, 5, 4);
    QTest::newRow("PNG, over the edge")
        << QByteArray("png") << QRect(-4, 5, 8, 30) << QRect(0, 5, 4, 6);
    QTest::newRow("JPEG, clipped while decoding")
        << QByteArray("jpg") << QRect(2, 3, 9, 5) << QRect(2, 3, 9, 5);
}

void tst_TPictureFile::partIsThePixelsOfTheWhole()
{
    QFETCH(QByteArray, format);
    QFETCH(QRect, part);
    QFETCH(QRect, loaded);
    const QImage whole = Pattern(13, 11);
    const QString path = Path(u"picture"_s);
    TPictureFile::Save(whole, path, format);
    QSize asked;
    const QImage image = TPictureFile::Load(path, [&](QSize size) {
        asked = size;
        return part;
    });
    QCOMPARE(asked, whole.size());
    // the pixels the whole picture decodes to, which a lossy format does not keep exactly
    const QImage decoded = TPictureFile::Load(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), decoded.copy(loaded));
    if (format != "jpg")
        QCOMPARE(decoded, whole);
}

void tst_TPictureFile::anyExtensionReceivesBmp()
{
    const QString path = Path(u"logo.png"_s);
    WriteAll(path, "old contents");
    TPictureFile::SaveBmp24(Pattern(3, 3), path);

    const QByteArray bytes = ReadAll(path);
    QCOMPARE(bytes, TPictureFile::Bmp24Bytes(Pattern(3, 3)));
    QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
    QCOMPARE(TPictureFile::Load(path).size(), QSize(3, 3));
}

void tst_TPictureFile::emptyImageIsRefused()
{
    const QString path = Path(u"empty.bmp"_s);
    QVERIFY(
        !FailureOf<EPictureFileError>([&] { TPictureFile::SaveBmp24(QImage(), path); }).isEmpty());
    QVERIFY(!QFile::exists(path));
}

void tst_TPictureFile::badFilesFailClearly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = TPictureFile::Bmp24Bytes(Pattern(40, 30));
    // the good file with 32-bit header fields replaced: {offset, value}, ...
    auto withHeader = [&](std::initializer_list<std::pair<qsizetype, qint32>> fields) {
        QByteArray bytes = good;
        for (const auto& [offset, value] : fields)
            qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };

    QTest::newRow("truncated pixels") << good.left(good.size() / 2) << u"途中デ切レテイマス"_s;
    QTest::newRow("one byte short") << good.chopped(1) << u"途中デ切レテイマス"_s;
    QTest::newRow("header only") << good.left(54) << u"途中デ切レテイマス"_s;
    QTest::newRow("ends inside header") << good.left(20) << u"ヘッダノ途中"_s;
    QTest::newRow("gigantic") << withHeader({{18, 100000}, {22, 100000}}) << u"100000 x 100000"_s;
    QTest::newRow("gigantic width") << withHeader({{18, 0x7FFFFFFF}}) << u"大キスギテ"_s;
    QTest::newRow("zero width") << withHeader({{18, 0}}) << u"壊レテイマス"_s;
    QTest::newRow("bad info size") << withHeader({{14, 7}}) << u"壊レテイマス"_s;
    QTest::newRow("bad bit count") << withHeader({{28, 77}}) << u"壊レテイマス"_s;
    QTest::newRow("not a picture") << QByteArray("[SET]\r\nSize=40\r\n") << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
}

void tst_TPictureFile::badFilesFailClearly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    const QString path = Path(u"picture.bmp"_s);
    WriteAll(path, bytes);
    const QString message = FailureOf<EPictureFileError>([&] { TPictureFile::Load(path); });
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    // in the interface's language: besides the file's name, no English word
    if (!reason.isEmpty()) {
        const QString rest = QString(message).remove(path).remove(u"BMP"_s);
        QVERIFY2(!rest.contains(QRegularExpression(u"[A-Za-z]{3,}"_s)), qPrintable(message));
    }
}

void tst_TPictureFile::failedSaveNamesFileAndKeepsFolder()
{
    QVERIFY(QDir(FDir->path()).mkdir(u"taken.bmp"_s));
    for (const QString& name : {u"taken.bmp"_s, u"missing/out.bmp"_s}) {
        const QString path = Path(name);
        const QString message =
            FailureOf<EPictureFileError>([&] { TPictureFile::SaveBmp24(Pattern(2, 2), path); });
        QVERIFY2(message.contains(path), qPrintable(message));
    }
    QVERIFY(QFileInfo(Path(u"taken.bmp"_s)).isDir());
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList {u"taken.bmp"_s});

    // missing files and folders fail to load the same clear way
    for (const QString& name : {u"taken.bmp"_s, u"absent.bmp"_s}) {
        const QString message =
            FailureOf<EPictureFileError>([&] { TPictureFile::Load(Path(name)); });
        QVERIFY2(message.contains(Path(name)), qPrintable(message));
    }
}

void tst_TPictureFile::interruptedSaveKeepsOldFile()
{
    const QString path = Path(u"export.bmp"_s);
    TPictureFile::SaveBmp24(Pattern(4, 4), path);
    const QByteArray old = ReadAll(path);

    QString message;
    {
        // 588 x 356 x 3 bytes do not fit in 64 KiB
        const TFileSizeLimit limit(64 * 1024);
        message =
            FailureOf<EPictureFileError>([&] { TPictureFile::SaveBmp24(Pattern(588, 356), path); });
    }
    QVERIFY2(message.contains(path), qPrintable(message));
    // the real reason of the short write, not an unknown error
    QVERIFY2(message.contains(u"ファイルガ大キスギマス"_s), qPrintable(message));
    QCOMPARE(ReadAll(path), old);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {u"export.bmp"_s});
}

void tst_TPictureFile::specialFilesAreRefusedAtOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO named like a picture") << u"fifo"_s;
    QTest::newRow("device") << u"device"_s;
}

// Opening a FIFO nothing writes to, or reading a device, would never return.
void tst_TPictureFile::specialFilesAreRefusedAtOnce()
{
    QFETCH(QString, kind);
    QString path = Path(u"x.bmp"_s);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        path = u"/dev/zero"_s;
    const QString message = FailureOf<EPictureFileError>([&] { TPictureFile::Load(path); });
    QCOMPARE(
        message,
        u"\"%1\" ハ通常ノファイルデハアリマセン。読込メルノハ通常ノファイルダケデス。"_s.arg(path));
}

QUILVORO_APP_TEST_MAIN(tst_TPictureFile)
#include "tst_TPictureFile.moc"
