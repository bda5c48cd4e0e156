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
// whether it pushed.
bool ResolveMassContact(TMassState& a, TMassState& b);
// The same, describing a push in report: where a was left, along the normal from b to
// a. Without a report, nothing is worked out for one.
bool ResolveMassContact(TMassState& a, TMassState& b, TPush& report);

} // namespace kinetra
