// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTrackBar.h"
#include "platform/Cp932Codec.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

using namespace FileTesting;

QString WriteBmp(const QString& path, QColor color)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(color);
    image.save(path, "BMP");
    return path;
}

// A window whose picture reads fail as a huge picture's would: out of memory.
class TOutOfMemoryForm : public TMakeForm1
{
public:
    using TMakeForm1::TMakeForm1;

protected:
    QImage LoadPicture(const QString&, TPictureUse) const override { throw std::bad_alloc(); }
};

} // namespace

Q_DECLARE_METATYPE(LogoDocument)

class tst_LogoFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void writesTheKeysInOrder()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.NewDocument();
        const QString file = FDir.filePath(u"new.qvd"_s);
        form.SaveLogoFile(file);
        const QByteArray expected = "[SET]\r\nLabel=Tamrin - Quilvoro\r\nFont="
            + Cp932Codec::Encode(form.Label1->Font()->Name())
            + "\r\nBold=0\r\nItalic=0\r\nUnder=0\r\nStrike=0\r\nSize=40\r\nAngle=0\r\n"
              "Style1=1\r\nStyle2=0\r\nStyle3=0\r\nShadow1=0\r\nShadow2=0\r\nShadow3=1\r\n"
              "Depth=30\r\nOrientation=0\r\nColor1=16777215\r\nColor2=8421504\r\nColor3=0\r\n"
              "Image1=\r\nImage2=\r\n";
        QCOMPARE(ReadAll(file), expected);
    }

    void savingTwiceKeepsOneCopyAndOtherSections()
    {
        const QString file = FDir.filePath(u"twice.qvd"_s);
        WriteAll(file, "[Other]\r\nKeep=me\r\n[SET]\r\nSize=12\r\n; note\r\n");
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SaveLogoFile(file);
        form.TrackBar1->SetPosition(77);
        form.SaveLogoFile(file);
        const QByteArray bytes = ReadAll(file);
        QVERIFY(bytes.startsWith("[Other]\r\nKeep=me\r\n[SET]\r\nSize=77\r\n; note\r\n"));
        QCOMPARE(bytes.count("Size="), 1);
        QCOMPARE(bytes.count("Label="), 1);
        QCOMPARE(bytes.count("\r\n["), 1);
    }

    void readsHandEditedValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("size");

        QTest::newRow("hex 0x") << QByteArray("Size=0x1F") << 31;
        QTest::newRow("hex dollar") << QByteArray("Size=$20") << 32;
        QTest::newRow("minus zero clamps to 1") << QByteArray("Size=-0") << 1;
        QTest::newRow("letters keep") << QByteArray("Size=abc") << 55;
        QTest::newRow("unit keeps") << QByteArray("Size=12px") << 55;
        QTest::newRow("too big clamps") << QByteArray("Size=900") << 200;
        QTest::newRow("spaces and case") << QByteArray("  size = 64") << 64;
        QTest::newRow("missing keeps") << QByteArray("Other=1") << 55;
    }

    void readsHandEditedValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, size);
        const QString file = FDir.filePath(u"hand.qvd"_s);
        WriteAll(file, "[set]\n" + line + "\n");
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.TrackBar1->SetPosition(55);
        form.LoadLogoFile(file);
        QCOMPARE(form.TrackBar1->Position(), size);
        QCOMPARE(form.Label1->Font()->Size(), size);
    }

    void readsFontStylesAsOneGroup()
    {
        const QString file = FDir.filePath(u"styles.qvd"_s);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        WriteAll(file, "[SET]\r\nBold=1\r\nItalic=1\r\n");
        form.LoadLogoFile(file);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(fsItalic));
        QVERIFY(!form.SpeedButton18->Down());

        form.SpeedButton18->SetDown(true);
        form.SpeedButton18Click(&form);
        WriteAll(file, "[SET]\r\nBold=0\r\nItalic=0\r\nUnder=0\r\nStrike=0\r\n");
        form.LoadLogoFile(file);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(0));
    }

    void clampsTheDirectionAndKeepsAMissingOne()
    {
        const QString file = FDir.filePath(u"direction.qvd"_s);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        WriteAll(file, "[SET]\r\nOrientation=9\r\n");
        form.LoadLogoFile(file);
        QCOMPARE(form.TrackBar6->Position(), 7);
        QCOMPARE(form.Label1->Effect3D()->Orientation(), dxfRight);
        WriteAll(file, "[SET]\r\nDepth=5\r\n");
        form.LoadLogoFile(file);
        QCOMPARE(form.TrackBar6->Position(), 7);
        QCOMPARE(int(form.Label1->Effect3D()->Depth()), 5);
    }

    void allLabelStylesOffKeepsTheCurrentOne()
    {
        const QString file = FDir.filePath(u"labelstyle.qvd"_s);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SpeedButton8->SetDown(true);
        form.SpeedButton8Click(&form);
        WriteAll(file, "[SET]\r\nStyle1=0\r\nStyle2=0\r\nStyle3=0\r\n");
        form.LoadLogoFile(file);
        QVERIFY(form.SpeedButton8->Down());
        QCOMPARE(form.Label1->Style(), dxfOutLine);
    }

    void loadsAndRemovesPictures()
    {
        TestDialogs dialogs;
        const QString back = WriteBmp(FDir.filePath(u"back.bmp"_s), Qt::blue);
        const QString texture = WriteBmp(FDir.filePath(u"tex.bmp"_s), Qt::red);
        const QString file = FDir.filePath(u"pictures.qvd"_s);
        WriteAll(file,
                 "[SET]\r\nImage1=" + texture.toUtf8() + "\r\nImage2=" + back.toUtf8() + "\r\n");
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.LoadLogoFile(file);
        QVERIFY(!form.Image1->isHidden());
        QCOMPARE(form.Image1->Picture().size(), QSize(6, 4));
        QVERIFY(form.Label1->Transparent());
        QCOMPARE(form.Label1->Glyph()->size(), QSize(6, 4));
        QVERIFY(dialogs.messages.isEmpty());

        WriteAll(file, "[SET]\r\nImage1=\r\nImage2=\r\n");
        form.LoadLogoFile(file);
        QVERIFY(form.Image1->isHidden());
        QVERIFY(form.Image1->Picture().isNull());
        QVERIFY(!form.Label1->Transparent());
        QVERIFY(form.Label1->Glyph()->isNull());
    }

    void reportsPicturesThatFailToLoad_data()
    {
        QTest::addColumn<bool>("outOfMemory");
        QTest::addColumn<QString>("folder");

        QTest::newRow("missing files") << false << u"/nowhere"_s;
        QTest::newRow("out of memory") << true << FDir.path();
    }

    void reportsPicturesThatFailToLoad()
    {
        QFETCH(bool, outOfMemory);
        QFETCH(QString, folder);
        TestDialogs dialogs;
        TestEnvironment::PlayedSounds().clear();
        const QString texture = folder + u"/tex.bmp"_s;
        const QString back = folder + u"/back.bmp"_s;
        if (outOfMemory) {
            WriteBmp(texture, Qt::red);
            WriteBmp(back, Qt::blue);
        }
        const QString file = FDir.filePath(u"failing.qvd"_s);
        WriteAll(file, "[SET]\r\nImage1=" + texture.toUtf8() + "\r\nImage2=" + back.toUtf8());
        std::unique_ptr<TMakeForm1> form = outOfMemory
            ? std::make_unique<TOutOfMemoryForm>(u"/opt/q/quilvoro"_s)
            : std::make_unique<TMakeForm1>(u"/opt/q/quilvoro"_s);
        form->LoadLogoFile(file);
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages[0].text, u"文字画像(テクスチャ)ファイル存在セズ..."_s);
        QCOMPARE(dialogs.messages[1].text, u"背景画像ファイル存在セズ..."_s);
        QCOMPARE(dialogs.messages[0].caption, u"Quilvoro"_s);
        QCOMPARE(TestEnvironment::PlayedSounds(), (QStringList {u"beep:0"_s, u"beep:0"_s}));
        QVERIFY(form->Label1->Glyph()->isNull());
        QVERIFY(form->Image1->Picture().isNull());
        // The names stay remembered, so the next save writes them again.
        QCOMPARE(form->OpenPictureDialog2->FileName(), texture);
        QCOMPARE(form->OpenPictureDialog1->FileName(), back);
    }

    void showsTheDocumentItWasGiven_data()
    {
        QTest::addColumn<LogoDocument>("document");

        // the list shows a face that stands in for a layout name, so name installed faces
        LogoDocument d;
        d.FontName = u"DejaVu Sans"_s;
        QTest::newRow("defaults") << d;
        d.Text = u"空間カラ離脱"_s;
        d.FontName = u"DejaVu Serif"_s;
        d.FontStyle = TLogoFontStyle::Underline;
        d.Size = 120;
        d.Angle = 30;
        d.LabelStyle = TLogoLabelStyle::Solid;
        d.ShadowStyle = TLogoShadowStyle::Deep;
        d.Depth = 200;
        d.Direction = 5;
        d.TextColor = 0x00102030;
        d.ShadowColor = clBtnShadow;
        d.BackgroundColor = 0x00FFEEDD;
        QTest::newRow("every setting changed") << d;
        d.FontStyle = TLogoFontStyle::None;
        d.LabelStyle = TLogoLabelStyle::Outline;
        d.ShadowStyle = TLogoShadowStyle::Normal;
        QTest::newRow("no font style, outline, normal shadow") << d;
        // settings without a control of the window's own are kept as well
        d.Edge1Width = 4;
        d.Edge1Color = clRed;
        d.Fill = TLogoFill::Gradient;
        d.FillColor2 = clBlue;
        d.GlowSize = 6;
        d.Spacing = 10;
        QTest::newRow("decorations") << d;
        d.TextureFile = u"tex.bmp"_s;
        d.BackgroundFile = u"back.bmp"_s;
        QTest::newRow("pictures") << d;
    }

    void showsTheDocumentItWasGiven()
    {
        QFETCH(LogoDocument, document);
        TestDialogs dialogs;
        if (!document.TextureFile.isEmpty()) {
            document.TextureFile = WriteBmp(FDir.filePath(document.TextureFile), Qt::red);
            document.BackgroundFile = WriteBmp(FDir.filePath(document.BackgroundFile), Qt::blue);
        }
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.ApplyDocument(document);
        QCOMPARE(form.Document(), document);
        QCOMPARE(form.Label1->Font()->Name(), document.FontName);
        QCOMPARE(form.Label1->Angle(), document.Angle);
        QCOMPARE(form.ColorDialog3->Color(), document.ShadowColor);
        QCOMPARE(form.Label1->Transparent(), !document.BackgroundFile.isEmpty());
        QVERIFY(dialogs.messages.isEmpty());

        // what Save writes, Load brings back into a window that shows something else
        const QString file = FDir.filePath(u"shown.qvd"_s);
        QFile::remove(file);
        form.SaveLogoFile(file);
        TMakeForm1 other(u"/opt/q/quilvoro"_s);
        other.ApplyDocument([] {
            LogoDocument d;
            d.FontStyle = TLogoFontStyle::Bold;
            d.LabelStyle = TLogoLabelStyle::Outline;
            return d;
        }());
        other.LoadLogoFile(file);
        QCOMPARE(other.Document(), document);
    }

    void newKeepsFaceAndTexture()
    {
        TestDialogs dialogs;
        LogoDocument d;
        d.FontName = u"DejaVu Serif"_s;
        d.FontStyle = TLogoFontStyle::Italic;
        d.Size = 90;
        d.LabelStyle = TLogoLabelStyle::Outline;
        d.TextureFile = WriteBmp(FDir.filePath(u"newtex.bmp"_s), Qt::red);
        d.BackgroundFile = WriteBmp(FDir.filePath(u"newback.bmp"_s), Qt::blue);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.ApplyDocument(d);
        form.NewDocument();
        LogoDocument expected;
        expected.FontName = d.FontName;
        expected.TextureFile = d.TextureFile;
        QCOMPARE(form.Document(), expected);
        QCOMPARE(form.Label1->Glyph()->size(), QSize(6, 4));
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(0));
        QVERIFY(!form.Label1->Transparent());
    }

    void roundTripsCaptions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("startsWith");

        QTest::newRow("japanese in cp932")
            << u"空間カラ離脱"_s << QByteArray("[SET]\r\nLabel=\x8B\xF3");
        QTest::newRow("emoji in utf-8 with bom") << u"Logo 🚀"_s << QByteArray("\xEF\xBB\xBF[SET]");
    }

    void roundTripsCaptions()
    {
        QFETCH(QString, caption);
        QFETCH(QByteArray, startsWith);
        const QString file = FDir.filePath(u"caption.qvd"_s);
        QFile::remove(file);
        TMakeForm1 writer(u"/opt/q/quilvoro"_s);
        writer.Edit1->SetText(caption);
        writer.SaveLogoFile(file);
        QVERIFY(ReadAll(file).startsWith(startsWith));
        TMakeForm1 reader(u"/opt/q/quilvoro"_s);
        reader.LoadLogoFile(file);
        QCOMPARE(reader.Edit1->Text(), caption);
        QCOMPARE(reader.Label1->Caption(), caption);
    }

    void failedSaveLeavesTheOldFile()
    {
        const QString file = FDir.filePath(u"keep.qvd"_s);
        const QByteArray old = "[SET]\r\nSize=12\r\n";
        WriteAll(file, old);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        bool threw = false;
        {
            // A file-size limit makes the write fail even for root.
            const TFileSizeLimit limit(200);
            try {
                form.SaveLogoFile(file);
            } catch (const std::exception& e) {
                threw = QString::fromUtf8(e.what()).contains(file);
            }
        }
        QVERIFY(threw);
        QCOMPARE(ReadAll(file), old);
    }

    void saveButtonWritesTheChosenFileOnly()
    {
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SpeedButton3Click(&form); // cancelled
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(dialogs.fileRequests.first().title, u"ロゴデータノ保存"_s);
        QCOMPARE(dialogs.fileRequests.first().filter, u"QVDファイル (*.qvd)|*.qvd"_s);
        const QString file = FDir.filePath(u"button.qvd"_s);
        dialogs.fileAnswers.push_back(file);
        form.SpeedButton3Click(&form);
        QVERIFY(ReadAll(file).startsWith("[SET]\r\nLabel="));
    }

private:
    QTemporaryDir FDir;
};

QUILVORO_APP_TEST_MAIN(tst_LogoFile)
#include "tst_LogoFile.moc"
