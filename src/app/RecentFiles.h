// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// The last logo files saved or loaded, newest first, each once, at most kMax of them.
class TRecentFiles
{
public:
    static constexpr int kMax = 8;

    QStringList Files() const;
    // Puts `path` (made absolute) first.
    void Add(const QString& path);
    void Remove(const QString& path);

    // The folder a file dialog used last, by the dialog's name; empty when none.
    static QString LastFolder(const QString& dialogName);
    static void SetLastFolder(const QString& dialogName, const QString& folder);

private:
    static void Store(const QStringList& files);
};
