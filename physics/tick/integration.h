// The tick's first stage: Verlet integration. Every free mass moves on by its velocity
// (position minus previous position) plus gravity, and its old position becomes its
// previous one. Fixed masses stay where they are.
//
// Keeps nothing between ticks: the velocity lives in the masses themselves.
#pragma once

#include <vector>

namespace kinetra {

class TMass;
class TPhysics;
struct TMassState;

// Integrates the states of the masses in list order; those of null entries are passed
// over.
void Integrate(const TPhysics& world, const std::vector<TMass*>& masses,
               std::vector<TMassState>& states);

} // namespace kinetra
