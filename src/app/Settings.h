#pragma once

class QSettings;

// The program's own settings, in the user's standard settings place (QSettings, organisation
// and application "Quilvoro"): the recent logo files, the last folder of each file dialog and
// the PNG export's choices.
namespace Settings {

QSettings Open();

} // namespace Settings
