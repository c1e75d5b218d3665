#pragma once
// The demo's settings file, which remembers the language the user chose.

#include <string>

namespace demo {

/// $XDG_CONFIG_HOME/glotrix-demo/demo.ini, or ~/.config/glotrix-demo/demo.ini
/// when the variable is unset, empty or not an absolute path (the XDG rule);
/// empty when there is no home folder either.
std::string SettingsFileName();

/// The file name of the pack chosen last ("RUS.lng"), or empty.
std::string ReadChosenPack();

/// Stores the chosen pack's file name (a full path is reduced to the name);
/// false when the settings file cannot be written.
bool WriteChosenPack(const std::string& packFileName);

} // namespace demo
