// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// The program run as a script runs it, for tests of the command line.
namespace ProgramRun {

struct TRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program` in `folder` with no display server in its environment, and with `settings`
// added to it (a locale, a data folder); a run that does not end normally gives exit code -1.
inline TRun Run(const QStringList& arguments, const QString& folder, const QString& program,
                const QHash<QString, QString>& settings = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                QStringLiteral("QT_QPA_PLATFORM")})
        environment.remove(name);
    for (auto setting = settings.begin(); setting != settings.end(); ++setting)
        environment.insert(setting.key(), setting.value());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace ProgramRun
