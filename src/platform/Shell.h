// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class QObject;

// Opens a document or address with the desktop's default handler, as the shell's "open" does.
namespace Shell {

// Hands `target` (a URL "https://..." or a local file path) to the desktop and returns at once.
// `done` runs later with false when nothing opened it: no desktop session (an offscreen or
// minimal platform), no opener, or an opener that ran and failed (xdg-open exits non-zero when
// it finds no browser); true once the opener succeeded. It is not run when `context` is gone.
void Open(const QString& target, QObject* context, std::function<void(bool opened)> done);

// Tests replace the opener to see what would be opened and to choose whether it succeeds.
using Opener = std::function<bool(const QString& target)>;
void SetOpener(Opener value);

// Tests without a display let the real opener run all the same.
void AssumeDesktop(bool value);

} // namespace Shell
