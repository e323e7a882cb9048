// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/CommandLine.h"
#include "command/RenderCommand.h"
#include "command/WindowLibrary.h"
#include "document/LookLibrary.h"
#include "platform/ErrorText.h"
#include "platform/ProgramPath.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

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

// The built-in looks: beside the program in the build tree, else where they were installed.
QString BuiltInLooks()
{
    return ProgramPath::DataFolder(ProgramPath::RunningProgramFolder(), u"looks"_s);
}

int RunRender(char* argv[], const RenderRequest& request)
{
    // pictures only: no display server is needed, or asked for
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(CriticalOnly);
    ErrorText::SetLanguage(ErrorText::TLanguage::English);
    int argc = 1;
    QGuiApplication app(argc, argv);
    return RenderCommand(request).Run(BuiltInLooks());
}

int ListLooks(char* argv[])
{
    int argc = 1;
    QCoreApplication app(argc, argv);
    const LookLibrary library(BuiltInLooks(), LookLibrary::UserFolder());
    for (const LookPreset& look : library.Looks()) {
        const QString line = u"%1\t%2\t%3\n"_s.arg(look.Id(), look.Name(),
                                                   look.BuiltIn() ? u"built-in"_s : u"user"_s);
        std::fputs(line.toLocal8Bit().constData(), stdout);
    }
    for (const QString& problem : library.Problems())
        std::fprintf(stderr, "quilvoro: skipped %s\n", problem.toLocal8Bit().constData());
    return 0;
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
        std::fputs(WindowLibrary::kNoDisplay, stderr);
        return 1;
    }
    QString error;
    const int status = WindowLibrary::Run(argv[0], logoFile, &error);
    if (status < 0)
        std::fprintf(stderr, "quilvoro: the window cannot be opened: %s\n",
                     error.toLocal8Bit().constData());
    return status < 0 ? 1 : status;
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
    case CommandLine::TAction::ListLooks:
        return ListLooks(argv);
    case CommandLine::TAction::OpenWindow:
        return RunWindow(argv, commandLine.LogoFile());
    case CommandLine::TAction::Exit:
        break;
    }
    return Finish(commandLine);
}
