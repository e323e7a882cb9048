// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LogoUndoCommand.h"

TLogoUndoCommand::TLogoUndoCommand(const TLogoState& before, const TLogoState& after, int kind,
                                   int run, TApply apply)
    : FBefore(before)
    , FAfter(after)
    , FKind(kind)
    , FRun(run)
    , FApply(std::move(apply))
{ }

void TLogoUndoCommand::undo()
{
    FApply(FBefore);
}

void TLogoUndoCommand::redo()
{
    if (!FPushed) {
        FPushed = true;
        return;
    }
    FApply(FAfter);
}

bool TLogoUndoCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TLogoUndoCommand*>(other);
    if (next->FRun != FRun)
        return false;
    FAfter = next->FAfter;
    // A run that ends where it began is no step at all.
    if (FAfter == FBefore)
        setObsolete(true);
    return true;
}
