// Builds the main window offscreen and saves a picture of it:
//   quilvoro-snap [--working] [--load FILE.qvd] OUT.png
#include "app/Makewindow1.h"
#include "framework/TApplication.h"
#include "framework/TTimer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// Runs a slide transition to its end without waiting for the timer.
void RunTransition(TTimer* timer)
{
    while (timer->Enabled())
        timer->Tick();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Quilvoro"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves a picture of the Quilvoro window."));
    parser.addHelpOption();
    const QCommandLineOption working(
        QStringLiteral("working"),
        QStringLiteral("Run New first, so the preview and every editing control show."));
    const QCommandLineOption load(QStringLiteral("load"),
                                  QStringLiteral("Load a logo file (implies --working)."),
                                  QStringLiteral("FILE.qvd"));
    parser.addOption(working);
    parser.addOption(load);
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("picture to write"));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    TMakeForm1 form(QCoreApplication::applicationFilePath());
    form.show();
    if (parser.isSet(working) || parser.isSet(load)) {
        form.SpeedButton1Click(&form);
        RunTransition(form.Timer1);
    }
    if (parser.isSet(load))
        form.LoadLogoFile(parser.value(load));
    QCoreApplication::processEvents();
    const QString out = parser.positionalArguments().constFirst();
    if (!form.grab().save(out)) {
        std::fprintf(stderr, "quilvoro-snap: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
