// Game controllers through SDL's GameController interface: every controller
// SDL knows, with its usual layout, whether plugged in before the program
// started or while it runs. Their buttons and stick reach the key tables
// through pad_keys.h.
#pragma once

#include <SDL.h>

namespace present {

// Starts SDL's game controller subsystem (no video needed) on the first call.
// False when SDL cannot start it; the program then runs without controllers.
bool StartGamepads();

// The headless platform listens only to its own virtual pad, so that a pad
// plugged into the machine cannot change a replay.
enum class PadSource { Any, VirtualOnly };

// Handles one SDL event if it is a controller's: opens a controller as it is
// added, closes it (letting go of its keys) as it is removed, and passes the
// buttons and axes of the open ones on. Any other event is left alone.
void HandleGamepadEvent(const SDL_Event& event, PadSource source = PadSource::Any);

} // namespace present
