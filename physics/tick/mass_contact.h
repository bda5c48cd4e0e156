// The contact between two masses: the third step of each pass, for every later mass the
// broad phase finds within reach of a mass (TMass::Collide is the same contact for
// callers outside the tick). Overlapping masses are pushed apart along the line between
// their centres, the lighter moving more, and friction evens out their sliding.
//
// Keeps nothing between ticks: velocity lives in the masses' previous positions.
#pragma once

#include "push.h"

namespace kinetra {

struct TMassState;

// Resolves the overlap of a and b, a being the earlier of the two in massList; says
// whether it pushed. Where report is given, a push is described there (where a was
// left, along the normal from b to a); without it, nothing is worked out for a report.
bool ResolveMassContact(TMassState& a, TMassState& b, TPush* report = nullptr);

} // namespace kinetra
