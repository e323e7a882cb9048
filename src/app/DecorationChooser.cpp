// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DecorationChooser.h"

#include "app/LogoEditor.h"
#include "app/LogoHistory.h"
#include "app/ValueHints.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

TDecorationChooser::TDecorationChooser(QWidget* window, TLogoEditor* editor, QMenu* menu,
                                       TValueHints* hints, std::function<QRect()> previewOnScreen,
                                       const TChooserLook& look)
    : QObject(window)
    , FWindow(window)
    , FEditor(editor)
    , FHints(hints)
    , FPreviewOnScreen(std::move(previewOnScreen))
    , FLook(look)
    , FAction(new QAction(u"装飾…"_s, window))
{
    FAction->setObjectName(u"DecorationAction"_s);
    FAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    FAction->setShortcutContext(Qt::WindowShortcut);
    window->addAction(FAction);
    connect(FAction, &QAction::triggered, this, &TDecorationChooser::Open);
    if (menu)
        menu->addAction(FAction);
    connect(editor, &TLogoEditor::Changed, this, [this] {
        if (FPanel && FPanel->isVisible())
            FPanel->SetDocument(FEditor->Document());
    });
}

int TDecorationChooser::KindOf(TDecorationPanel::TStep step)
{
    switch (step.kind) {
    case TDecorationPanel::TStep::Slide:
        return kFirstBarKind + int(step.bar);
    case TDecorationPanel::TStep::Typing:
        return TLogoHistory::hkText;
    case TDecorationPanel::TStep::Pick:
        break;
    }
    return TLogoHistory::hkOther;
}

void TDecorationChooser::CreatePanel()
{
    FPanel = new TDecorationPanel(FWindow);
    FPanel->SetColors(FLook.color, FLook.text, FLook.highlight, FLook.highlightText);
    FPanel->SetCaptionFont(FLook.captionFont);
    // the window's keys (undo, save, the galleries) work in the panel too
    FPanel->addActions(FWindow->actions());
    TLogoEditor* editor = FEditor;
    FPanel->OnChange = [editor](const LogoDocument& document, TDecorationPanel::TStep step) {
        editor->Change([&](LogoDocument& d) { TDecorationPanel::CopyEdited(document, d); },
                       KindOf(step));
    };
    FPanel->OnEndRun = [editor] {
        editor->EndRun();
    };
    // what the panel changed goes back as one step of its own, or none when nothing changed
    FPanel->OnRestore = [editor](const LogoDocument& start) {
        editor->EndRun();
        editor->Change([&](LogoDocument& d) { TDecorationPanel::CopyEdited(start, d); },
                       TLogoHistory::hkOther);
    };
    if (FHints) {
        for (int b = 0; b < TDecorationPanel::kBars; ++b) {
            const auto bar = TDecorationPanel::TBar(b);
            FHints->Watch(FPanel->Bar(bar), TDecorationPanel::BarName(bar), [bar](int position) {
                return TDecorationPanel::ValueText(bar, position);
            });
        }
    }
}

void TDecorationChooser::Open()
{
    if (!FPanel)
        CreatePanel();
    // open already, it keeps what Escape goes back to
    if (FPanel->isVisible()) {
        FPanel->activateWindow();
        return;
    }
    FEditor->EndRun();
    FPanel->Open(FEditor->Document(), FPreviewOnScreen());
}
