#pragma once

#include "document/LogoDocument.h"

#include <QUndoCommand>

#include <functional>

// One step of the logo's history: the whole document before and after it. Steps of the same
// kind and run merge (a slider drag, a run of typing); a kind below 0 never merges.
class TLogoUndoCommand : public QUndoCommand
{
public:
    using TApply = std::function<void(const LogoDocument&)>;

    TLogoUndoCommand(const LogoDocument& before, const LogoDocument& after, int kind, int run,
                     TApply apply);

    const LogoDocument& Before() const { return FBefore; }
    const LogoDocument& After() const { return FAfter; }

    void undo() override;
    // The first redo is the push: the change it records is already on screen.
    void redo() override;
    int id() const override { return FKind; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    LogoDocument FBefore;
    LogoDocument FAfter;
    int FKind;
    int FRun;
    TApply FApply;
    bool FPushed = false;
};
