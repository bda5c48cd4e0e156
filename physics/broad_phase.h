// The tick's cheap first tests: which later masses may touch a mass, and which zones
// it may touch.
//
// The tick relaxes one contact after another, so the order of the corrections is part
// of its result. These tests change nothing of that: they only pass over the masses
// and zones whose whole test would have done nothing, and hand every other one, in
// list order, to TMass::Collide or TZone::Collide. What they hand on has passed the
// very float comparisons of the tests they stand for: the group test and the box of
// reach between two masses, or the group test and a zone tree's root cell against the
// mass's bounding square.
//
// Masses are filed in a grid of columns and rows at least as wide as any two radii,
// as bit sets over their list indices: the masses that may reach a mass lie in its own
// or a neighbouring column and row, found a word of 64 at a time, in index order. A
// mass that moves must be filed again at once (Moved), so that the grid and the copied
// positions are always where the masses are. Zones are few: their root cells are
// tested four at a time where SSE2 is there (every x86-64), one by one elsewhere.
#pragma once

#include <kinetra/list.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kinetra {

class TMass;
class TZone;

struct TBroadPhase {
    // The tick's masses and zones in list order; null where the list holds none.
    std::vector<TMass*> masses;
    std::vector<TZone*> zones;

    // Copies of the masses' positions, radii and groups.
    std::vector<float> x, y, radius, group;
    // Per mass, the index just past the run of masses of its group that holds it (a
    // body's masses are listed together).
    std::vector<std::size_t> runEnd;

    // The grid: its origin, one over its cell size, its extent, and per mass its column
    // and row (or a mark for a mass that is in none). byColumn and byRow hold one bit
    // set of `words` words per column and per row; anywhere the masses that must be
    // tried against every mass (a position or radius that is not finite).
    double originX = 0.0, originY = 0.0, perCell = 1.0;
    int columns = 1, rows = 1;
    std::size_t words = 0;
    std::vector<std::uint64_t> byColumn, byRow, anywhere;
    std::vector<std::int32_t> column, row;

    // The zones' root cells, shifted to where the zones stand, and their groups; a
    // zone without a tree has group 0, which meets nothing. Padded with group 0 to a
    // whole number of SSE2 lanes past any start.
    std::vector<float> left, top, right, bottom, zoneGroup;

    // Takes the lists as the tick finds them (nothing in the tick changes them), with
    // the world's bounds over which the grid is laid, and files the masses.
    void Load(const TList<TMass>& massList, const TList<TZone>& zoneList, float minX, float minY,
              float maxX, float maxY);

    // Copies every mass's position again and files it, after the masses moved.
    void LoadPositions();

    // Copies mass i's position again after it moved, and files it again.
    void Moved(std::size_t i);

    // The first mass k >= from (else masses.size()) whose group meets mass i's and that
    // lies within reach of it on both axes.
    std::size_t NextMassInReach(std::size_t i, std::size_t from) const;

    // The first zone k >= from (else zones.size()) whose group meets m's and whose
    // root cell touches m's bounding square.
    std::size_t NextZoneNear(const TMass& m, std::size_t from) const;

    // Forgets the masses and zones once the tick is over.
    void Clear();

    // The column and row of mass i at its copied position, or the mark for anywhere.
    void Place(std::size_t i, std::int32_t& c, std::int32_t& r) const;
    // Sets and clears mass i's bits at its column and row.
    void Enter(std::size_t i);
    void Leave(std::size_t i);
};

} // namespace kinetra
