// One scene with every kind of drawing the facade offers, for comparing the
// renderers with each other.
#pragma once

#include <present/present.h>

namespace present::testing {

// A 64 x 48 test picture: a disc of opaque colours on transparent ground
// (masked), or a horizontal alpha ramp.
ImageRef MakeDiscImage(int flags);
ImageRef MakeRampImage(int flags);

// Draws the scene on the current screen (at least 320 x 240).
void DrawScene();

} // namespace present::testing
