// Where the running program lives: its settings, log and default
// destination sit beside it.
#pragma once

#include <string>

namespace ProgramLocation {

// The directory of the program file, ending in a separator; "" when the
// platform cannot tell.
std::string Directory();

}  // namespace ProgramLocation
