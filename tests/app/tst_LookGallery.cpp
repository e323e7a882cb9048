// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/LogoHistory.h"
#include "app/LookChooser.h"
#include "app/LookGallery.h"
#include "app/Makewindow1.h"
#include "app/PanelPlacement.h"
#include "app/WindowActions.h"
#include "controls/dxfLabel.h"
#include "framework/TApplication.h"
#include "framework/TEdit.h"
#include "framework/TPanel.h"
#include "render/DocumentRenderer.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/PaintTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;
using namespace WorkingWindow;

namespace {

const QString kBuiltIn = QStringLiteral(QUILVORO_LOOKS_DIR);

TLookChooser* Chooser(TMakeForm1* form)
{
    return form->findChild<TLookChooser*>();
}

// The window with its looks read from the built-in folder and `user`.
std::unique_ptr<TMakeForm1> FormWithLooks(const QString& user)
{
    auto form = WorkingForm();
    Chooser(form.get())->SetFolders(kBuiltIn, user);
    return form;
}

// Ctrl+L from the text field, as a user opens it, and every thumbnail drawn.
TLookGallery* OpenWithKeys(TMakeForm1* form)
{
    QApplication::setActiveWindow(form);
    if (!QTest::qWaitForWindowActive(form))
        return nullptr;
    form->Edit1->setFocus();
    QTest::keyClick(form->Edit1, Qt::Key_L, Qt::ControlModifier);
    TLookGallery* gallery = Chooser(form)->Gallery();
    if (gallery && !QTest::qWaitFor([gallery] { return gallery->AllDrawn(); }))
        return nullptr;
    return gallery;
}

int IndexOf(const TLookGallery* gallery, const QString& id)
{
    for (int i = 0; i < gallery->Looks().size(); ++i) {
        if (gallery->Looks()[i].Id() == id)
            return i;
    }
    return -1;
}

// The centre of look `index` where the gallery shows it now.
QPoint CentreOf(const TLookGallery* gallery, int index)
{
    return TLookGallery::CellRect(index).center() - QPoint(0, gallery->ScrollTop());
}

void RightClick(TLookGallery* gallery, int index)
{
    const QPoint at = CentreOf(gallery, index);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, gallery->mapToGlobal(at));
    QApplication::sendEvent(gallery, &event);
}

void ChooseFromMenu(TLookGallery* gallery, const QString& objectName)
{
    QMenu* menu = gallery->ContextMenu();
    QVERIFY(menu->isVisible());
    QAction* action = menu->findChild<QAction*>(objectName);
    QVERIFY(action);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

} // namespace

