// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

// Event sounds: a WAV file played asynchronously, and the desktop's beeps.
namespace Sound {

// The MessageBeep types the program uses.
enum BeepType : unsigned {
    MB_OK = 0x00,
    MB_ICONHAND = 0x10, // stop / error
    MB_ICONEXCLAMATION = 0x30,
};

// Plays a WAV file without waiting for it. A missing or unplayable file plays the desktop's
// default event sound instead. Returns whether the file itself was handed to the player.
bool PlayFile(const QString& path);

// Plays the desktop's event sound for a beep type.
void MessageBeep(unsigned type);

// Everything played is reported here first, so tests can see what sounded (and stay silent).
// `what` is the file path, or "beep:N" for a beep of type N.
using Observer = std::function<void(const QString& what)>;
void SetObserver(Observer value);

} // namespace Sound
