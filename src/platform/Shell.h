#pragma once

#include <QString>

#include <functional>

// Opens a document or address with the desktop's default handler, as the shell's "open" does.
namespace Shell {

// Opens a URL ("https://...") or a local file path. Returns false when nothing could be started:
// no desktop session (an offscreen or minimal platform) or no opener for the target. A handler
// that starts and then fails on its own is not seen.
bool Open(const QString& target);

// Tests replace the opener to see what would be opened and to choose whether it succeeds.
using Opener = std::function<bool(const QString& target)>;
void SetOpener(Opener value);

} // namespace Shell
