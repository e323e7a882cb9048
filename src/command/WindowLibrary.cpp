// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command/WindowLibrary.h"

#include "platform/ProgramPath.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace WindowLibrary {

QString FileFor(const QString& programDir)
{
    const QString name = QStringLiteral(QUILVORO_WINDOW_LIBRARY);
    const QStringList candidates = {
        programDir + u'/' + name,
        QDir::cleanPath(programDir + u'/' + QStringLiteral(QUILVORO_WINDOW_FROM_BIN) + u'/' + name),
        QStringLiteral(QUILVORO_WINDOW_DIR) + u'/' + name,
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return candidates.first();
}

int Run(char* program, const QString& logoFile, QString* error)
{
    QLibrary library(FileFor(ProgramPath::RunningProgramFolder()));
    const auto entry = reinterpret_cast<TEntry>(library.resolve(kEntryName));
    if (!entry) {
        *error = library.errorString();
        return -1;
    }
    return entry(program, logoFile.toUtf8().constData());
}

} // namespace WindowLibrary
