// Polled input: the keys' down and hits tables, indexed by virtual-key code,
// and the mouse's position and buttons. The platform feeds them through the
// event functions of <present/host_platform.h>.
#pragma once

#include <present/host_platform.h>

namespace present {

// Polling runs while a screen is open; stopping or starting it clears the tables.
void StartInput();
void StopInput();
bool InputActive();

// Maps an SDL keycode to the virtual-key code of the tables; -1 if none.
int VirtualKeyFromSdl(int sdlKeycode);

} // namespace present
