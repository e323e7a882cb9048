// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window library's one export, which the program calls to open the window.
#include "app/Makewindow1.h"
#include "app/WindowActions.h"
#include "command/WindowLibrary.h"
#include "framework/TApplication.h"
#include "framework/TTranslation.h"

#include <QCoreApplication>

#include <memory>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) int QuilvoroRunWindow(char* program,
                                                                        const char* logoFile)
{
    static int argc = 1; // QApplication keeps references to both
    static char* argv[] = {program, nullptr};
    const QString logo = QString::fromUtf8(logoFile);
    std::unique_ptr<TApplication> app;
    return TApplication::RunGuarded([&] {
        app = std::make_unique<TApplication>(argc, argv);
        app->SetTitle(QStringLiteral("Quilvoro"));
        Translation::LoadJapanese();
        TMakeForm1 form(QCoreApplication::applicationFilePath());
        form.CenterOnDesktop();
        form.show();
        // as a recent file opens: the preview slides in with the logo, and a missing file is
        // said so in the window
        if (!logo.isEmpty())
            form.Actions->OpenRecent(logo);
        return app->exec();
    });
}

static_assert(std::is_same_v<decltype(&QuilvoroRunWindow), WindowLibrary::TEntry>);
