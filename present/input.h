// Polled input: the keys' down and hits tables, indexed by virtual-key code,
// and the mouse's position and buttons.
#pragma once

namespace present {

// Fed by the platform's event processing.
void KeyDownEvent(int key);
void KeyUpEvent(int key);
void FocusChangeEvent(); // suspended or resumed: both tables cleared, buttons released
void MouseMoveEvent(int x, int y);
void MouseButtonEvent(int button, bool down);

// Polling runs while a screen is open; stopping or starting it clears the tables.
void StartInput();
void StopInput();
bool InputActive();

// Maps an SDL keycode to the virtual-key code of the tables; -1 if none.
int VirtualKeyFromSdl(int sdlKeycode);

} // namespace present
