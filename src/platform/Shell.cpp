// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>
#include <utility>

namespace Shell {

namespace {

Opener& CurrentOpener()
{
    static Opener opener;
    return opener;
}

bool& DesktopAssumed()
{
    static bool assumed = false;
    return assumed;
}

// Platforms that draw nowhere have no desktop to hand a document to; asking them only prints a
// warning.
bool HasDesktop()
{
    const QString platform = QGuiApplication::platformName();
    return DesktopAssumed()
        || (!platform.isEmpty() && platform != QLatin1String("offscreen")
            && platform != QLatin1String("minimal"));
}

// Qt warns on standard error when it finds no browser or opener; the caller shows its own
// fallback instead, so the warning is only noise.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) { }

bool OpenThroughQt(const QString& target)
{
    const QUrl url =
        target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    const QtMessageHandler previous = qInstallMessageHandler(DropMessage);
    const bool opened = QDesktopServices::openUrl(url);
    qInstallMessageHandler(previous);
    return opened;
}

} // namespace

void Open(const QString& target, QObject* context, std::function<void(bool opened)> done)
{
    if (CurrentOpener()) {
        done(CurrentOpener()(target));
        return;
    }
    if (!HasDesktop()) {
        done(false);
        return;
    }
    // Qt hands the target to xdg-open without waiting for it, so a failing opener would go
    // unseen; run it ourselves and judge by its exit.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        done(OpenThroughQt(target));
        return;
    }
    auto* process = new QProcess(context);
    process->setProgram(opener);
    process->setArguments({target});
    // its complaints are ours to show, in the window
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto finish = [process, done, reported = std::make_shared<bool>(false)](bool opened) {
        if (std::exchange(*reported, true))
            return;
        process->deleteLater();
        done(opened);
    };
    QObject::connect(process, &QProcess::finished, context,
                     [finish](int code, QProcess::ExitStatus status) {
                         finish(status == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [finish](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             finish(false);
                     });
    process->start();
}

void SetOpener(Opener value)
{
    CurrentOpener() = std::move(value);
}

void AssumeDesktop(bool value)
{
    DesktopAssumed() = value;
}

} // namespace Shell
