// Scenes whose exact trajectories are fingerprinted: the engine promises the
// same float results from every compiler and CPU, so these hashes must agree
// between builds.
#pragma once

#include <cstdint>

namespace trace {

// A ring on a tilted block, an outline, loose masses of automatic groups and a
// hanging mass, hashed every 100 ticks for `ticks` ticks.
std::uint64_t GoldenSceneHash(int ticks);

// 200 free masses of mixed groups thrown into a box of solid, outline and open
// zones: the pair loop and every kind of zone contact, many times over.
std::uint64_t CrowdSceneHash(int ticks);

// The benchmarks' packed pile of `count` masses after `ticks` ticks: the broad phase
// at scale, where thousands of masses press on each other.
std::uint64_t PileSceneHash(int count, int ticks);

} // namespace trace
