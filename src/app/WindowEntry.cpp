// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window library's one export, which the program calls to open the window.
#include "app/Makewindow1.h"
#include "app/WindowActions.h"
#include "command/WindowLibrary.h"
#include "framework/TApplication.h"
#include "framework/TTranslation.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <utility>

namespace {

// Qt's notes while it looks for a display: shown only after our own message, if it fails.
QStringList& PlatformNotes()
{
    static QStringList notes;
    return notes;
}

// Qt ends the program with an abort when the display it was given is not there; that is said
// plainly instead, with what Qt found, and the program ends as a failed command does.
void PlatformMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        PlatformNotes().append(message);
        return;
    }
    std::fputs(WindowLibrary::kNoDisplay, stderr);
    for (const QString& note : PlatformNotes())
        std::fprintf(stderr, "quilvoro: %s\n", note.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

extern "C" __attribute__((visibility("default"))) int QuilvoroRunWindow(char* program,
                                                                        const char* logoFile)
{
    static int argc = 1; // QApplication keeps references to both
    static char* argv[] = {program, nullptr};
    const QString logo = QString::fromUtf8(logoFile);
    std::unique_ptr<TApplication> app;
    return TApplication::RunGuarded([&] {
        const QtMessageHandler before = qInstallMessageHandler(PlatformMessage);
        app = std::make_unique<TApplication>(argc, argv);
        qInstallMessageHandler(before);
        for (const QString& note : std::exchange(PlatformNotes(), {}))
            qWarning("%s", qPrintable(note));
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
