// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The logo editor: its changes become undo steps by kind and run, and it says when the logo
// or the preview changed.
#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "support/AppTestMain.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <memory>

namespace {

// One step of a row: the size changed under a history kind, or the end of a run.
struct Step
{
    int kind;
    int size = 0;
};
constexpr int kEndRun = 0;

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class tst_LogoEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        FEditor = std::make_unique<TLogoEditor>();
        FHistory = std::make_unique<TLogoHistory>(
            nullptr,
            [this] {
                return TLogoState {FEditor->Document(), {}};
            },
            [this](const TLogoState& s) { FEditor->Replace(s.Document, FEditor->Pictures()); });
        FEditor->SetHistory(FHistory.get());
    }

    void cleanup()
    {
        FEditor.reset();
        FHistory.reset();
    }

    void changesMergeByKindAndRun_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("sizeAfterOneUndo");
        const int start = LogoDocument().Size;
        using H = TLogoHistory;
        QTest::newRow("a drag") << QList<Step> {{H::hkSize, 50}, {H::hkSize, 60}, {H::hkSize, 70}}
                                << 1 << start;
        QTest::newRow("two drags")
            << QList<Step> {{H::hkSize, 50}, {kEndRun}, {H::hkSize, 60}} << 2 << 50;
        QTest::newRow("other kinds never merge")
            << QList<Step> {{H::hkOther, 50}, {H::hkOther, 60}} << 2 << 50;
        QTest::newRow("another kind between")
            << QList<Step> {{H::hkSize, 50}, {H::hkDepth, 60}, {H::hkSize, 70}} << 3 << 60;
        QTest::newRow("back where it began")
            << QList<Step> {{H::hkSize, 50}, {H::hkSize, start}} << 0 << start;
        QTest::newRow("nothing changed") << QList<Step> {{H::hkOther, start}} << 0 << start;
    }

    void changesMergeByKindAndRun()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(int, count);
        QFETCH(int, sizeAfterOneUndo);
        for (const Step& step : steps) {
            if (step.kind == kEndRun) {
                FEditor->EndRun();
                continue;
            }
            // the kind alone decides the merging, whatever field changes
            FEditor->Change([&](LogoDocument& d) { d.Size = step.size; }, step.kind);
        }
        QCOMPARE(FHistory->Stack()->count(), count);
        FHistory->Stack()->undo();
        QCOMPARE(FEditor->Document().Size, sizeAfterOneUndo);
    }

    void signalsWhatChanged()
    {
        QSignalSpy changed(FEditor.get(), &TLogoEditor::Changed);
        QSignalSpy previewed(FEditor.get(), &TLogoEditor::PreviewChanged);
        FEditor->Change([](LogoDocument& d) { d.Text = QStringLiteral("A"); },
                        TLogoHistory::hkText);
        QCOMPARE(changed.size(), 1);

        // a preview shows another document and leaves the logo and its history alone
        LogoDocument shown = FEditor->Document();
        shown.Warp = TLogoWarp::Arch;
        FEditor->Preview(shown);
        QCOMPARE(previewed.size(), 1);
        QCOMPARE(FEditor->Shown(), shown);
        FEditor->EndPreview();
        QCOMPARE(previewed.size(), 2);
        QCOMPARE(FEditor->Shown(), FEditor->Document());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(FHistory->Stack()->count(), 1);

        // a change ends a preview
        FEditor->Preview(shown);
        FEditor->Change([](LogoDocument& d) { d.Size = 9; }, TLogoHistory::hkSize);
        QVERIFY(!FEditor->Previewing());

        // undo, redo and a replacing document are changes too
        changed.clear();
        FHistory->Stack()->undo();
        FHistory->Stack()->redo();
        FEditor->Replace(LogoDocument(), {});
        QCOMPARE(changed.size(), 3);
        QCOMPARE(FEditor->Document(), LogoDocument());
    }

private:
    std::unique_ptr<TLogoEditor> FEditor;
    std::unique_ptr<TLogoHistory> FHistory;
};

QUILVORO_APP_TEST_MAIN(tst_LogoEditor)
#include "tst_LogoEditor.moc"
