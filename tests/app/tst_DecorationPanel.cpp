// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WorkingWindow.h"
#include "app/DecorationChooser.h"
#include "app/DecorationPanel.h"
#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "app/PanelPlacement.h"
#include "app/ValueHints.h"
#include "app/WindowActions.h"
#include "controls/ColorSwatch.h"
#include "controls/ShineSpdBtn.h"
#include "controls/dxfLabel.h"
#include "fontchooser/FontComboBox.h"
#include "framework/TApplication.h"
#include "framework/TEdit.h"
#include "framework/THintWindow.h"
#include "framework/TPanel.h"
#include "framework/TTrackBar.h"
#include "support/AppTestMain.h"
#include "support/TestDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QUndoStack>

#include <vector>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LogoDocument)
Q_DECLARE_METATYPE(TDecorationPanel::TBar)
Q_DECLARE_METATYPE(TDecorationPanel::TSwatch)
Q_DECLARE_METATYPE(TDecorationPanel::TButton)

namespace {

using TStep = TDecorationPanel::TStep;

// What the panel reported, in order.
struct Reports
{
    std::vector<TStep> changes;
    int runEnds = 0;
    std::vector<LogoDocument> restores;

    explicit Reports(TDecorationPanel& panel)
    {
        panel.OnChange = [this](const LogoDocument&, TStep step) {
            changes.push_back(step);
        };
        panel.OnEndRun = [this] {
            ++runEnds;
        };
        panel.OnRestore = [this](const LogoDocument& start) {
            restores.push_back(start);
        };
    }
};

// A logo with some of every kind of decoration, so that a change shows against it.
LogoDocument Decorated()
{
    LogoDocument d;
    d.Edge1Width = 6;
    d.Edge1Color = clWhite;
    d.Fill = TLogoFill::Gradient;
    d.FillColor2 = clYellow;
    d.ShadowBlur = 8;
    d.GlowSize = 10;
    d.Tagline = u"らーめん"_s;
    return d;
}

// Drags a track bar's thumb from one x to another in steps, as a hand does.
void Drag(TTrackBar* bar, int fromX, int toX)
{
    const int y = bar->height() / 2;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(fromX, y));
    const int step = fromX < toX ? 10 : -10;
    for (int x = fromX; (step > 0 ? x < toX : x > toX); x += step)
        QTest::mouseMove(bar, QPoint(x, y));
    QTest::mouseMove(bar, QPoint(toX, y));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(toX, y));
}

// The panel on a window through its chooser, with an editor and its history.
struct Chooser
{
    QWidget window;
    QMenu menu;
    TLogoEditor editor;
    TLogoHistory history {&window,
                          [this] {
                              return TLogoState {editor.Document(), QRect()};
                          },
                          [this](const TLogoState& state) {
                              editor.Replace(state.Document, {});
                          }};
    TValueHints hints {&window};
    TDecorationChooser chooser {
        &window, &editor, &menu, &hints, [] { return QRect(100, 100, 596, 364); }, {}};

    Chooser()
    {
        editor.SetHistory(&history);
        editor.Replace(Decorated(), {});
        history.Stack()->clear();
        window.show();
    }

    TDecorationPanel* Open()
    {
        chooser.Action()->trigger();
        return chooser.Panel();
    }
};

} // namespace

