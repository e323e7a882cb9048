#include "app/LogoHistory.h"

#include "app/LogoUndoCommand.h"

#include <utility>

TLogoHistory::TLogoHistory(QObject* parent, std::function<LogoDocument()> current,
                           std::function<void(const LogoDocument&)> restore)
    : QObject(parent)
    , FCurrentDocument(std::move(current))
    , FRestore(std::move(restore))
    , FCurrent(FCurrentDocument())
    , FSaved(FCurrent)
{
    // Whatever moves through the history, the next change starts a new step.
    connect(&FStack, &QUndoStack::indexChanged, this, [this] { ++FRun; });
}

void TLogoHistory::Record(int kind)
{
    if (FRestoring || FBatchDepth > 0)
        return;
    LogoDocument now = FCurrentDocument();
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
    auto* step = new TLogoUndoCommand(FCurrent, now, kind, run,
                                      [this](const LogoDocument& d) { Restore(d); });
    FCurrent = std::move(now);
    FStack.push(step);
    // The push moved the index, which ends runs; a mergeable kind goes on with its own run.
    FRun = run;
}

void TLogoHistory::Restore(const LogoDocument& document)
{
    FRestoring = true;
    try {
        FRestore(document);
    } catch (...) {
        FRestoring = false;
        FCurrent = FCurrentDocument();
        throw;
    }
    FRestoring = false;
    FCurrent = FCurrentDocument();
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
    FSaved = FCurrentDocument();
    FStack.setClean();
}

bool TLogoHistory::IsModified() const
{
    return FCurrentDocument() != FSaved;
}
