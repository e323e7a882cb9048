// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Splitting of the program's own path as the window needs it. Both "\" and ":" separate folders
// (paths of the original platform), and so does "/" on this one.
namespace ProgramPath {

// The folder of the program file; a final separator is dropped unless it follows another
// separator or a drive colon: "C:\Tools\Logo\x.exe" -> "C:\Tools\Logo", "C:\x.exe" -> "C:\".
QString AppDir(const QString& programPath);

// The file name without its extension: "C:\Tools\My.Logo.exe" -> "My.Logo".
QString ProgramName(const QString& programPath);

// A data file of the program (Readme.txt, updown.wav): beside the program (the build tree, or a
// copied folder), else in the installed data folder, found from the program's folder
// (bin/../share/quilvoro, so a moved install keeps working) and then at the folder the build
// was configured to install into. When none has it, the path beside the program.
QString DataFile(const QString& appDir, const QString& name);
// The folder of the running program's file as the system knows it, whatever the program was
// called by; needs no application object.
QString RunningProgramFolder();

// The same for a folder of data (the built-in looks).
QString DataFolder(const QString& appDir, const QString& name);

} // namespace ProgramPath
