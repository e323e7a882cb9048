// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/ValueHints.h"
#include "app/WindowActions.h"
#include "controls/SelShape.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TEdit.h"
#include "framework/TFileDialog.h"
#include "framework/THintWindow.h"
#include "framework/TImage.h"
#include "framework/TPanel.h"
#include "framework/TTimer.h"
#include "framework/TTrackBar.h"
#include "platform/TIniFile.h"
#include "support/AppTestMain.h"
#include "support/FileTesting.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace WorkingWindow;

namespace {

QString WritePicture(const QString& path, QColor color, QSize size = QSize(30, 20))
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(color);
    picture.save(path);
    return path;
}

QString WriteLogo(const QString& path, const QString& text)
{
    TMakeForm1 writer(u"/opt/q/quilvoro"_s);
    writer.Edit1->SetText(text);
    writer.SaveLogoFile(path);
    return path;
}

std::unique_ptr<QMimeData> FilesData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// A drag that enters the window at `pos` and moves there, as the window system delivers it;
// whether the last event was accepted (the cursor offers a drop).
bool DragOver(TMakeForm1& form, const QMimeData* data, QPoint pos,
              Qt::KeyboardModifiers modifiers = {})
{
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(pos, Qt::CopyAction, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&form, &move);
    return move.isAccepted();
}

bool DropAt(TMakeForm1& form, const QMimeData* data, QPoint pos,
            Qt::KeyboardModifiers modifiers = {})
{
    if (!DragOver(form, data, pos, modifiers))
        return false;
    QDropEvent drop(pos, Qt::CopyAction, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
}

QPoint PreviewCentre(const TMakeForm1& form)
{
    return form.Panel0->geometry().center() + QPoint(6, 26);
}

// A point of the lower panel, outside the preview.
QPoint LowerPanel(const TMakeForm1& form)
{
    return QPoint(30, form.height() - 40);
}

// The entry drawn into an image of the rectangle's size.
QImage DrawnEntry(TFontComboBox* combo, QSize size, TOwnerDrawState state)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    combo->DrawItem(painter, combo->currentIndex(), QRect(QPoint(0, 0), size), state);
    return image;
}

// Pixels that differ from the entry's fill (its top left corner).
int Ink(const QImage& image)
{
    const QRgb fill = image.pixel(0, 0);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != fill;
    }
    return ink;
}

int Luminance(QRgb rgb)
{
    return qGray(rgb);
}

THintWindow* ShownHint()
{
    THintWindow* hint = TApplication::Instance()->HintWindow();
    return hint && hint->isVisible() ? hint : nullptr;
}

} // namespace

