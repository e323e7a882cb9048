// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the main window offscreen and saves a picture of it:
//   quilvoro-snap [--working] [--load FILE.qvd] [--hint CONTROL] OUT.png
#include "app/Makewindow1.h"
#include "framework/TApplication.h"
#include "framework/THintWindow.h"
#include "framework/TTimer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPainter>

#include <cstdio>

namespace {

// Runs a slide transition to its end without waiting for the timer.
void RunTransition(TTimer* timer)
{
    while (timer->Enabled())
        timer->Tick();
}

// The window's picture with the hint of `controlName` shown over it, as if the mouse rested on
// the control's centre.
QImage WithHint(TMakeForm1& form, const QString& controlName)
{
    QImage shot = form.grab().toImage();
    auto* control = form.findChild<QWidget*>(controlName);
    TApplication* app = TApplication::Instance();
    if (!control || !app)
        return shot;
    const QPoint mouse = control->mapToGlobal(control->rect().center());
    app->HintMouseMessage(control, mouse);
    app->HintTimerExpired();
    THintWindow* hint = app->HintWindow();
    if (!hint || !hint->isVisible())
        return shot;
    const QPoint offset = hint->pos() - form.pos();
    QPainter painter(&shot);
    if (!hint->mask().isEmpty())
        painter.setClipRegion(hint->mask().translated(offset));
    painter.drawImage(offset, hint->grab().toImage());
    return shot;
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
    const QCommandLineOption hint(QStringLiteral("hint"),
                                  QStringLiteral("Show the hint of a control, by name."),
                                  QStringLiteral("CONTROL"));
    parser.addOption(working);
    parser.addOption(load);
    parser.addOption(hint);
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
    const QImage picture =
        parser.isSet(hint) ? WithHint(form, parser.value(hint)) : form.grab().toImage();
    if (!picture.save(out)) {
        std::fprintf(stderr, "quilvoro-snap: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
