// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The window lives in a library of its own, which the program loads only to open the window,
// so that `quilvoro render` (and with it every thumbnail) never loads Qt Widgets.
namespace WindowLibrary {

// What the program says when no display server can be had.
inline constexpr char kNoDisplay[] =
    "quilvoro: no display found: the window needs a display server (DISPLAY or "
    "WAYLAND_DISPLAY); quilvoro render writes pictures without one\n";

// The entry the library exports: runs the window until it closes, with `logoFile` (UTF-8, empty
// for none) opened as a recent file opens, and returns the exit status.
inline constexpr char kEntryName[] = "QuilvoroRunWindow";
using TEntry = int (*)(char* program, const char* logoFile);

// The library's file: beside the program (the build tree), else where it was installed,
// relative to the program's folder and then absolute.
QString FileFor(const QString& programDir);

// Loads the library and runs the window; -1 with `error` set when the library cannot be loaded.
int Run(char* program, const QString& logoFile, QString* error);

} // namespace WindowLibrary
