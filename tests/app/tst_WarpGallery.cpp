// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "app/PanelPlacement.h"
#include "app/ValueHints.h"
#include "app/WarpChooser.h"
#include "app/WarpGallery.h"
#include "app/WindowActions.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TEdit.h"
#include "framework/TPanel.h"
#include "framework/TTrackBar.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/PaintTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace WorkingWindow;

Q_DECLARE_METATYPE(TLogoWarp)

namespace {

QPoint CellCentre(TLogoWarp warp)
{
    return TWarpGallery::CellRect(int(warp)).center();
}

TWarpGallery* OpenWithKeys(TMakeForm1* form)
{
    QApplication::setActiveWindow(form);
    if (!QTest::qWaitForWindowActive(form))
        return nullptr;
    // from the text field too, as the window's other keys
    form->Edit1->setFocus();
    QTest::keyClick(form->Edit1, Qt::Key_T, Qt::ControlModifier);
    return form->WarpChooser->Gallery();
}

int Differing(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

class tst_WarpGallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void cleanup() { TApplication::Instance()->CancelHint(); }

    void ctrlTOpensItBesideThePreview()
    {
        auto form = WorkingForm();
        TWarpGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QVERIFY(gallery->isVisible());
        const QRect preview(form->Panel0->mapToGlobal(QPoint()), form->Panel0->size());
        const QRect screen = form->screen()->availableGeometry();
        QCOMPARE(gallery->geometry().topLeft(),
                 PanelPlacement::Beside(preview, gallery->size(), screen));
        gallery->close();
    }

    void thePreviewMenuOpensIt()
    {
        auto form = WorkingForm();
        QMenu* menu = form->Actions->PreviewMenu();
        QAction* warp = form->WarpChooser->Action();
        QVERIFY(menu->actions().contains(warp));
        QCOMPARE(warp->text(), u"変形…"_s);
        QCOMPARE(warp->shortcut(), QKeySequence(u"Ctrl+T"_s));
        warp->trigger();
        QVERIFY(form->WarpChooser->Gallery()->isVisible());
        form->WarpChooser->Gallery()->close();
    }

    // Each thumbnail is drawn at its own size as the renderer's picture of the logo with that
    // warp looks reduced: the same size, the letters and the shadow in the same places within a
    // few levels on average, over the background colour or a background picture.
    void thumbnailsAreTheRenderedLogoReduced_data()
    {
        QTest::addColumn<TLogoWarp>("warp");
        QTest::addColumn<bool>("picture");
        for (int k = 0; k <= LogoDocument::kMaxWarp; ++k)
            QTest::newRow(qPrintable(TWarpGallery::Caption(TLogoWarp(k)))) << TLogoWarp(k) << false;
        QTest::newRow("straight on a picture") << TLogoWarp::None << true;
        QTest::newRow("wave on a picture") << TLogoWarp::Wave << true;
    }

    void thumbnailsAreTheRenderedLogoReduced()
    {
        QFETCH(TLogoWarp, warp);
        QFETCH(bool, picture);
        auto form = WorkingForm();
        form->WarpChooser->Open();
        TWarpGallery* gallery = form->WarpChooser->Gallery();
        PreviewScene scene = form->ShownScene();
        if (picture) {
            QImage background(300, 200, QImage::Format_RGB32);
            for (int y = 0; y < background.height(); ++y)
                for (int x = 0; x < background.width(); ++x)
                    background.setPixel(x, y, qRgb(x * 255 / 300, 90, y * 255 / 200));
            scene.background = background;
            scene.labelTransparent = true;
            gallery->Open(scene, TLogoWarp::None, 0, form->geometry());
        }
        scene.look.warp = warp;
        scene.look.warpAmount = TWarpGallery::kStartAmount;
        const QImage expected = DocumentRenderer::Render(scene).scaled(
            TWarpGallery::kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QImage& thumbnail = gallery->Thumbnail(warp);
        QCOMPARE(thumbnail.size(), expected.size());
        const double error = MeanDifference(thumbnail, expected);
        // Far nearer its own warp than the circle (or, for the circle, the straight logo).
        scene.look.warp = warp == TLogoWarp::Circle ? TLogoWarp::None : TLogoWarp::Circle;
        const QImage other = DocumentRenderer::Render(scene).scaled(
            TWarpGallery::kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const double apart = MeanDifference(thumbnail, other);
        QVERIFY2(error < 5.0 && error * 2 < apart,
                 qPrintable(u"%1 from its own, %2 from another"_s.arg(error).arg(apart)));
    }

    void hoverShowsClickAppliesEscapeRestores()
    {
        auto form = WorkingForm();
        QUndoStack* history = form->History->Stack();
        TWarpGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        const QImage before = form->Label1->grab().toImage();

        // the pointer over a thumbnail shows it on the logo, as no step of the history
        QTest::mouseMove(gallery, CellCentre(TLogoWarp::Arch));
        QCOMPARE(form->Label1->Warp(), TLogoWarp::Arch);
        QCOMPARE(form->Label1->WarpAmount(), TWarpGallery::kStartAmount);
        QVERIFY(Differing(form->Label1->grab().toImage(), before) > 500);
        QCOMPARE(history->count(), 0);
        QTest::mouseMove(gallery, QPoint(2, gallery->height() - 2));
        QCOMPARE(form->Label1->Warp(), TLogoWarp::None);
        QCOMPARE(form->Label1->grab().toImage(), before);
        // only looked at: the logo is as saved, amount and all
        QCOMPARE(form->Document(), form->History->Saved());

        // a click applies and keeps the gallery open for the amount
        QTest::mouseMove(gallery, CellCentre(TLogoWarp::Circle));
        QTest::mouseClick(gallery, Qt::LeftButton, {}, CellCentre(TLogoWarp::Circle));
        QVERIFY(gallery->isVisible());
        QCOMPARE(form->Document().Warp, TLogoWarp::Circle);
        QCOMPARE(history->count(), 1);

        // a drag of the amount bends the logo as it goes, one step for the whole drag
        TTrackBar* bar = gallery->AmountBar();
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, {}, bar->ThumbRect().center());
        QTest::mouseMove(bar, QPoint(bar->width() - 40, y));
        const int partWay = form->Label1->WarpAmount();
        QVERIFY(partWay > TWarpGallery::kStartAmount);
        QTest::mouseMove(bar, QPoint(bar->width() - 5, y));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 5, y));
        QCOMPARE(form->Label1->WarpAmount(), LogoDocument::kMaxWarpAmount);
        QCOMPARE(history->count(), 2);
        QCOMPARE(form->ValueHints->ValueText(bar), u"変形ノ量: 100"_s);

        // Escape puts back the straight logo and closes
        QTest::keyClick(gallery, Qt::Key_Escape);
        QVERIFY(!gallery->isVisible());
        QCOMPARE(form->Document().Warp, TLogoWarp::None);
        QCOMPARE(form->Label1->grab().toImage(), before);

        // and undo walks back through the choices
        history->undo();
        QCOMPARE(form->Document().Warp, TLogoWarp::Circle);
        QCOMPARE(form->Document().WarpAmount, 100);
        history->undo();
        QCOMPARE(form->Document().WarpAmount, TWarpGallery::kStartAmount);
    }

