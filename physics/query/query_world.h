// What every question starts from: the current world's registries, and the masses
// filed for questions.
#pragma once

#include "mass_grid.h"

namespace kinetra {

// The filing brought up to the current mass list, or null without a world (the filing
// is then let go).
TMassGrid* QueryGrid();

} // namespace kinetra
