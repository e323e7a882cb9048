// SPDX-FileCopyrightText: 2026 The Quilvoro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QSettings;

// The program's own settings, in the user's standard settings place (QSettings, organisation
// and application "Quilvoro"): the recent logo files, the last folder of each file dialog and
// the PNG export's choices.
namespace Settings {

QSettings Open();

} // namespace Settings