class tst_LookGallery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void cleanup() { TApplication::Instance()->CancelHint(); }

    void ctrlLAndThePreviewMenuOpenItBesideThePreview()
    {
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        QMenu* menu = form->Actions->PreviewMenu();
        TLookChooser* chooser = Chooser(form.get());
        QVERIFY(menu->actions().contains(chooser->Action()));
        QVERIFY(menu->actions().contains(chooser->SaveAction()));
        QCOMPARE(chooser->Action()->text(), u"スタイル見本…"_s);
        QCOMPARE(chooser->SaveAction()->text(), u"現在の見た目を登録…"_s);
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery && gallery->isVisible());
        QVERIFY(gallery->Looks().size() >= 24);
        const QRect preview(form->Panel0->mapToGlobal(QPoint()), form->Panel0->size());
        QCOMPARE(
            gallery->geometry().topLeft(),
            PanelPlacement::Beside(preview, gallery->size(), form->screen()->availableGeometry()));
        gallery->close();
    }

    // Each thumbnail is the logo in that look as the renderer draws it, reduced: nearer to it
    // than to the logo in another look. Rings, blurs and glows shrink with the picture.
    void thumbnailsAreTheLogoInEachLook_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("text");
        for (const QString& id : {u"gold-extrude"_s, u"neon-pink"_s, u"telop"_s, u"summer"_s}) {
            QTest::newRow(qPrintable(id + u" latin"_s)) << id << u"Sale"_s;
            QTest::newRow(qPrintable(id + u" japanese"_s)) << id << u"大売出し"_s;
        }
    }

    void thumbnailsAreTheLogoInEachLook()
    {
        QFETCH(QString, id);
        QFETCH(QString, text);
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        form->Edit1->SetText(text);
        form->Edit1Change(form.get());
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        const int index = IndexOf(gallery, id);
        QVERIFY(index >= 0);
        const auto reduced = [&](int look) {
            return DocumentRenderer::Render(gallery->Looks()[look].AppliedTo(form->ShownDocument()),
                                            form->Pictures())
                .scaled(TLookGallery::kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        };
        const QImage& thumbnail = gallery->Thumbnail(index);
        const QImage expected = reduced(index);
        QCOMPARE(thumbnail.size(), expected.size());
        const double error = MeanDifference(thumbnail, expected);
        const double apart = MeanDifference(thumbnail, reduced(IndexOf(gallery, u"print"_s)));
        QVERIFY2(error < 6.0 && error * 3 < apart,
                 qPrintable(u"%1 from its own, %2 from another"_s.arg(error).arg(apart)));
        gallery->close();
    }

    void hoverShowsClickAppliesEscapeRestores()
    {
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        QUndoStack* history = form->History->Stack();
        const LogoDocument start = form->Document();
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        const QImage before = form->Label1->grab().toImage();
        // rings, a gradient face and a deep shadow: all of it reaches the logo
        const int look = IndexOf(gallery, u"gold-extrude"_s);

        // the pointer over a look shows it on the logo, as no step of the history
        QTest::mouseMove(gallery, CentreOf(gallery, look));
        QVERIFY(form->Label1->grab().toImage() != before);
        QCOMPARE(
            form->Label1->Look(),
            DocumentRenderer::SceneOf(gallery->Looks()[look].AppliedTo(start), form->Pictures())
                .look);
        QCOMPARE(history->count(), 0);
        QCOMPARE(form->Document(), start);
        QTest::mouseMove(gallery, QPoint(gallery->width() - 4, gallery->height() - 4));
        QCOMPARE(form->Label1->grab().toImage(), before);
        QCOMPARE(form->Document(), start);

        // a click applies it as one step, text, size and face kept; the gallery stays
        QTest::mouseMove(gallery, CentreOf(gallery, look));
        QTest::mouseClick(gallery, Qt::LeftButton, {}, CentreOf(gallery, look));
        QVERIFY(gallery->isVisible());
        QCOMPARE(history->count(), 1);
        const LogoDocument applied = form->Document();
        QCOMPARE(applied, gallery->Looks()[look].AppliedTo(start));
        QCOMPARE(applied.Text, start.Text);
        QCOMPARE(applied.Size, start.Size);
        QCOMPARE(applied.FontName, start.FontName);
        QCOMPARE(applied.Fill, TLogoFill::Gradient);
        QCOMPARE(gallery->Selected(), look);

        // Escape puts back what the logo had when the gallery opened, and closes
        QTest::keyClick(gallery, Qt::Key_Escape);
        QVERIFY(!gallery->isVisible());
        QCOMPARE(form->Document(), start);
        QCOMPARE(form->Label1->grab().toImage(), before);
        history->undo();
        QCOMPARE(form->Document(), applied);
    }

    void theArrowsWalkTheLooksAndScroll()
    {
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        const LogoDocument start = form->Document();
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QTest::keyClick(gallery, Qt::Key_Right);
        QTest::keyClick(gallery, Qt::Key_Right);
        QTest::keyClick(gallery, Qt::Key_Down);
        QCOMPARE(gallery->Hovered(), std::optional<int>(TLookGallery::kColumns + 1));
        QTest::keyClick(gallery, Qt::Key_Space);
        QVERIFY(gallery->isVisible());
        QCOMPARE(gallery->Selected(), TLookGallery::kColumns + 1);
        QCOMPARE(form->History->Stack()->count(), 1);
        // down to the last look, which scrolls into view; no step past the end
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(gallery, Qt::Key_Down);
        const int last = int(gallery->Looks().size()) - 1;
        QVERIFY(gallery->Hovered() >= last - TLookGallery::kColumns + 1);
        const QRect shown =
            TLookGallery::CellRect(*gallery->Hovered()).translated(0, -gallery->ScrollTop());
        QVERIFY(TLookGallery::Viewport().contains(shown));
        QTest::keyClick(gallery, Qt::Key_Enter);
        QVERIFY(!gallery->isVisible());
        QCOMPARE(form->Document(), gallery->Looks()[*gallery->Hovered()].AppliedTo(start));
    }

    // A look saved under a name typed in comes first the next time, is renamed and deleted from
    // its context menu (after a question), and its file follows.
    void userLooksAreSavedRenamedAndDeleted()
    {
        TestDialogs dialogs;
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        const int builtIn = int(gallery->Looks().size());
        QTest::mouseClick(gallery, Qt::LeftButton, {},
                          CentreOf(gallery, IndexOf(gallery, u"neon-pink"_s)));

        dialogs.textAnswers.push_back(u"私のネオン"_s);
        QTest::mouseClick(gallery, Qt::LeftButton, {}, TLookGallery::SaveButtonRect().center());
        QCOMPARE(dialogs.textRequests.size(), 1);
        QCOMPARE(gallery->Looks().size(), builtIn + 1);
        gallery->close();
        gallery = OpenWithKeys(form.get());
        QCOMPARE(gallery->Looks().first().Name(), u"私のネオン"_s);
        QVERIFY(!gallery->Looks().first().BuiltIn());
        // the logo is in it: the saved look is the one chosen
        QCOMPARE(gallery->Selected(), 0);

        // no menu on a built-in look
        RightClick(gallery, 1);
        QVERIFY(!gallery->ContextMenu()->isVisible());

        dialogs.textAnswers.push_back(u"看板用"_s);
        RightClick(gallery, 0);
        ChooseFromMenu(gallery, u"RenameLookAction"_s);
        QCOMPARE(dialogs.textRequests.last().second, u"私のネオン"_s);
        QCOMPARE(gallery->Looks().first().Name(), u"看板用"_s);
        QCOMPARE(QDir(user.path()).entryList({u"*.qvd"_s}), QStringList {u"看板用.qvd"_s});

        // a question first: cancelled, nothing goes; then deleted
        dialogs.choiceAnswers = {1, 0};
        RightClick(gallery, 0);
        ChooseFromMenu(gallery, u"DeleteLookAction"_s);
        QCOMPARE(gallery->Looks().size(), builtIn + 1);
        RightClick(gallery, 0);
        ChooseFromMenu(gallery, u"DeleteLookAction"_s);
        QCOMPARE(dialogs.questions.size(), 2);
        QVERIFY(dialogs.questions.last().text.contains(u"看板用"_s));
        QCOMPARE(gallery->Looks().size(), builtIn);
        QVERIFY(QDir(user.path()).entryList({u"*.qvd"_s}).isEmpty());
        gallery->close();
    }

    void aLookThatCannotBeReadIsNamedOnceAndSkipped()
    {
        TestDialogs dialogs;
        QTemporaryDir user;
        FileTesting::WriteAll(user.filePath(u"broken.qvd"_s), "\x89PNG\r\n");
        auto form = FormWithLooks(user.path());
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains(user.filePath(u"broken.qvd"_s)));
        QVERIFY(IndexOf(gallery, u"broken"_s) < 0);
        QCOMPARE(gallery->Looks().first().Id(), u"gold-extrude"_s);
        gallery->close();
        gallery = OpenWithKeys(form.get());
        QCOMPARE(dialogs.messages.size(), 1);
        gallery->close();
    }

    // The window and the gallery as the screen shows them: the gallery beside the preview, the
    // preview whole, every thumbnail drawn. QUILVORO_LOOK_AT names a folder to keep the picture.
    void theGalleryLeavesThePreviewInSight()
    {
        QTemporaryDir user;
        auto form = FormWithLooks(user.path());
        TLookGallery* gallery = OpenWithKeys(form.get());
        QVERIFY(gallery);
        QTest::mouseMove(gallery, CentreOf(gallery, IndexOf(gallery, u"neon-pink"_s)));
        const QRect preview(form->Panel0->mapToGlobal(QPoint()), form->Panel0->size());
        QVERIFY(!gallery->geometry().intersects(preview));
        const QRect both = form->frameGeometry().united(gallery->geometry());
        QImage screen(both.size(), QImage::Format_RGB32);
        screen.fill(Qt::darkGray);
        QPainter painter(&screen);
        painter.drawPixmap(form->geometry().topLeft() - both.topLeft(), form->grab());
        painter.drawPixmap(gallery->geometry().topLeft() - both.topLeft(), gallery->grab());
        painter.end();
        if (const QString folder = qEnvironmentVariable("QUILVORO_LOOK_AT"); !folder.isEmpty())
            screen.save(QDir(folder).filePath(u"look-gallery.png"_s));
        for (int i = 0; i < TLookGallery::kColumns * TLookGallery::kVisibleRows; ++i) {
            const QImage& thumbnail = gallery->Thumbnail(i);
            QSet<QRgb> colours;
            for (int y = 0; y < thumbnail.height(); y += 3)
                for (int x = 0; x < thumbnail.width(); x += 3)
                    colours.insert(thumbnail.pixel(x, y));
            QVERIFY2(colours.size() > 8, qPrintable(gallery->Looks()[i].Id()));
        }
        gallery->close();
    }
};

QUILVORO_APP_TEST_MAIN(tst_LookGallery)
#include "tst_LookGallery.moc"
