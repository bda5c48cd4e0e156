// Reading what the X server shows in one of the program's windows: the pixels
// as a person sees them, from the display itself rather than from a renderer.
#pragma once

#include <present/image.h>

namespace present::testing {

// The contents of the program's SDL window of exactly this size; false when
// there is no such window on an X display.
bool ReadWindowFromDisplay(int width, int height, TPixmap& out);

} // namespace present::testing
