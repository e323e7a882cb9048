// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Pins what pixel tests depend on (fonts, style, palette) and silences the desktop services.
namespace TestEnvironment {

// Call from initTestCase(): installs the face substitutions, the Fusion style with a fixed
// palette, routes sounds and shell opens into the lists below, and points the user's settings
// and data folders into UserFolder().
void Pin();

// A temporary folder of this test run that stands for the user's home folders.
QString UserFolder();

// What the program tried to play ("beep:N" or a file path) and to open, since the last Pin().
QStringList& PlayedSounds();
QStringList& OpenedTargets();

// Whether the routed shell opens succeed (true after Pin()); false acts as a machine without a
// desktop opener.
bool& OpenSucceeds();

} // namespace TestEnvironment
