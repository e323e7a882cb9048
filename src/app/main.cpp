// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandLine.h"
#include "app/Makewindow1.h"
#include "app/RenderCommand.h"
#include "app/WindowActions.h"
#include "framework/TApplication.h"
#include "framework/TTranslation.h"
#include "platform/ErrorText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

QStringList RawArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int Finish(const CommandLine& commandLine)
{
    std::fputs(commandLine.Output().toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.Errors().toLocal8Bit().constData(), stderr);
    return commandLine.ExitCode();
}

// Qt's own notes (a missing runtime folder, font fallbacks) mean nothing to a script that
// reads our errors; only its critical messages get through.
void CriticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "quilvoro: %s\n", message.toLocal8Bit().constData());
}

int RunRender(char* argv[], const RenderRequest& request)
{
    // pictures only: no display server is needed, or asked for
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(CriticalOnly);
    ErrorText::SetLanguage(ErrorText::TLanguage::English);
    int argc = 1;
    QGuiApplication app(argc, argv);
    return RenderCommand(request).Run();
}

const char kNoDisplay[] = "quilvoro: no display found: the window needs a display server "
                          "(DISPLAY or WAYLAND_DISPLAY); quilvoro render writes pictures "
                          "without one\n";

// Qt's notes while it looks for a display: shown only after our own message, if it fails.
QStringList& PlatformNotes()
{
    static QStringList notes;
    return notes;
}

// Qt ends the program with an abort when it finds no display; that is said plainly instead,
// with what Qt found, and the program ends as a failed command does.
void PlatformMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        PlatformNotes().append(message);
        return;
    }
    std::fputs(kNoDisplay, stderr);
    for (const QString& note : PlatformNotes())
        std::fprintf(stderr, "quilvoro: %s\n", note.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

bool DisplayNamed()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int RunWindow(char* argv[], const QString& logoFile)
{
    if (!DisplayNamed()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    static int argc = 1; // QApplication keeps a reference to it
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
        if (!logoFile.isEmpty())
            form.Actions->OpenRecent(logoFile);
        return app->exec();
    });
}

} // namespace

int main(int argc, char* argv[])
{
    // Every argument is read here, before any application object exists: Qt takes none of
    // them for itself, and help, version and usage errors need no display.
    const int cores = CommandLine::IsRender(argc, argv) ? QThread::idealThreadCount() : 1;
    const CommandLine commandLine = CommandLine::Parse(RawArguments(argc, argv), cores);
    switch (commandLine.Action()) {
    case CommandLine::TAction::Render:
        return RunRender(argv, commandLine.Request());
    case CommandLine::TAction::OpenWindow:
        return RunWindow(argv, commandLine.LogoFile());
    case CommandLine::TAction::Exit:
        break;
    }
    return Finish(commandLine);
}
