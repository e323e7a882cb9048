#include "app/Makewindow1.h"
#include "controls/SelShape.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTimer.h"
#include "render/dxfLabel.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
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
    void initTestCase() { TestEnvironment::Pin(); }

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

    void writesA24BitBmpWhateverTheName()
    {
        QTemporaryDir dir;
        TestDialogs dialogs;
        const QString file = dir.filePath(u"logo.png"_s);
        dialogs.fileAnswers.push_back(file);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        BringPreviewIntoView(form);
        form.SelShape1->setGeometry(6, 6, 101, 33);
        form.SpeedButton6Click(&form);
        QCOMPARE(dialogs.fileRequests.first().title, u"ロゴデータノBMP保存 （水色点線範囲）"_s);
        const QByteArray bytes = ReadAll(file);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), 101);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), 33);
        const int stride = (101 * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.size(), 54 + stride * 33);
        QCOMPARE(form.Image2->Picture().size(), QSize(101, 33));
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
};

QUILVORO_APP_TEST_MAIN(tst_ImageExport)
#include "tst_ImageExport.moc"
