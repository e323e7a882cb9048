// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LogoDocument.h"

#include <QRect>
#include <QUndoCommand>

#include <functional>

// What a step of the history brings back: the logo document, and the selection frame, which
// the logo file does not hold.
struct TLogoState
{
    LogoDocument Document;
    QRect Selection;

    bool operator==(const TLogoState&) const = default;
};

// One step of the logo's history: the whole state before and after it. Steps of the same
// kind and run merge (a slider drag, a run of typing); a kind below 0 never merges.
class TLogoUndoCommand : public QUndoCommand
{
public:
    using TApply = std::function<void(const TLogoState&)>;

    TLogoUndoCommand(const TLogoState& before, const TLogoState& after, int kind, int run,
                     TApply apply);

    const TLogoState& Before() const { return FBefore; }
    const TLogoState& After() const { return FAfter; }
    int Run() const { return FRun; }

    void undo() override;
    // The first redo is the push: the change it records is already on screen.
    void redo() override;
    int id() const override { return FKind; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TLogoState FBefore;
    TLogoState FAfter;
    int FKind;
    int FRun;
    TApply FApply;
    bool FPushed = false;
};
