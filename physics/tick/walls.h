// The first step of each pass for every mass: the world's bounds. A mass beyond a wall
// is put back against it, and its motion along the wall is slowed by friction; fixed
// masses are clamped too. The horizontal walls come first, then the vertical ones,
// which see the x just corrected.
//
// Keeps nothing between ticks.
#pragma once

namespace kinetra {

class TPhysics;
struct TMassState;

// Says whether the mass was put back, that is whether its place changed.
bool ClampToWalls(const TPhysics& world, TMassState& m);

} // namespace kinetra
