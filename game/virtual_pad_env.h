// MORVEL_VIRTUAL_PAD=FILE: the game plays the pad events of FILE (morvel-script's
// script format, pad events only) on a virtual controller plugged in at start,
// through the very SDL events a real controller sends. It lets the installed
// game be played with a controller where there is none to plug in, and where
// the kernel offers no uinput to make one: a test's virtual controller can
// live only inside the program it drives.
#pragma once

#include <string>

namespace morvel {

inline constexpr const char* kVirtualPadVariable = "MORVEL_VIRTUAL_PAD";

// With the variable set, installs the desktop platform with FILE's pad events
// scheduled. Empty when the variable is unset or the file was taken, else why
// not (a file that cannot be read, a malformed line, a key event).
std::string PlayVirtualPadFromEnvironment();

} // namespace morvel