class tst_WindowComfort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void init()
    {
        Settings::Open().clear();
        TApplication::Instance()->CancelHint();
        QDir::setCurrent(FWork.path());
    }

    void trackBarsShowTheirValues_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("size") << u"TrackBar1"_s << 100 << u"サイズ: 100"_s;
        QTest::newRow("angle") << u"TrackBar3"_s << 90 << u"回転: 90°"_s;
        QTest::newRow("depth") << u"TrackBar2"_s << 0 << u"影ノ深度: 0"_s;
        QTest::newRow("direction, lower right") << u"TrackBar6"_s << 0 << u"影ノ方向: 右下"_s;
        QTest::newRow("direction, left") << u"TrackBar6"_s << 3 << u"影ノ方向: 左"_s;
        QTest::newRow("direction, top") << u"TrackBar6"_s << 5 << u"影ノ方向: 上"_s;
    }

    void trackBarsShowTheirValues()
    {
        QFETCH(QString, bar);
        QFETCH(int, position);
        QFETCH(QString, text);
        auto form = WorkingForm();
        auto* control = form->findChild<TTrackBar*>(bar);
        control->SetPosition(position);
        QCOMPARE(form->ValueHints->ValueText(control), text);
        // the hint of a resting mouse carries the value after the control's own hint
        TApplication* app = TApplication::Instance();
        app->HintMouseMessage(control, control->mapToGlobal(control->rect().center()));
        app->HintTimerExpired();
        QVERIFY(ShownHint());
        QCOMPARE(ShownHint()->Caption(), control->toolTip() + u"　"_s + text);
    }

    void aKeyOrADragShowsTheValueAtOnce()
    {
        auto form = WorkingForm();
        QVERIFY(!ShownHint());
        // a program's write shows nothing
        form->TrackBar1->SetPosition(50);
        QVERIFY(!ShownHint());

        form->TrackBar1->setFocus();
        QTest::keyClick(form->TrackBar1, Qt::Key_Right);
        QVERIFY(ShownHint());
        QVERIFY(ShownHint()->Caption().endsWith(u"サイズ: 51"_s));
        // the hint sits under the thumb
        const QPoint thumb = form->TrackBar1->mapToGlobal(form->TrackBar1->ThumbRect().center());
        QVERIFY(qAbs(ShownHint()->x() - thumb.x()) < 4);
        QVERIFY(ShownHint()->y() > thumb.y());

        TApplication::Instance()->CancelHint();
        const int y = form->TrackBar2->height() / 2;
        QTest::mousePress(form->TrackBar2, Qt::LeftButton, {}, QPoint(60, y));
        QTest::mouseMove(form->TrackBar2, QPoint(130, y));
        QVERIFY(ShownHint());
        QCOMPARE(ShownHint()->Caption().section(u"　"_s, 1),
                 u"影ノ深度: %1"_s.arg(form->TrackBar2->Position()));
        QTest::mouseRelease(form->TrackBar2, Qt::LeftButton, {}, QPoint(130, y));
    }

    void focusShowsOnTheThumb()
    {
        auto form = WorkingForm();
        QApplication::setActiveWindow(form.get());
        form->TrackBar3->setFocus();
        QVERIFY(form->TrackBar3->hasFocus());
        const QImage focused = form->TrackBar3->grab().toImage();
        const QPoint thumb = form->TrackBar3->ThumbRect().center();
        QCOMPARE(focused.pixel(thumb) & 0xFFFFFFu, 0x00FFFFu);
        form->Edit1->setFocus();
        const QImage unfocused = form->TrackBar3->grab().toImage();
        QCOMPARE(unfocused.pixel(thumb) & 0xFFFFFFu, 0xC0C0C0u);
    }

    void aDoubleClickTakesAnExactValue()
    {
        TestDialogs dialogs;
        auto form = WorkingForm();
        const QPoint at = form->TrackBar1->ThumbRect().center();
        dialogs.integerAnswers.push_back(137);
        QTest::mouseDClick(form->TrackBar1, Qt::LeftButton, {}, at);
        QCOMPARE(dialogs.integerRequests.size(), 1);
        const TestDialogs::IntegerRequest asked = dialogs.integerRequests.first();
        QCOMPARE(asked.min, 1);
        QCOMPARE(asked.max, 200);
        QCOMPARE(asked.label, u"サイズ (1～200) :"_s);
        QCOMPARE(form->TrackBar1->Position(), 137);
        QCOMPARE(form->Label1->Font()->Size(), 137);

        // cancelled: nothing changes
        QTest::mouseDClick(form->TrackBar1, Qt::LeftButton, {},
                           form->TrackBar1->ThumbRect().center());
        QCOMPARE(form->TrackBar1->Position(), 137);
        form->History->Stack()->undo();
        QCOMPARE(form->Label1->Font()->Size(), 40);
    }

    void aDoubleClickStartsFromTheValueBeforeIt_data()
    {
        QTest::addColumn<int>("answer"); // -1: cancelled
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("steps");
        QTest::newRow("cancelled") << -1 << 15 << 0;
        QTest::newRow("entered") << 200 << 200 << 1;
    }

    // The first click of the two moves the thumb to the pointer; the entry takes that back.
    void aDoubleClickStartsFromTheValueBeforeIt()
    {
        QFETCH(int, answer);
        QFETCH(int, position);
        QFETCH(int, steps);
        TestDialogs dialogs;
        auto form = WorkingForm();
        TTrackBar* bar = form->TrackBar3;
        bar->SetPosition(15);
        form->History->Record(TLogoHistory::hkAngle);
        form->History->Stack()->clear();
        dialogs.integerAnswers.push_back(answer < 0 ? std::nullopt : std::optional(answer));
        // as the window system delivers a double click: a click, then the double click
        const QPoint at(bar->width() - 12, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, at);
        QVERIFY(bar->Position() > 250);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, at);
        QCOMPARE(dialogs.integerRequests.size(), 1);
        QCOMPARE(dialogs.integerRequests.first().value, 15);
        QCOMPARE(bar->Position(), position);
        QCOMPARE(form->Document().Angle, position);
        QCOMPARE(form->History->Stack()->count(), steps);
        form->History->Stack()->undo();
        QCOMPARE(form->Document().Angle, 15);
    }

    void theFontListHighlightStandsOut()
    {
        auto form = WorkingForm();
        TFontComboBox* fonts = form->FontComboBox1;
        const QSize entry(fonts->width(), fonts->ItemHeight());
        const QImage plain = DrawnEntry(fonts, entry, 0);
        const QImage highlighted = DrawnEntry(fonts, entry, odSelected);
        QVERIFY(Luminance(highlighted.pixel(1, 1)) - Luminance(plain.pixel(1, 1)) > 120);
        QVERIFY(Ink(highlighted) > 20);
    }

    void descendersStayInTheClosedField()
    {
        auto form = WorkingForm();
        TFontComboBox* fonts = form->FontComboBox1;
        fonts->SetSelectedFont(u"DejaVu Sans"_s); // "j" goes below the line
        const QSize field = fonts->FieldRect().size();
        QVERIFY(field.height() < QFontMetrics(fonts->font()).height() + 1);
        const TOwnerDrawState closed = odComboBoxEdit | odSelected;
        // the same entry with room to spare shows every pixel of its letters
        const int whole = Ink(DrawnEntry(fonts, QSize(field.width(), 40), closed));
        QVERIFY(whole > 50);
        QVERIFY(qAbs(Ink(DrawnEntry(fonts, field, closed)) - whole) <= 2);
    }

    void keepsTheLastEightLogoFiles()
    {
        TestDialogs dialogs;
        TRecentFiles recent;
        auto form = WorkingForm();
        QStringList saved;
        for (int i = 0; i < 10; ++i) {
            saved.prepend(FWork.filePath(u"logo%1.qvd"_s.arg(i)));
            dialogs.fileAnswers.push_back(saved.first());
            form->SpeedButton3Click(form.get());
        }
        QCOMPARE(recent.Files(), saved.mid(0, 8));
        // a loaded file moves to the top, once
        dialogs.fileAnswers.push_back(saved.at(5));
        form->SpeedButton2Click(form.get());
        RunToEnd(form->Timer2);
        QCOMPARE(recent.Files().first(), saved.at(5));
        QCOMPARE(recent.Files().count(saved.at(5)), 1);
        QCOMPARE(recent.Files().size(), 8);
        // kept for the next run, and offered in the preview's menu
        TMakeForm1 next(u"/opt/q/quilvoro"_s);
        next.Actions->UpdateRecentMenu();
        const QList<QAction*> entries = next.Actions->RecentMenu()->actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.first()->toolTip(), saved.at(5));
        QVERIFY(entries.first()->text().endsWith(u"logo4.qvd"_s));
    }

    void aMissingRecentFileLeavesTheList()
    {
        TestDialogs dialogs;
        const QString kept = WriteLogo(FWork.filePath(u"kept.qvd"_s), u"Kept"_s);
        const QString gone = FWork.filePath(u"gone.qvd"_s);
        TRecentFiles recent;
        recent.Add(kept);
        recent.Add(gone);
        auto form = WorkingForm();
        form->Actions->UpdateRecentMenu();
        QCOMPARE(form->Actions->RecentMenu()->actions().size(), 2);

        form->Actions->RecentMenu()->actions().first()->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains(gone));
        QVERIFY(!form->Timer2->Enabled());
        QCOMPARE(recent.Files(), QStringList {kept});
        QCOMPARE(form->Actions->RecentMenu()->actions().size(), 1);

        form->Actions->RecentMenu()->actions().first()->trigger();
        RunToEnd(form->Timer2);
        QCOMPARE(form->Edit1->Text(), u"Kept"_s);
        QVERIFY(dialogs.fileRequests.isEmpty());
    }

    void refusesFilesThatHoldNoLogo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
        QByteArray big("[SET]\r\nLabel=Big\r\n;");
        big.append(TIniFile::MaxFileSize + 1 - big.size(), 'x');
        QTest::newRow("random bytes") << u"noise.qvd"_s << QByteArray("\x9f\x01\xfe=]\x00[\x80", 9);
        QTest::newRow("empty") << u"empty.qvd"_s << QByteArray();
        QTest::newRow("a picture renamed") << u"picture.qvd"_s << png;
        QTest::newRow("over 1 MiB") << u"big.qvd"_s << big;
    }

    // From the command line (as a recent file) and from 読込: a message naming the file, and
    // nothing changes, nor is it listed.
    void refusesFilesThatHoldNoLogo()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = FWork.filePath(name);
        FileTesting::WriteAll(path, bytes);
        TestDialogs dialogs;
        auto form = WorkingForm();
        const LogoDocument before = form->Document();

        form->Actions->OpenRecent(path);
        QVERIFY(!form->Timer2->Enabled());
        dialogs.fileAnswers.push_back(path);
        form->SpeedButton2Click(form.get());
        RunToEnd(form->Timer2);

        QCOMPARE(dialogs.messages.size(), 2);
        for (const TestDialogs::Message& message : dialogs.messages)
            QVERIFY2(message.text.contains(path), qPrintable(message.text));
        QVERIFY(form->Document() == before);
        QCOMPARE(form->History->Stack()->count(), 0);
        QVERIFY(TRecentFiles().Files().isEmpty());
    }

    void eachDialogOpensInItsLastFolder()
    {
        TestDialogs dialogs;
        QTemporaryDir pictures;
        const QString picture = WritePicture(pictures.filePath(u"bg.bmp"_s), Qt::red);
        {
            TMakeForm1 form(u"/opt/q/quilvoro"_s);
            dialogs.fileAnswers.push_back(picture);
            form.SpeedButton16Click(&form);
        }
        QDir::setCurrent(FWork.path()); // as in a new run
        TMakeForm1 form(u"/opt/q/quilvoro"_s);
        form.SpeedButton16Click(&form); // cancelled
        form.SpeedButton17Click(&form);
        QCOMPARE(dialogs.fileRequests.size(), 3);
        QCOMPARE(dialogs.fileRequests.at(1).initialDir, pictures.path());
        // the texture dialog has a folder of its own
        QCOMPARE(dialogs.fileRequests.at(2).initialDir, FWork.path());
    }

    void shortcutsRunTheButtons()
    {
        TestDialogs dialogs;
        auto form = WorkingForm();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->TrackBar2->setFocus();
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(dialogs.fileRequests.size(), 2);
        QCOMPARE(dialogs.fileRequests.at(0).title, u"ロゴデータノ保存"_s);
        QCOMPARE(dialogs.fileRequests.at(1).title, form->SavePictureDialog1->Title());
        QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(form->Timer1->Enabled());
        RunToEnd(form->Timer1);
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(form->Timer2->Enabled());
    }

    void thePreviewMenuOffersTheSameActions()
    {
        auto form = WorkingForm();
        const QPoint at = form->Label1->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, form->Label1->mapToGlobal(at));
        QApplication::sendEvent(form->Label1, &event);
        QMenu* menu = form->Actions->PreviewMenu();
        QVERIFY(menu->isVisible());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
        }
        QCOMPARE(
            texts,
            QStringList({u"新規"_s, u"読込"_s, u"保存"_s, u"BMP保存"_s, u"元ニ戻ス"_s,
                         u"ヤリ直シ"_s, u"画像ヲコピー"_s, u"背景ニ貼付ケ"_s, u"最近ノファイル"_s,
                         u"変形…"_s, u"装飾…"_s, u"スタイル見本…"_s, u"現在の見た目を登録…"_s}));
        QCOMPARE(form->Actions->Redo()->shortcuts(),
                 QList<QKeySequence>({QKeySequence(u"Ctrl+Shift+Z"_s), QKeySequence(u"Ctrl+Y"_s)}));
        // nothing to undo yet, nothing recent yet
        QVERIFY(!form->Actions->Undo()->isEnabled());
        QVERIFY(!form->Actions->RecentMenu()->isEnabled());
        menu->hide();
    }

    void copiesTheFramedLogoWithAlpha()
    {
        auto form = WorkingForm();
        form->SelShape1->setGeometry(40, 30, 500, 300);
        QApplication::clipboard()->clear();
        form->Actions->Copy()->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(500, 300));
        QVERIFY(copied.hasAlphaChannel());
        // the black background is transparent, the white letters opaque, their edges between
        int clear = 0;
        int opaque = 0;
        int partial = 0;
        for (int y = 0; y < copied.height(); ++y) {
            for (int x = 0; x < copied.width(); ++x) {
                const int alpha = qAlpha(copied.pixel(x, y));
                clear += alpha == 0;
                opaque += alpha == 255;
                partial += alpha > 0 && alpha < 255;
            }
        }
        QCOMPARE(qAlpha(copied.pixel(0, 0)), 0);
        QVERIFY(clear > copied.width() * copied.height() / 2);
        QVERIFY(opaque > 500);
        QVERIFY(partial > 100);
        // over the background colour it is what the frame shows
        QImage composed(copied.size(), QImage::Format_RGB32);
        composed.fill(Qt::black);
        QPainter(&composed).drawImage(0, 0, copied);
        const QImage shown = form->CaptureSelection().convertToFormat(QImage::Format_RGB32);
        int far = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = composed.pixel(x, y);
                const QRgb b = shown.pixel(x, y);
                far += qAbs(qRed(a) - qRed(b)) > 2 || qAbs(qGreen(a) - qGreen(b)) > 2
                    || qAbs(qBlue(a) - qBlue(b)) > 2;
            }
        }
        QCOMPARE(far, 0);
    }

    void copiesABackgroundPictureAsShown()
    {
        auto form = WorkingForm();
        QVERIFY(form->SetBackgroundFile(
            WritePicture(FWork.filePath(u"sky.bmp"_s), QColor(0, 90, 200), QSize(700, 400))));
        form->SelShape1->setGeometry(10, 10, 120, 80);
        form->Actions->Copy()->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB888), form->CaptureSelection());
        QCOMPARE(copied.pixel(2, 2) & 0xFFFFFFu, 0x005AC8u);
    }

    void pastesAPictureAsTheBackground()
    {
        auto form = WorkingForm();
        QApplication::clipboard()->setText(u"no picture"_s);
        QVERIFY(!form->Actions->PasteFromClipboard());
        QVERIFY(form->Image1->isHidden());

        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor(10, 200, 30));
        QApplication::clipboard()->setImage(picture);
        form->Actions->Paste()->trigger();
        QVERIFY(form->Image1->isVisible());
        QVERIFY(form->Label1->Transparent());
        const QString stored = form->OpenPictureDialog1->FileName();
        QVERIFY(stored.startsWith(TestEnvironment::UserFolder()));
        QCOMPARE(QImage(stored).convertToFormat(QImage::Format_RGB32), picture);
        // a step of its own, and a part of the logo's file
        QCOMPARE(form->History->Stack()->count(), 1);
        QCOMPARE(form->Document().BackgroundFile, stored);
        form->History->Stack()->undo();
        QVERIFY(form->Image1->isHidden());
    }

    void dropsALogoFileAnywhere()
    {
        TestDialogs dialogs;
        const QString logo = WriteLogo(FWork.filePath(u"dropped.qvd"_s), u"Dropped"_s);
        auto data = FilesData({logo});
        TMakeForm1 form(u"/opt/q/quilvoro"_s); // the preview not yet in view
        form.show();
        QVERIFY(DropAt(form, data.get(), QPoint(300, 100)));
        QVERIFY(form.Timer2->Enabled());
        RunToEnd(form.Timer2);
        QCOMPARE(form.Edit1->Text(), u"Dropped"_s);
        QCOMPARE(form.Panel0->y(), 28);
        QVERIFY(dialogs.fileRequests.isEmpty());
        QCOMPARE(TRecentFiles().Files(), QStringList {logo});

        // with unsaved work the question comes first; cancelled, nothing loads
        form.Edit1->SetText(u"Unsaved"_s);
        dialogs.choiceAnswers.push_back(2);
        QVERIFY(DropAt(form, data.get(), LowerPanel(form)));
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY(!form.Timer2->Enabled());
        QCOMPARE(form.Edit1->Text(), u"Unsaved"_s);
    }

    void dropsAPictureOnThePreview()
    {
        auto form = WorkingForm();
        const QString picture = WritePicture(FWork.filePath(u"drop.png"_s), Qt::magenta);
        auto data = FilesData({picture});
        // outside the preview a picture finds no place
        QVERIFY(!DragOver(*form, data.get(), LowerPanel(*form)));
        QVERIFY(DropAt(*form, data.get(), PreviewCentre(*form)));
        QVERIFY(form->Image1->isVisible());
        QCOMPARE(form->OpenPictureDialog1->FileName(), picture);
        QVERIFY(form->Label1->Glyph()->isNull());

        const QString texture = WritePicture(FWork.filePath(u"texture.bmp"_s), Qt::yellow);
        auto textureData = FilesData({texture});
        QVERIFY(DropAt(*form, textureData.get(), PreviewCentre(*form), Qt::ControlModifier));
        QCOMPARE(form->OpenPictureDialog2->FileName(), texture);
        QCOMPARE(form->Label1->Glyph()->size(), QSize(30, 20));
        // the background stays
        QCOMPARE(form->OpenPictureDialog1->FileName(), picture);
        QCOMPARE(form->History->Stack()->count(), 2);
    }

    void refusesWhatItCannotUse_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::newRow("text file") << QStringList {u"notes.txt"_s};
        QTest::newRow("picture name, text inside") << QStringList {u"fake.png"_s};
        QTest::newRow("two pictures") << QStringList {u"a.bmp"_s, u"b.bmp"_s};
        QTest::newRow("a folder") << QStringList {u"folder.qvd"_s};
        QTest::newRow("missing logo file") << QStringList {u"missing.qvd"_s};
    }

    void refusesWhatItCannotUse()
    {
        QFETCH(QStringList, files);
        QStringList paths;
        for (const QString& name : files) {
            const QString path = FWork.filePath(name);
            if (name.endsWith(u".bmp"_s))
                WritePicture(path, Qt::cyan);
            else if (name.startsWith(u"folder"_s))
                QDir(FWork.path()).mkpath(name);
            else if (!name.startsWith(u"missing"_s)) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("just words\n");
            }
            paths << path;
        }
        auto data = FilesData(paths);
        auto form = WorkingForm();
        const LogoDocument before = form->Document();
        QDragEnterEvent enter(PreviewCentre(*form), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(!enter.isAccepted());
        // a drop that comes all the same changes nothing
        QDropEvent drop(PreviewCentre(*form), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &drop);
        QVERIFY(!drop.isAccepted());
        QVERIFY(!form->Timer2->Enabled());
        QVERIFY(form->Document() == before);
        QCOMPARE(form->History->Stack()->count(), 0);
    }

private:
    QTemporaryDir FWork;
};

QUILVORO_APP_TEST_MAIN(tst_WindowComfort)
#include "tst_WindowComfort.moc"
