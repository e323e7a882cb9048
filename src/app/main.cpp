#include "app/CommandLine.h"
#include "app/Makewindow1.h"
#include "app/RenderCommand.h"
#include "document/LogoFile.h"
#include "framework/TApplication.h"
#include "framework/TTranslation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <memory>

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

int RunRender(int argc, char* argv[])
{
    // pictures only: no display server is needed, or asked for
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(CriticalOnly);
    QGuiApplication app(argc, argv);
    const CommandLine commandLine =
        CommandLine::Parse(QCoreApplication::arguments(), QThread::idealThreadCount());
    if (commandLine.Action() != CommandLine::TAction::Render)
        return Finish(commandLine);
    return RenderCommand(commandLine.Request()).Run();
}

} // namespace

int main(int argc, char* argv[])
{
    if (CommandLine::IsRender(argc, argv))
        return RunRender(argc, argv);
    // help, version and usage errors need no display; only an option that the application
    // object may know waits for it
    const CommandLine early = CommandLine::Parse(RawArguments(argc, argv), 1);
    if (early.Action() == CommandLine::TAction::Exit && !early.UnknownOption())
        return Finish(early);

    std::unique_ptr<TApplication> app;
    return TApplication::RunGuarded([&] {
        app = std::make_unique<TApplication>(argc, argv);
        app->SetTitle(QStringLiteral("Quilvoro"));
        Translation::LoadJapanese();
        // parsed again without the options the application took for itself (-platform, ...)
        const CommandLine commandLine = CommandLine::Parse(QCoreApplication::arguments(), 1);
        if (commandLine.Action() != CommandLine::TAction::OpenWindow)
            return Finish(commandLine);
        TMakeForm1 form(QCoreApplication::applicationFilePath());
        form.CenterOnDesktop();
        form.show();
        if (!commandLine.LogoFile().isEmpty()) {
            // loaded all the same, as Load does: what the file lacks stays as it was
            QString error;
            if (!LogoFile::Load(commandLine.LogoFile(), &error))
                std::fprintf(stderr, "quilvoro: %s: %s\n",
                             commandLine.LogoFile().toLocal8Bit().constData(),
                             error.toLocal8Bit().constData());
            // the preview slides in with the logo, as New then Load would show it
            form.LoadWithTransition(commandLine.LogoFile());
        }
        return app->exec();
    });
}