    void closingKeepsTheChoice()
    {
        auto form = WorkingForm();
        TWarpGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QTest::mouseClick(gallery, Qt::LeftButton, {}, CellCentre(TLogoWarp::Wave));
        QTest::mouseMove(gallery, CellCentre(TLogoWarp::Slant));
        QCOMPARE(form->Label1->Warp(), TLogoWarp::Slant);
        // as a click elsewhere closes it: what was only under the pointer is not kept
        gallery->close();
        QCOMPARE(form->Label1->Warp(), TLogoWarp::Wave);
        QCOMPARE(form->Document().Warp, TLogoWarp::Wave);
        // opened again, it starts from the logo's warp
        gallery = OpenWithKeys(form.get());
        QCOMPARE(gallery->Selected(), TLogoWarp::Wave);
        gallery->close();
    }

    void theArrowsWalkTheCells()
    {
        auto form = WorkingForm();
        TWarpGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QTest::keyClick(gallery, Qt::Key_Right);
        QTest::keyClick(gallery, Qt::Key_Down);
        QCOMPARE(form->Label1->Warp(), TLogoWarp::Bulge);
        QTest::keyClick(gallery, Qt::Key_Space);
        QCOMPARE(form->Document().Warp, TLogoWarp::Bulge);
        QVERIFY(gallery->isVisible());
        // the last cell holds: no step past the ends
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(gallery, Qt::Key_Right);
        QCOMPARE(form->Label1->Warp(), TLogoWarp::Slant);
        QTest::keyClick(gallery, Qt::Key_Enter);
        QVERIFY(!gallery->isVisible());
        QCOMPARE(form->Document().Warp, TLogoWarp::Slant);
    }

    // The first click of a double click on the amount is taken back with the entry: a cancel
    // leaves the amount and the history as they were, and the gallery stays.
    void aDoubleClickOnTheAmountLeavesNoStep()
    {
        TestDialogs dialogs;
        auto form = WorkingForm();
        TWarpGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QTest::mouseClick(gallery, Qt::LeftButton, {}, CellCentre(TLogoWarp::Arch));
        QCOMPARE(form->History->Stack()->count(), 1);
        TTrackBar* bar = gallery->AmountBar();
        const QPoint end(3, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, end);
        QCOMPARE(form->Label1->WarpAmount(), LogoDocument::kMinWarpAmount);
        dialogs.integerAnswers.push_back(std::nullopt);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, end);
        QCOMPARE(dialogs.integerRequests.size(), 1);
        QCOMPARE(dialogs.integerRequests.first().value, TWarpGallery::kStartAmount);
        QCOMPARE(form->Document().WarpAmount, TWarpGallery::kStartAmount);
        QCOMPARE(form->History->Stack()->count(), 1);
        QVERIFY(gallery->isVisible());
        gallery->close();
    }

    // The dark list of the font chooser: its colour behind, its highlight under the choice.
    void lookslikeTheFontList()
    {
        auto form = WorkingForm();
        form->Editor->Change(
            [](LogoDocument& d) {
                d.Warp = TLogoWarp::Flag;
                d.WarpAmount = 30;
            },
            TLogoHistory::hkOther);
        form->WarpChooser->Open();
        TWarpGallery* gallery = form->WarpChooser->Gallery();
        QCOMPARE(gallery->AmountBar()->Position(), 30);
        const QImage picture = gallery->grab().toImage();
        const QRgb list = ToQColor(form->FontComboBox1->Color()).rgb();
        const QRgb highlight = ToQColor(form->FontComboBox1->HighlightColor()).rgb();
        QCOMPARE(picture.pixel(TWarpGallery::kMargin / 2, gallery->height() / 2), list);
        const QRect chosen = TWarpGallery::CellRect(int(TLogoWarp::Flag));
        QCOMPARE(picture.pixel(chosen.topLeft() - QPoint(2, 2)), highlight);
        const QRect other = TWarpGallery::CellRect(int(TLogoWarp::Wave));
        QCOMPARE(picture.pixel(other.topLeft() - QPoint(2, 2)), list);
        gallery->close();
    }
};

QUILVORO_APP_TEST_MAIN(tst_WarpGallery)
#include "tst_WarpGallery.moc"
