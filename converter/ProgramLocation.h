// Where the running program lives: its settings, log and default
// destination sit beside it.
#pragma once

#include <string>

namespace ProgramLocation {

// The directory of the program file, ending in a separator; "" when the
// platform cannot tell.
std::string Directory();

// Whether a file can be created in directory (ending in a separator).
bool IsWritableDirectory(const std::string& directory);

// $XDG_CONFIG_HOME/korvex/, or ~/.config/korvex/ when XDG_CONFIG_HOME is
// unset, empty or relative; created when missing. "" when neither variable
// gives an absolute directory or it cannot be made.
std::string UserSettingsDirectory();

}  // namespace ProgramLocation