class tst_DecorationPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestEnvironment::Pin(); }
    void cleanup() { TApplication::Instance()->CancelHint(); }

    // A drag reports every move as a slide of that bar, between two ends of a run, so that the
    // history makes one step of it.
    void aDragIsOneRunOfOneBar_data()
    {
        QTest::addColumn<TDecorationPanel::TBar>("bar");
        QTest::newRow("ring 2") << TDecorationPanel::bEdge2;
        QTest::newRow("shadow opacity") << TDecorationPanel::bShadowOpacity;
        QTest::newRow("fill angle") << TDecorationPanel::bFillAngle;
        QTest::newRow("spacing, from below zero") << TDecorationPanel::bSpacing;
        QTest::newRow("tagline gap") << TDecorationPanel::bTaglineGap;
    }

    void aDragIsOneRunOfOneBar()
    {
        QFETCH(TDecorationPanel::TBar, bar);
        TDecorationPanel panel(nullptr);
        Reports reports(panel);
        panel.Open(Decorated(), QRect(0, 0, 300, 200));
        TTrackBar* track = panel.Bar(bar);
        Drag(track, 10, track->width() * 2 / 3);
        QVERIFY(reports.changes.size() > 2);
        for (const TStep& step : reports.changes) {
            QCOMPARE(step.kind, TStep::Slide);
            QCOMPARE(step.bar, bar);
        }
        QCOMPARE(reports.runEnds, 2);
        QVERIFY(panel.Document() != Decorated());
    }

    // A swatch asks for a colour through the dialogs, starting at the one it shows; the choice
    // is one pick, and cancelling changes nothing. A gradient with two colours takes a third
    // by picking it.
    void aSwatchPicksItsColour_data()
    {
        QTest::addColumn<TDecorationPanel::TSwatch>("swatch");
        QTest::addColumn<TColor>("shown");
        QTest::newRow("ring 1") << TDecorationPanel::sEdge1 << TColor(clWhite);
        QTest::newRow("second fill colour") << TDecorationPanel::sFill2 << TColor(clYellow);
        QTest::newRow("third fill colour, none yet") << TDecorationPanel::sFill3 << TColor(clWhite);
        QTest::newRow("glow") << TDecorationPanel::sGlow << TColor(clYellow);
    }

    void aSwatchPicksItsColour()
    {
        QFETCH(TDecorationPanel::TSwatch, swatch);
        QFETCH(TColor, shown);
        TestDialogs dialogs;
        TDecorationPanel panel(nullptr);
        Reports reports(panel);
        panel.Open(Decorated(), QRect(0, 0, 300, 200));
        QTest::mouseClick(panel.Swatch(swatch), Qt::LeftButton);
        QCOMPARE(reports.changes.size(), 0u);
        dialogs.colorAnswers.push_back(clFuchsia);
        QTest::mouseClick(panel.Swatch(swatch), Qt::LeftButton);
        QCOMPARE(dialogs.colorRequests, (QList<TColor> {shown, shown}));
        QCOMPARE(reports.changes.size(), 1u);
        QCOMPARE(reports.changes[0].kind, TStep::Pick);
        QCOMPARE(panel.Swatch(swatch)->Color(), TColor(clFuchsia));
        QVERIFY(panel.Swatch(swatch)->HasColor());
        LogoDocument expected = Decorated();
        TColor LogoDocument::*const fields[] = {
            &LogoDocument::Edge1Color, &LogoDocument::Edge2Color, &LogoDocument::Edge3Color,
            &LogoDocument::TextColor,  &LogoDocument::FillColor2, &LogoDocument::FillColor3,
            &LogoDocument::GlowColor,
        };
        expected.*fields[swatch] = clFuchsia;
        QCOMPARE(panel.Document(), expected);
    }

    // Each button is one pick of the setting it names; a toggle clicked again takes it back, and
    // two colours again keep the third for the next time.
    void buttonsSetTheirChoice_data()
    {
        QTest::addColumn<TDecorationPanel::TButton>("button");
        QTest::addColumn<LogoDocument>("expected");
        LogoDocument solid = Decorated();
        solid.Fill = TLogoFill::Solid;
        QTest::newRow("solid") << TDecorationPanel::btSolid << solid;
        LogoDocument three = Decorated();
        three.FillColor3 = clWhite;
        QTest::newRow("three colours") << TDecorationPanel::btThreeColors << three;
        LogoDocument vertical = Decorated();
        vertical.Vertical = true;
        QTest::newRow("vertical") << TDecorationPanel::btVertical << vertical;
        LogoDocument above = Decorated();
        above.TaglinePlace = TLogoTaglinePlace::Above;
        QTest::newRow("above") << TDecorationPanel::btAbove << above;
        LogoDocument right = Decorated();
        right.TaglineAlign = TLogoTaglineAlign::Right;
        QTest::newRow("right") << TDecorationPanel::btRight << right;
    }

    void buttonsSetTheirChoice()
    {
        QFETCH(TDecorationPanel::TButton, button);
        QFETCH(LogoDocument, expected);
        TDecorationPanel panel(nullptr);
        Reports reports(panel);
        panel.Open(Decorated(), QRect(0, 0, 300, 200));
        QTest::mouseClick(panel.Button(button), Qt::LeftButton);
        QCOMPARE(panel.Document(), expected);
        QCOMPARE(reports.changes.size(), 1u);
        QCOMPARE(reports.changes[0].kind, TStep::Pick);
        QVERIFY(panel.Button(button)->Down());
    }

    void twoColoursAgainKeepTheThirdForLater()
    {
        TestDialogs dialogs;
        TDecorationPanel panel(nullptr);
        panel.Open(Decorated(), QRect(0, 0, 300, 200));
        dialogs.colorAnswers.push_back(clLime);
        QTest::mouseClick(panel.Swatch(TDecorationPanel::sFill3), Qt::LeftButton);
        QVERIFY(panel.Button(TDecorationPanel::btThreeColors)->Down());
        QTest::mouseClick(panel.Button(TDecorationPanel::btThreeColors), Qt::LeftButton);
        QCOMPARE(panel.Document().FillColor3, LogoDocument::kNoFillColor);
        QVERIFY(!panel.Swatch(TDecorationPanel::sFill3)->HasColor());
        QTest::mouseClick(panel.Button(TDecorationPanel::btThreeColors), Qt::LeftButton);
        QCOMPARE(panel.Document().FillColor3, TColor(clLime));
    }

    // Typing writes the tagline key by key as one run, ended when the field is left.
    void theTaglineFieldWritesTheTagline()
    {
        TDecorationPanel panel(nullptr);
        Reports reports(panel);
        panel.Open(LogoDocument(), QRect(0, 0, 300, 200));
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        panel.TaglineEdit()->setFocus();
        QTest::keyClicks(panel.TaglineEdit(), u"Shop"_s);
        QCOMPARE(panel.Document().Tagline, u"Shop"_s);
        QCOMPARE(reports.changes.size(), 4u);
        for (const TStep& step : reports.changes)
            QCOMPARE(step.kind, TStep::Typing);
        panel.Bar(TDecorationPanel::bEdge1)->setFocus();
        QCOMPARE(reports.runEnds, 1);
    }

    // Escape, from a bar or the text field, puts back what the panel changed, in the document
    // and the controls, as one step, keeping a change made on the window meanwhile; undone, the
    // panel's changes come back.
    void escapeIsOneStepBack()
    {
        Chooser c;
        TDecorationPanel* panel = c.Open();
        Drag(panel->Bar(TDecorationPanel::bGlowSize), 10, 100);
        QTest::mouseClick(panel->Button(TDecorationPanel::btVertical), Qt::LeftButton);
        QTest::keyClicks(panel->TaglineEdit(), u"!"_s);
        c.editor.Change([](LogoDocument& d) { d.Text = u"Ramen"_s; }, TLogoHistory::hkOther);
        const LogoDocument changed = c.editor.Document();
        QCOMPARE(c.history.Stack()->count(), 4);
        // opened again while open, it still goes back to where it first opened
        c.chooser.Action()->trigger();
        QTest::keyClick(panel->TaglineEdit(), Qt::Key_Escape);
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->Bar(TDecorationPanel::bGlowSize)->Position(), Decorated().GlowSize);
        QVERIFY(!panel->Button(TDecorationPanel::btVertical)->Down());
        QCOMPARE(panel->TaglineEdit()->Text(), Decorated().Tagline);
        LogoDocument expected = Decorated();
        expected.Text = u"Ramen"_s;
        QCOMPARE(c.editor.Document(), expected);
        QCOMPARE(c.history.Stack()->count(), 5);
        c.history.Stack()->undo();
        QCOMPARE(c.editor.Document(), changed);
    }

    // A logo loaded (or a step undone) while the panel is open shows there without a change
    // of its own, and Escape then takes back only what the panel did since.
    void aLoadWhileOpenIsWhereEscapeGoesBack()
    {
        Chooser c;
        TDecorationPanel* panel = c.Open();
        Drag(panel->Bar(TDecorationPanel::bGlowSize), 10, 100);
        LogoDocument loaded;
        loaded.Edge1Width = 3;
        c.editor.Replace(loaded, {});
        QCOMPARE(panel->Bar(TDecorationPanel::bEdge1)->Position(), 3);
        const int steps = c.history.Stack()->count();
        QTest::mouseClick(panel->Button(TDecorationPanel::btAbove), Qt::LeftButton);
        QTest::keyClick(panel->Bar(TDecorationPanel::bEdge1), Qt::Key_Escape);
        QCOMPARE(c.editor.Document(), loaded);
        QCOMPARE(c.history.Stack()->count(), steps + 2);
    }

    // On the window, Ctrl+D opens the panel beside the preview, which stays in sight and shows
    // each move of a drag; the drag is one step of the window's history, which Ctrl+Z in the
    // panel takes back. QUILVORO_LOOK_AT keeps a picture of the two to look at.
    void onTheWindowThePreviewFollows()
    {
        TestDialogs dialogs;
        auto form = WorkingWindow::WorkingForm();
        form->Editor->Change([](LogoDocument& d) { TDecorationPanel::CopyEdited(Decorated(), d); },
                             TLogoHistory::hkOther);
        form->History->Stack()->clear();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form->Edit1, Qt::Key_D, Qt::ControlModifier);
        auto* chooser = form->findChild<TDecorationChooser*>();
        QVERIFY(chooser && chooser->Panel() && chooser->Panel()->isVisible());
        QVERIFY(form->Actions->PreviewMenu()->actions().contains(chooser->Action()));
        TDecorationPanel* panel = chooser->Panel();
        const QRect preview(form->Panel0->mapToGlobal(QPoint()), form->Panel0->size());
        QVERIFY(!panel->geometry().intersects(preview));
        QCOMPARE(
            panel->pos(),
            PanelPlacement::Beside(preview, panel->size(), form->screen()->availableGeometry()));

        std::vector<int> shown;
        QObject::connect(form->Editor, &TLogoEditor::Changed, form.get(),
                         [&] { shown.push_back(form->Label1->Look().decorations.edges[1].width); });
        TTrackBar* bar = panel->Bar(TDecorationPanel::bEdge2);
        Drag(bar, 10, 60);
        QVERIFY(shown.size() > 2);
        QCOMPARE(shown.back(), bar->Position());
        QCOMPARE(form->Editor->Document().Edge2Width, bar->Position());
        QCOMPARE(form->History->Stack()->count(), 1);
        // the value shows at the thumb as on the window's bars
        const THintWindow* hint = TApplication::Instance()->HintWindow();
        QVERIFY(hint && hint->isVisible());
        QVERIFY(hint->Caption().endsWith(u"縁取り2ノ幅: "_s + QString::number(bar->Position())));
        const QImage hintFace = const_cast<THintWindow*>(hint)->grab().toImage();
        const QPoint hintAt = hint->pos();
        dialogs.colorAnswers.push_back(clRed);
        QTest::mouseClick(panel->Swatch(TDecorationPanel::sEdge2), Qt::LeftButton);
        QCOMPARE(form->History->Stack()->count(), 2);

        const QRect both = form->geometry() | panel->geometry();
        QImage picture(both.size(), QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        painter.drawImage(form->pos() - both.topLeft(), form->grab().toImage());
        const QImage face = panel->grab().toImage();
        painter.drawImage(panel->pos() - both.topLeft(), face);
        painter.drawImage(hintAt - both.topLeft(), hintFace);
        painter.end();
        const QPoint swatch = panel->Swatch(TDecorationPanel::sEdge2)->geometry().center();
        QCOMPARE(QColor(face.pixel(swatch)), ToQColor(clRed));
        QCOMPARE(QColor(face.pixel(2, face.height() / 2)), ToQColor(form->FontComboBox1->Color()));
        if (const QString dir = qEnvironmentVariable("QUILVORO_LOOK_AT"); !dir.isEmpty())
            picture.save(QDir(dir).filePath(u"decoration-panel.png"_s));

        QTest::keyClick(bar, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->History->Stack()->index(), 1);
        QCOMPARE(panel->Swatch(TDecorationPanel::sEdge2)->Color(), Decorated().Edge2Color);
        panel->close();
    }
};

QUILVORO_APP_TEST_MAIN(tst_DecorationPanel)

#include "tst_DecorationPanel.moc"
