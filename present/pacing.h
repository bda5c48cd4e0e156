// Frame pacing: deciding at screen set-up whether the display's vertical sync
// holds the refresh rate, and the millisecond schedule used when it does not.
#pragma once

#include "screen.h"

namespace present {

// Fills the screen's pacing fields; in full screen this runs the sync test,
// which presents frames for up to a second.
void SetUpPacing(TScreen& screen);

// Shows the back buffer without counting it as a presented frame.
void ShowFrame(TScreen& screen, bool vsync);

} // namespace present
