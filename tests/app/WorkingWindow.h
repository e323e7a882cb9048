// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/LogoHistory.h"
#include "app/Makewindow1.h"
#include "framework/TTimer.h"

#include <QUndoStack>

#include <memory>

// Helpers for tests that work in the window as a user does, with the preview in view.
namespace WorkingWindow {

// Ticks a timer's handler until the timer stops itself.
inline void RunToEnd(TTimer* timer)
{
    for (int ticks = 0; timer->Enabled() && ticks < 200; ++ticks)
        timer->Tick();
}

// The window shown after its first New, with nothing in its history.
inline std::unique_ptr<TMakeForm1> WorkingForm()
{
    auto form = std::make_unique<TMakeForm1>(QStringLiteral("/opt/q/quilvoro"));
    form->show();
    form->SpeedButton1Click(form.get());
    RunToEnd(form->Timer1);
    form->History->Stack()->clear();
    return form;
}

} // namespace WorkingWindow
