// The last step of each pass: every registered constraint, in list order, moves its two
// masses toward its rest length, after all masses of the pass have met the walls, the
// zones and each other.
//
// Keeps nothing between ticks.
#pragma once

#include <kinetra/list.h>

namespace kinetra {

class TConstraint;

void SatisfyConstraints(const TList<TConstraint>& constraints);

} // namespace kinetra
