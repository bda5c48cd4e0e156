// The contact between a zone's shape and a mass: the second step of each pass, for every
// zone the broad phase hands on (TZone::Collide tests the zone's tree and then makes the
// same contact for callers outside the tick). The mass is pushed out of a solid, or off
// an outline or line, along the way to the nearest point of the shape, and friction
// slows its sliding along it.
//
// Keeps nothing between ticks: what is kept of a zone's shape to pass over far masses
// lies with the broad phase (zone_cells.h).
#pragma once

#include "push.h"

#include <cstddef>
#include <vector>

namespace kinetra {

class TZone;
struct TMassState;

// Pushes the mass out of the shape (or back inside an outline) and applies friction,
// once the zone's tree has been found to overlap the mass's bounding square; says
// whether it pushed, and describes the push in report where that is given.
bool ResolveZoneContact(const TZone& zone, TMassState& m, TPush* report = nullptr);

// Whether the closed polygon of the first n points of p (n >= 1), shifted by (ox, oy),
// holds (mx, my) by the quarter-turn rule that a solid zone applies.
bool Winds(const std::vector<float>& p, std::size_t n, float ox, float oy, float mx, float my);

} // namespace kinetra
