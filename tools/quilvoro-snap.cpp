// Builds the main window offscreen and saves a picture of it: quilvoro-snap OUT.png
#include "app/Makewindow1.h"
#include "framework/TApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Quilvoro"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves a picture of the Quilvoro window."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("picture to write"));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    TMakeForm1 form(QCoreApplication::applicationFilePath());
    form.show();
    QCoreApplication::processEvents();
    const QString out = parser.positionalArguments().constFirst();
    if (!form.grab().save(out)) {
        std::fprintf(stderr, "quilvoro-snap: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
