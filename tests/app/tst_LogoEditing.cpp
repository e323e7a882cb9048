// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TColorDialog.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/TImage.h"
#include "framework/TTrackBar.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_LogoEditing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }

    void keepsAtMostOneFontStyle()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.show();
        QTest::mouseClick(form.SpeedButton18, Qt::LeftButton);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(fsBold));
        QTest::mouseClick(form.SpeedButton19, Qt::LeftButton);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(fsItalic));
        QVERIFY(!form.SpeedButton18->Down());
        QTest::mouseClick(form.SpeedButton19, Qt::LeftButton);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(0));
        QVERIFY(!form.SpeedButton19->Down());
    }

    void mapsDirectionsClockwise_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("orientation");
        const int table[] = {dxfRightBottom, dxfBottom, dxfLeftBottom, dxfLeft,
                             dxfLeftTop,     dxfTop,    dxfRightTop,   dxfRight};
        for (int p = 0; p < 8; ++p)
            QTest::addRow("position %d", p) << p << table[p];
    }

    void mapsDirectionsClockwise()
    {
        QFETCH(int, position);
        QFETCH(int, orientation);
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.TrackBar6->SetPosition(position == 0 ? 7 : 0);
        form.TrackBar6->SetPosition(position);
        QCOMPARE(int(form.Label1->Effect3D()->Orientation()), orientation);
    }

    void carriesControlsIntoTheLabel()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.Edit1->SetText(u"Logo"_s);
        QCOMPARE(form.Label1->Caption(), u"Logo"_s);
        form.TrackBar1->SetPosition(72);
        QCOMPARE(form.Label1->Font()->Size(), 72);
        form.TrackBar2->SetPosition(120);
        QCOMPARE(int(form.Label1->Effect3D()->Depth()), 120);
        form.TrackBar3->SetPosition(45);
        QCOMPARE(form.Label1->Angle(), 45);

        form.SpeedButton8->SetDown(true);
        form.SpeedButton8Click(&form);
        QCOMPARE(form.Label1->Style(), dxfOutLine);
        form.SpeedButton9Click(&form);
        QCOMPARE(form.Label1->Style(), dxfRaised);
        form.SpeedButton7Click(&form);
        form.SpeedButton7Click(&form); // the same style again changes nothing
        QCOMPARE(form.Label1->Style(), dxfNormal);

        form.SpeedButton10Click(&form);
        QCOMPARE(form.Label1->Effect3D()->Style(), dxfCool);
        form.SpeedButton11Click(&form);
        QCOMPARE(form.Label1->Effect3D()->Style(), dxfExtrude);
        form.SpeedButton12Click(&form);
        QCOMPARE(form.Label1->Effect3D()->Style(), dxfFun);
    }

    void appliesConfirmedColoursOnly_data()
    {
        QTest::addColumn<int>("button"); // 13 text, 14 shadow, 15 background
        QTest::addColumn<bool>("confirm");
        for (int b : {13, 14, 15}) {
            QTest::addRow("button %d confirmed", b) << b << true;
            QTest::addRow("button %d cancelled", b) << b << false;
        }
    }

    void appliesConfirmedColoursOnly()
    {
        QFETCH(int, button);
        QFETCH(bool, confirm);
        TestDialogs dialogs;
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const TColor chosen = 0x00123456;
        if (confirm)
            dialogs.colorAnswers.push_back(chosen);
        auto labelColor = [&] {
            switch (button) {
            case 13:
                return form.Label1->Font()->Color();
            case 14:
                return form.Label1->Effect3D()->ShadowedColor();
            default:
                return form.Label1->Color();
            }
        };
        const TColor before = labelColor();
        if (button == 13)
            form.SpeedButton13Click(&form);
        else if (button == 14)
            form.SpeedButton14Click(&form);
        else
            form.SpeedButton15Click(&form);
        QCOMPARE(dialogs.colorRequests.size(), 1);
        QCOMPARE(dialogs.colorRequests.first(), before); // opens on the current colour
        QCOMPARE(labelColor(), confirm ? chosen : before);
    }

    // A font style handler stands for its own button: up, it sets no style, whatever another
    // button of the group shows.
    void fontStyleHandlerStandsForItsButton()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        QTest::mouseClick(form.SpeedButton19, Qt::LeftButton);
        QCOMPARE(form.Document().FontStyle, TLogoFontStyle::Italic);
        form.SpeedButton18Click(&form);
        QCOMPARE(form.Document().FontStyle, TLogoFontStyle::None);
        QVERIFY(!form.SpeedButton19->Down());
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(0));
        form.SpeedButton18->SetDown(true);
        form.SpeedButton18Click(&form);
        QCOMPARE(form.Document().FontStyle, TLogoFontStyle::Bold);
    }

    void newDocumentRestoresAllButFaceAndTexture()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        const QString face = u"DejaVu Serif"_s;
        form.FontComboBox1->SetSelectedFont(face);
        QImage texture(4, 4, QImage::Format_RGB32);
        texture.fill(Qt::red);
        form.Editor->SetTexture(u"/tmp/texture.bmp"_s, texture);
        form.Edit1->SetText(u"Changed"_s);
        QTest::mouseClick(form.SpeedButton21, Qt::LeftButton);
        form.TrackBar1->SetPosition(99);
        form.TrackBar3->SetPosition(90);
        form.SpeedButton9->SetDown(true);
        form.SpeedButton9Click(&form);
        form.SpeedButton11->SetDown(true);
        form.SpeedButton11Click(&form);
        form.TrackBar2->SetPosition(3);
        form.TrackBar6->SetPosition(5);
        form.Editor->Change(
            [](LogoDocument& d) {
                d.TextColor = clNavy;
                d.ShadowColor = clAqua;
                d.BackgroundColor = clSilver;
            },
            TLogoHistory::hkOther);
        form.Editor->SetBackground(u"/tmp/back.bmp"_s, texture);
        form.OpenPictureDialog1->SetFileName(u"/tmp/back.bmp"_s);
        QVERIFY(form.Label1->Transparent());

        form.NewDocument();

        QCOMPARE(form.Label1->Font()->Name(), face);
        QCOMPARE(form.FontComboBox1->GetSelectedFont(), face);
        QVERIFY(!form.Label1->Glyph()->isNull());
        QCOMPARE(form.Label1->Caption(), u"Tamrin - Quilvoro"_s);
        QCOMPARE(form.Label1->Font()->Style(), TFontStyles(0));
        QVERIFY(!form.SpeedButton21->Down());
        QCOMPARE(form.Label1->Font()->Size(), 40);
        QCOMPARE(form.Label1->Angle(), 0);
        QCOMPARE(form.Label1->Style(), dxfNormal);
        QVERIFY(form.SpeedButton7->Down());
        QCOMPARE(form.Label1->Effect3D()->Style(), dxfFun);
        QVERIFY(form.SpeedButton12->Down());
        QCOMPARE(int(form.Label1->Effect3D()->Depth()), 30);
        QCOMPARE(form.Label1->Effect3D()->Orientation(), dxfRightBottom);
        QCOMPARE(form.Label1->Font()->Color(), clWhite);
        QCOMPARE(form.ColorDialog2->Color(), clWhite);
        QCOMPARE(form.Label1->Effect3D()->ShadowedColor(), clGray);
        QCOMPARE(form.ColorDialog3->Color(), clGray);
        QCOMPARE(form.Label1->Color(), clBlack);
        QCOMPARE(form.ColorDialog1->Color(), clBlack);
        QVERIFY(form.Image1->isHidden());
        QVERIFY(form.Image1->Picture().isNull());
        QVERIFY(!form.Label1->Transparent());
        QCOMPARE(form.OpenPictureDialog1->FileName(), u"/tmp/back.bmp"_s);
    }

    void newDocumentKeepsTheLayoutFaceSelected()
    {
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.NewDocument();
        QVERIFY(!form.FontComboBox1->GetSelectedFont().isEmpty());
        QVERIFY(!form.Label1->Font()->Name().isEmpty());
    }
};

QUILVORO_APP_TEST_MAIN(tst_LogoEditing)
#include "tst_LogoEditing.moc"
