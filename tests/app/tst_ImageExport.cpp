// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

using FileTesting::ReadAll;

// The window with the preview in view, as after the first New.
void BringPreviewIntoView(TMakeForm1& form)
{
    form.show();
    form.SpeedButton1Click(&form);
    while (form.Timer1->Enabled())
        form.Timer1->Tick();
}

// A picture whose every pixel differs from its neighbours, so that any shift shows.
QImage Noise(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y * 13) & 255, (x * x + y) & 255, (x ^ y) & 255));
    }
    return picture;
}

QImage ReadImage(const QString& file)
{
    const QImage image(file);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

int CountAqua(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == 0x00FFFF;
    }
    return n;
}

} // namespace

class tst_ImageExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestEnvironment::Pin();
        // The remembered export options go to a test folder, emptied first.
        QStandardPaths::setTestModeEnabled(true);
        QSettings(u"Quilvoro"_s, u"Quilvoro"_s).clear();
    }

    void init() { QSettings(u"Quilvoro"_s, u"Quilvoro"_s).clear(); }

    void capturesThePreviewWithoutTheFrame()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(40, 30, 200, 120);
        const QImage shot = form.CaptureSelection();
        QCOMPARE(shot.size(), QSize(200, 120));
        QVERIFY(form.SelShape1->isVisible());
        QCOMPARE(CountAqua(shot), 0);
        // The same pixels as the label shows there: the frame sits 36, 26 into the label.
        const QImage label = form.Label1->grab()
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB888)
                                 .copy(36, 26, 200, 120);
        QCOMPARE(shot, label);
    }

    void cornerExportIncludesTheBevel()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(0, 0, 20, 20);
        const QImage shot = form.CaptureSelection();
        // The raised outer bevel's light edge is the top-left pixel.
        QCOMPARE(shot.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
        QCOMPARE(shot.pixel(10, 10) & 0xFFFFFF, 0x000000u);
    }

    void writesA24BitBmp()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        const QString file = dir.filePath(u"logo.bmp"_s);
        dialogs.fileAnswers.push_back(file);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(6, 6, 101, 33);
        form.SpeedButton6Click(&form);
        const TFileDialogOptions asked = dialogs.fileRequests.first();
        QCOMPARE(asked.title, u"ロゴデータノBMP保存 （水色点線範囲）"_s);
        QCOMPARE(asked.filter,
                 u"BMPファイル (*.bmp)|*.bmp|PNGファイル (*.png)|*.png|"
                 "SVGファイル (*.svg)|*.svg|PDFファイル (*.pdf)|*.pdf"_s);
        // The entries the dialog lists, BMP first.
        QCOMPARE(TDialogs::QtFilter(asked.filter).split(u";;"_s),
                 QStringList({u"BMPファイル (*.bmp)"_s, u"PNGファイル (*.png)"_s,
                              u"SVGファイル (*.svg)"_s, u"PDFファイル (*.pdf)"_s}));
        QCOMPARE(asked.defaultExt, u"bmp"_s);
        QVERIFY(dialogs.pngRequests.isEmpty());
        const QByteArray bytes = ReadAll(file);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), 101);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), 33);
        const int stride = (101 * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.size(), 54 + stride * 33);
        QCOMPARE(form.Image2->Picture().size(), QSize(101, 33));
        QCOMPARE(ReadImage(file), form.CaptureSelection().convertToFormat(QImage::Format_RGB32));
    }

    // At start the preview lies out of view above the window; the export still renders it.
    void exportsBeforeTheFirstNew()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        const QString file = dir.filePath(u"start.bmp"_s);
        dialogs.fileAnswers.push_back(file);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        form.SpeedButton6Click(&form);
        const QImage written = ReadImage(file);
        QCOMPARE(written.size(), QSize(588, 356));
        const QImage label = form.Label1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(written, label.copy(2, 2, 588, 356));
    }

    void pngGetsPngDataAtTheChosenScale_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("transparent");
        QTest::newRow("1, opaque") << 1 << false;
        QTest::newRow("2, transparent") << 2 << true;
        QTest::newRow("3, opaque") << 3 << false;
        QTest::newRow("8, transparent") << 8 << true;
    }

    void pngGetsPngDataAtTheChosenScale()
    {
        QFETCH(int, scale);
        QFETCH(bool, transparent);
        QTemporaryDir dir;
        TestDialogs dialogs;
        const QString file = dir.filePath(u"logo.png"_s);
        dialogs.fileAnswers.push_back(file);
        dialogs.pngAnswers.push_back(TPngOptions {scale, transparent});
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(150, 140, 120, 50);
        form.SpeedButton6Click(&form);

        QCOMPARE(dialogs.pngRequests.size(), 1);
        QCOMPARE(dialogs.pngRequests.first().regionSize, QSize(120, 50));
        QCOMPARE(dialogs.pngRequests.first().scales, QList<int>({1, 2, 3, 4, 8}));
        QVERIFY(ReadAll(file).startsWith("\x89PNG\r\n\x1a\n"));
        const QImage written = ReadImage(file);
        QCOMPARE(written.size(), QSize(120, 50) * scale);
        QCOMPARE(written.hasAlphaChannel(), transparent);
        // The top-left corner shows only the background: gone when transparent.
        QCOMPARE(qAlpha(written.pixel(0, 0)), transparent ? 0 : 255);
        if (scale == 1 && !transparent)
            QCOMPARE(written.convertToFormat(QImage::Format_RGB32),
                     form.CaptureSelection().convertToFormat(QImage::Format_RGB32));
    }

    void pngOptionsAreRemembered()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        dialogs.fileAnswers = {dir.filePath(u"a.png"_s), dir.filePath(u"b.PNG"_s)};
        dialogs.pngAnswers = {TPngOptions {4, true}, std::nullopt};
        form.SpeedButton6Click(&form);
        form.SpeedButton6Click(&form);
        QCOMPARE(dialogs.pngRequests.size(), 2);
        QCOMPARE(dialogs.pngRequests[0].initial, TPngOptions {});
        QCOMPARE(dialogs.pngRequests[1].initial, (TPngOptions {4, true}));
        QCOMPARE(ReadImage(dir.filePath(u"a.png"_s)).size(), QSize(588 * 4, 356 * 4));
        // Cancelling the options writes nothing.
        QVERIFY(!QFile::exists(dir.filePath(u"b.PNG"_s)));
    }

    // Over a background picture the letters' antialiased edges blend with the picture; none
    // keeps a fringe of the label's own background colour.
    void noHaloOverTheBackgroundPicture()
    {
        QTemporaryDir dir;
        QImage blue(592, 360, QImage::Format_RGB32);
        blue.fill(qRgb(0, 0, 255));
        const QString picture = dir.filePath(u"blue.bmp"_s);
        QVERIFY(blue.save(picture, "BMP"));
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        dialogs.fileAnswers = {picture};
        form.SpeedButton16Click(&form);
        dialogs.colorAnswers.push_back(RGB(0, 255, 0));
        form.SpeedButton15Click(&form);
        form.TrackBar2->SetPosition(0);
        form.TrackBar3->SetPosition(20);
        const QImage shot = form.CaptureSelection().convertToFormat(QImage::Format_RGB32);
        int edges = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                // White over blue: red and green rise together.
                const QRgb p = shot.pixel(x, y);
                QVERIFY2(std::abs(qRed(p) - qGreen(p)) <= 1 && qBlue(p) == 255,
                         qPrintable(u"%1,%2: %3"_s.arg(x).arg(y).arg(p, 0, 16)));
                edges += qRed(p) > 0 && qRed(p) < 255;
            }
        }
        QVERIFY(edges > 100);
    }

    void cancelledExportWritesNothing()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SpeedButton6Click(&form);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
        QVERIFY(form.SelShape1->isVisible());
    }

    void cancelledPictureDialogsRemoveThePictures()
    {
        QTemporaryDir dir;
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::green);
        const QString file = dir.filePath(u"pic.bmp"_s);
        QVERIFY(picture.save(file, "BMP"));

        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        dialogs.fileAnswers = {file, file};
        form.SpeedButton16Click(&form);
        form.SpeedButton17Click(&form);
        QVERIFY(!form.Image1->isHidden());
        QVERIFY(form.Label1->Transparent());
        QCOMPARE(form.Label1->Glyph()->size(), QSize(8, 8));
        QCOMPARE(dialogs.fileRequests[0].title, u"背景画像ノ読込"_s);
        QCOMPARE(dialogs.fileRequests[1].title, u"文字画像（テクスチャ）ノ読込"_s);

        form.SpeedButton16Click(&form);
        form.SpeedButton17Click(&form);
        QVERIFY(form.Image1->isHidden());
        QVERIFY(form.Image1->Picture().isNull());
        QVERIFY(!form.Label1->Transparent());
        QVERIFY(form.Label1->Glyph()->isNull());
        QVERIFY(form.OpenPictureDialog1->FileName().isEmpty());
        QVERIFY(form.OpenPictureDialog2->FileName().isEmpty());
    }

    void picturesOfAnyReadableFormatLoadThroughPictureDialogs()
    {
        QTemporaryDir dir;
        QImage picture(6, 5, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        const QString file = dir.filePath(u"pic.png"_s);
        QVERIFY(picture.save(file, "PNG"));

        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        dialogs.fileAnswers = {file, file};
        form.SpeedButton16Click(&form);
        form.SpeedButton17Click(&form);
        QCOMPARE(form.Image1->Picture().size(), QSize(6, 5));
        QCOMPARE(form.Label1->Glyph()->size(), QSize(6, 5));
        for (const TFileDialogOptions& request : dialogs.fileRequests) {
            QVERIFY(request.picture);
            QVERIFY(request.filter.startsWith(u"BMPファイル (*.bmp)"_s));
        }
    }

    void badPicturesFailWithoutHarm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray header("BM", 2);
        header += QByteArray(52, '\0');
        QTest::newRow("not a picture") << QByteArray("hello, world");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << header;
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bmp;
        {
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
        }
        QTest::newRow("truncated") << bmp.left(bmp.size() / 2);
        QByteArray huge = bmp;
        qToLittleEndian<qint32>(200000, huge.data() + 18);
        qToLittleEndian<qint32>(200000, huge.data() + 22);
        QTest::newRow("gigantic claim") << huge;
    }

    void badPicturesFailWithoutHarm()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"bad.bmp"_s);
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();

        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        QImage good(4, 4, QImage::Format_RGB32);
        good.fill(Qt::blue);
        form.Label1->SetGlyph(good);
        dialogs.fileAnswers = {file};
        bool failed = false;
        try {
            form.SpeedButton17Click(&form);
        } catch (const std::exception&) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(form.Label1->Glyph()->size(), QSize(4, 4));
        QCOMPARE(form.OpenPictureDialog2->FileName(), file);
    }

    // Pictures larger than the preview are read only where a render can show them; the screen
    // and an export at a larger scale still show what the whole pictures give.
    void largePicturesAreReadWhereShown()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        const QImage back = Noise({901, 503});
        const QImage texture = Noise({700, 450}).mirrored(true, false);
        QVERIFY(back.save(dir.filePath(u"back.bmp"_s), "BMP"));
        QVERIFY(texture.save(dir.filePath(u"tex.bmp"_s), "BMP"));
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.TrackBar1->SetPosition(150);
        QVERIFY(form.SetTextureFile(dir.filePath(u"tex.bmp"_s)));
        QVERIFY(form.SetBackgroundFile(dir.filePath(u"back.bmp"_s)));
        QVERIFY(form.Pictures().background.width() < back.width());
        QVERIFY(form.Pictures().texture.width() < texture.width());

        const RenderPictures whole {back, texture};
        RenderOptions options;
        options.region = form.SelectionRegion();
        options.scale = 3;
        QCOMPARE(form.RenderSelection(options),
                 DocumentRenderer::Render(form.ShownDocument(), whole, options));
        // on screen the part lies where the whole picture, centred, lay
        QImage centred(form.Image1->size(), QImage::Format_RGB32);
        centred.fill(Qt::black);
        QPainter(&centred).drawImage(
            QPoint((centred.width() - back.width()) / 2, (centred.height() - back.height()) / 2),
            back);
        QCOMPARE(form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32), centred);
    }
};

QUILVORO_APP_TEST_MAIN(tst_ImageExport)
#include "tst_ImageExport.moc"
