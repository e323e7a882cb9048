// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/LogoUndoCommand.h"

#include <QElapsedTimer>
#include <QObject>
#include <QUndoStack>

#include <functional>

class QAction;

// The logo's undo history and its saved state. Every change of a setting or of the selection
// frame becomes one step, by comparing the whole state before and after it; changes that belong
// together (a slider drag, a run of typing without a pause) merge. New and Load are steps too, and
// take the document they leave as the saved state; so does a save.
class TLogoHistory : public QObject
{
    Q_OBJECT

public:
    // What changed; steps of one mergeable kind merge within a run.
    enum TKind {
        hkText = 1,
        hkSize,
        hkAngle,
        hkDepth,
        hkDirection,
        hkWarpAmount,
        hkOther = -1, // never merges
    };

    // `current` reads the state the window shows; `restore` carries one into the window.
    TLogoHistory(QObject* parent, std::function<TLogoState()> current,
                 std::function<void(const TLogoState&)> restore);

    QUndoStack* Stack() { return &FStack; }

    // Records the change just made, if the state changed.
    void Record(int kind);
    // Ends the current run: the next change starts a step of its own.
    void EndRun() { ++FRun; }
    // The next change goes on with the last step's run, so a change back to where that step
    // began leaves no step at all.
    void ContinueLastStep();

    // A pause in typing longer than this ends its run, as in text editors.
    static constexpr int kTypingPauseMs = 1000;

    // Changes made inside a batch (New, Load) become one step when the outermost batch ends;
    // a replacing batch then takes the document as the saved one.
    class TBatch
    {
    public:
        explicit TBatch(TLogoHistory* history, bool replaces = false);
        ~TBatch();
        TBatch(const TBatch&) = delete;
        TBatch& operator=(const TBatch&) = delete;

    private:
        TLogoHistory* FHistory;
        bool FReplaces;
    };

    // The document now on screen is the saved one.
    void MarkSaved();
    // Whether the document differs from the one last saved or loaded; the frame is no part of
    // the saved work.
    bool IsModified() const;
    const LogoDocument& Saved() const { return FSaved; }

private:
    void Restore(const TLogoState& state);

    std::function<TLogoState()> FCurrentState;
    std::function<void(const TLogoState&)> FRestore;
    QUndoStack FStack;
    TLogoState FCurrent;
    LogoDocument FSaved;
    int FRun = 0;
    QElapsedTimer FSinceTyping;
    int FBatchDepth = 0;
    bool FBatchReplaces = false;
    bool FRestoring = false;
};
