// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The reasons the system gives for a failed file operation, in the language the program speaks:
// the window speaks Japanese, the command line English whatever the locale, so a script's log
// never mixes the two.
namespace ErrorText {

enum class TLanguage { Japanese, English };

// Chosen once at start, before any thread runs; Japanese until then.
void SetLanguage(TLanguage language);
TLanguage Language();

// `japanese` or `english`, whichever the program speaks.
QString Say(const QString& japanese, const QString& english);

// The reason for a system error number ("ディスクノ空キ容量ガ足リマセン" or "no space left on the
// disk" for ENOSPC); an unknown number gives "システムエラー N" or "system error N".
QString OfErrno(int errnum);

// A reason as Qt reports it for a file (the system's own text for an error number, or Qt's
// "Unknown error") in the language spoken; any other text comes back unchanged.
QString OfQt(const QString& reason);

// OfQt in Japanese, whatever the language spoken.
QString Japanese(const QString& reason);

} // namespace ErrorText
