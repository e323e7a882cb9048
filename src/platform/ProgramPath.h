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

} // namespace ProgramPath
