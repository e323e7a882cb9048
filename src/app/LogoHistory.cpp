// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoHistory.h"

#include "app/LogoUndoCommand.h"

#include <utility>

TLogoHistory::TLogoHistory(QObject* parent, std::function<TLogoState()> current,
                           std::function<void(const TLogoState&)> restore)
    : QObject(parent)
    , FCurrentState(std::move(current))
    , FRestore(std::move(restore))
    , FCurrent(FCurrentState())
    , FSaved(FCurrent.Document)
{
    // Whatever moves through the history, the next change starts a new step.
    connect(&FStack, &QUndoStack::indexChanged, this, [this] { ++FRun; });
}

void TLogoHistory::Record(int kind)
{
    if (FRestoring || FBatchDepth > 0)
        return;
    TLogoState now = FCurrentState();
    if (now == FCurrent)
        return;
    if (kind < 0)
        ++FRun;
    if (kind == hkText) {
        if (FSinceTyping.isValid() && FSinceTyping.elapsed() > kTypingPauseMs)
            EndRun();
        FSinceTyping.start();
    }
    const int run = FRun;
    auto* step =
        new TLogoUndoCommand(FCurrent, now, kind, run, [this](const TLogoState& s) { Restore(s); });
    FCurrent = std::move(now);
    FStack.push(step);
    // The push moved the index, which ends runs; a mergeable kind goes on with its own run.
    FRun = run;
}

void TLogoHistory::ContinueLastStep()
{
    if (FStack.index() > 0)
        FRun = static_cast<const TLogoUndoCommand*>(FStack.command(FStack.index() - 1))->Run();
}

void TLogoHistory::Restore(const TLogoState& state)
{
    FRestoring = true;
    try {
        FRestore(state);
    } catch (...) {
        FRestoring = false;
        FCurrent = FCurrentState();
        throw;
    }
    FRestoring = false;
    FCurrent = FCurrentState();
}

TLogoHistory::TBatch::TBatch(TLogoHistory* history, bool replaces)
    : FHistory(history)
    , FReplaces(replaces)
{
    if (FHistory)
        ++FHistory->FBatchDepth;
}

TLogoHistory::TBatch::~TBatch()
{
    if (!FHistory)
        return;
    FHistory->FBatchReplaces |= FReplaces;
    if (--FHistory->FBatchDepth > 0)
        return;
    FHistory->Record(hkOther);
    if (std::exchange(FHistory->FBatchReplaces, false))
        FHistory->MarkSaved();
}

void TLogoHistory::MarkSaved()
{
    FSaved = FCurrentState().Document;
    FStack.setClean();
}

bool TLogoHistory::IsModified() const
{
    return FCurrentState().Document != FSaved;
}
