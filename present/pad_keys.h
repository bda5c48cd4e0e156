// What a game controller does in the key tables (input.h): each of its bound
// buttons and stick directions holds virtual keys, as the keyboard's keys do,
// so that whatever reads the keys reads the pad too. Back and Start held
// together ask the program to quit, a pair no game moment presses by chance.
#pragma once

namespace present {

// The left stick counts as left or right only past this far from its centre
// (of 32767): a worn stick rests a few thousand off centre.
inline constexpr int kStickDeadZone = 8000;

// Controllers are told apart by the id their events carry; buttons and axes
// are numbered as SDL's game controller numbers them. Unknown buttons and
// axes are ignored.
void PadButtonEvent(int controller, int button, bool down);
void PadAxisEvent(int controller, int axis, int value);
// The controller is gone: every key it held is let go.
void PadRemovedEvent(int controller);

} // namespace present
