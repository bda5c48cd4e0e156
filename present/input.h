// Polled input: the keys' down and hits tables, indexed by virtual-key code,
// and the mouse's position and buttons. The platform feeds them through the
// event functions of <present/host_platform.h>, and a game controller through
// PadKeyEvent. A key is down while the keyboard or a game controller holds it;
// it counts a press when the first of them takes it.
#pragma once

#include <present/host_platform.h>

namespace present {

// The tables' size: virtual-key codes are 0 to 255.
inline constexpr int kKeyCount = 256;

// A game controller's hold on a key (pad_keys.h), kept apart from the
// keyboard's: letting go of one leaves the key down while the other holds it.
void PadKeyEvent(int key, bool down);

// Polling runs while a screen is open; stopping or starting it clears the tables.
void StartInput();
void StopInput();
bool InputActive();

// Maps an SDL keycode to the virtual-key code of the tables; -1 if none.
int VirtualKeyFromSdl(int sdlKeycode);

} // namespace present
