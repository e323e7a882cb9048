#pragma once

#include <QString>

#include <functional>

// Opens a document or address with the desktop's default handler, as the shell's "open" does.
namespace Shell {

// Opens a URL ("https://...") or a local file path. Failures are silent, as on the desktop.
void Open(const QString& target);

// Tests replace the opener to see what would be opened.
using Opener = std::function<void(const QString& target)>;
void SetOpener(Opener opener);

} // namespace Shell
