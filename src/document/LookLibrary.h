// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/LookPreset.h"

#include <QList>
#include <QString>
#include <QStringList>

// The looks a user can pick: their own first (by name), then the built-in ones (by their
// place). A file that cannot be read as a look is skipped and named in Problems(); a user look
// with the id of a built-in one hides it.
class LookLibrary
{
public:
    LookLibrary() = default;
    LookLibrary(const QString& builtInFolder, const QString& userFolder);

    // Where the user's own looks are kept (quilvoro/looks under the user's data folder).
    static QString UserFolder();

    const QList<LookPreset>& Looks() const { return FLooks; }
    const LookPreset* Find(const QString& id) const;
    QStringList Ids() const;
    // One line per skipped file: its path and why.
    const QStringList& Problems() const { return FProblems; }

    // A free file name in `folder` for a look called `name`, as a file-name-safe id that is none
    // of `taken` (the built-in looks' ids, which a user look would otherwise hide).
    static QString NewFileName(const QString& folder, const QString& name,
                               const QStringList& taken = {});

    // The user's own looks, kept as files in a folder of theirs. A failure throws
    // EIniFileException, whose message names the file and says why; nothing is then changed.
    // Saves the look of `document` as `name` in `folder` (made when missing); gives its file.
    static QString SaveUserLook(const LogoDocument& document, const QString& name,
                                const QString& folder, const QStringList& taken = {});
    // Names `look` `name`; its file, and with it its id, follows the name when it can.
    static void RenameUserLook(const LookPreset& look, const QString& name,
                               const QStringList& taken = {});
    static void DeleteUserLook(const LookPreset& look);

private:
    QList<LookPreset> Read(const QString& folder, bool builtIn);

    QList<LookPreset> FLooks;
    QStringList FProblems;
};
