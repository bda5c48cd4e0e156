// The contact between a zone's shape and a mass, once the zone's tree has been found to
// overlap the mass's bounding square: TZone::Collide tests the tree and calls it, and
// the tick calls it for the zones its broad phase hands on, having made that test.
#pragma once

#include <cstddef>
#include <vector>

namespace kinetra {

class TMass;
class TZone;

// Pushes the mass out of the shape (or back inside an outline) and applies friction.
void ResolveZoneContact(TZone& zone, TMass& m);

// Whether the closed polygon of the first n points of p (n >= 1), shifted by (ox, oy),
// holds (mx, my) by the quarter-turn rule that a solid zone applies.
bool Winds(const std::vector<float>& p, std::size_t n, float ox, float oy, float mx, float my);

} // namespace kinetra
