// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "framework/TDialogs.h"
#include "framework/TFileDialog.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"

#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TFileDialog::Mode)

namespace {

const QString kBmpFilter = u"BMPファイル (*.bmp)|*.bmp"_s;

TFileDialogOptions PictureOptions(const QString& dir)
{
    TFileDialogOptions options;
    options.title = u"背景画像ノ読込"_s;
    options.filter = kBmpFilter;
    options.defaultExt = u"bmp"_s;
    options.initialDir = dir;
    options.picture = true;
    return options;
}

QImage Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 40));
    return image;
}

} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageTextCanBeSelectedAndCopied()
    {
        const auto box = TDialogs::MakeMessageBox(nullptr, u"https://www.quilvoro.example/"_s,
                                                  u"Quilvoro"_s, MB_ICONINFORMATION);
        QCOMPARE(box->text(), u"https://www.quilvoro.example/"_s);
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QCOMPARE(box->icon(), QMessageBox::Information);
    }

    void textWindowShowsTheTextReadOnly()
    {
        QWidget parent;
        QWidget* window =
            TDialogs::MakeTextWindow(&parent, u"ユーザーズガイド"_s, u"一行目\n二行目"_s);
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowTitle(), u"ユーザーズガイド"_s);
        auto* view = window->findChild<QPlainTextEdit*>();
        QVERIFY(view);
        QVERIFY(view->isReadOnly());
        QCOMPARE(view->toPlainText(), u"一行目\n二行目"_s);
    }

    void pictureFiltersPutTheLayoutsFirstThenEveryReadableFormat()
    {
        const QStringList filters = TDialogs::PictureFilters(kBmpFilter);
        QCOMPARE(filters.constFirst(), u"BMPファイル (*.bmp)"_s);
        QVERIFY(filters.at(1).startsWith(u"すべての画像 (*.bmp "_s));
        const QString all = filters.at(1);
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            QVERIFY2(all.contains(u"*."_s + QString::fromLatin1(format)), format.constData());
        // One entry per kind of picture besides BMP, which is not offered twice.
        QCOMPARE(filters.filter(u"*.bmp"_s).size(), 2);
        QCOMPARE(filters.filter(u"*.png"_s).size(), 2);
        const QStringList jpeg = filters.filter(u"*.jpg"_s);
        if (QImageReader::supportedImageFormats().contains("jpg")) {
            QCOMPARE(jpeg.size(), 2);
            QVERIFY(jpeg.at(1).contains(u"*.jpeg"_s)); // jpg and jpeg share their entry
        }
    }

    void onlyPictureDialogsAskForPictures_data()
    {
        QTest::addColumn<TFileDialog::Mode>("mode");
        QTest::addColumn<bool>("picture");
        QTest::newRow("open") << TFileDialog::Open << false;
        QTest::newRow("save") << TFileDialog::Save << false;
        QTest::newRow("open picture") << TFileDialog::OpenPicture << true;
    }

    void onlyPictureDialogsAskForPictures()
    {
        QFETCH(TFileDialog::Mode, mode);
        QFETCH(bool, picture);
        TestDialogs dialogs;
        TFileDialog dialog(mode);
        dialog.SetFilter(kBmpFilter);
        QVERIFY(!dialog.Execute(nullptr));
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(dialogs.fileRequests.at(0).picture, picture);
    }

    void plainDialogsKeepTheirFilter()
    {
        TFileDialogOptions options;
        options.filter = u"QVDファイル (*.qvd)|*.qvd"_s;
        const auto dialog = TDialogs::MakeFileDialog(nullptr, options);
        QCOMPARE(dialog->nameFilters(), QStringList {u"QVDファイル (*.qvd)"_s});
        QVERIFY(!dialog->findChild<QWidget*>(u"picturePreview"_s));
        // Qt's own dialog, so it speaks the program's language on every desktop.
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    }

    void opensOnTheTypeOfItsFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("no file yet") << QString() << u"BMPファイル (*.bmp)"_s << u"bmp"_s;
        QTest::newRow("the last type")
            << u"/tmp/arch.pdf"_s << u"PDFファイル (*.pdf)"_s << u"pdf"_s;
        QTest::newRow("in capitals") << u"/tmp/ARCH.PNG"_s << u"PNGファイル (*.png)"_s << u"png"_s;
        QTest::newRow("a type not offered")
            << u"/tmp/arch.gif"_s << u"BMPファイル (*.bmp)"_s << u"bmp"_s;
    }

    // The export dialog offers its last type again, not the first one.
    void opensOnTheTypeOfItsFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        TFileDialogOptions options;
        options.filter = u"BMPファイル (*.bmp)|*.bmp|PNGファイル (*.png)|*.png|"
                         "PDFファイル (*.pdf)|*.pdf"_s;
        options.defaultExt = u"bmp"_s;
        options.fileName = fileName;
        const auto dialog = TDialogs::MakeFileDialog(nullptr, options);
        QCOMPARE(dialog->selectedNameFilter(), filter);
        QCOMPARE(dialog->defaultSuffix(), suffix);
    }

    void pictureDialogPreviewsTheHighlightedPicture()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath(u"wide.png"_s);
        const QString bmp = dir.filePath(u"small.bmp"_s);
        const QString text = dir.filePath(u"notes.bmp"_s);
        QVERIFY(Picture(400, 100).save(png));
        QVERIFY(Picture(20, 30).save(bmp));
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a picture") > 0);
        notes.close();

        const auto dialog = TDialogs::MakeFileDialog(nullptr, PictureOptions(dir.path()));
        auto* picture = dialog->findChild<QLabel*>(u"previewPicture"_s);
        auto* size = dialog->findChild<QLabel*>(u"previewSize"_s);
        QVERIFY(picture && size);

        Q_EMIT dialog->currentChanged(png);
        QCOMPARE(size->text(), u"400 × 100"_s);
        QCOMPARE(picture->pixmap().size(), QSize(160, 40)); // shrunk to fit, shape kept

        Q_EMIT dialog->currentChanged(bmp);
        QCOMPARE(size->text(), u"20 × 30"_s);
        QCOMPARE(picture->pixmap().size(), QSize(20, 30)); // small pictures are not enlarged
        QCOMPARE(picture->pixmap().toImage().pixel(10, 10), qRgb(200, 40, 40));

        for (const QString& other : {text, dir.path(), dir.filePath(u"gone.bmp"_s)}) {
            Q_EMIT dialog->currentChanged(other);
            QVERIFY2(picture->pixmap().isNull(), qPrintable(other));
            QVERIFY(size->text().isEmpty());
        }
    }

    void typingANameInThePictureDialogStillChoosesIt()
    {
        QTemporaryDir dir;
        QVERIFY(Picture(8, 8).save(dir.filePath(u"typed.bmp"_s)));
        const auto dialog = TDialogs::MakeFileDialog(nullptr, PictureOptions(dir.path()));
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        QVERIFY(edit);
        edit->setText(u"typed"_s); // the default extension completes it
        static_cast<QDialog*>(dialog.get())->accept(); // what the open button does
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->selectedFiles(), QStringList {dir.filePath(u"typed.bmp"_s)});
    }
};

QUILVORO_APP_TEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
