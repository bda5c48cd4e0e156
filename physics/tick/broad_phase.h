// The tick's cheap first tests: which later masses may touch a mass, and which zones
// it may touch.
//
// The tick relaxes one contact after another, so the order of the corrections is part
// of its result. These tests change nothing of that: they only pass over the masses
// and zones whose whole test would have done nothing, and hand every other one, in
// list order, to the mass contact or the zone contact. What they hand on has passed the
// very float comparisons of the tests they stand for: the group test and the box of
// reach between two masses, or the group test and a zone tree's cells against the
// mass's bounding square; a zone is also passed over where the mass lies in its clear
// cells (see zone_cells.h).
//
// Masses are filed in a grid of cells at least as wide as any two radii, each cell
// listing its masses from the highest index down: the masses that may reach a mass lie
// in its own or a neighbouring cell, and a search for the later ones stops at the first
// earlier one. For each mass the tick gathers once, in index order, the later masses of
// those nine cells that it could reach from anywhere within a small margin of where it
// stands, and gathers again only when the mass leaves that margin or its cell, since no
// other mass moves while the tick meets its later masses but the one it hands on. A
// mass that moves must be filed again at once (Moved), so that the grid and the copied
// positions are always where the masses are. Zones are few: their root cells are tested
// four at a time where SSE2 is there (every x86-64), one by one elsewhere.
//
// Keeps between ticks: the masses and zones taken from the lists, and the grid with
// every mass filed in it, while the lists' stamps, the radii, the groups and the
// world's bounds stay the same, so that a tick files again only the masses that moved
// instead of building it all anew.
#pragma once

#include "mass_state.h"
#include "zone_cells.h"
#include <kinetra/list.h>
#include <kinetra/mass.h>
#include <kinetra/quadtree.h>
#include <kinetra/zone.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kinetra {

struct TBroadPhase {
    // Places of a mass that is in no cell.
    static constexpr std::int32_t kNowhereMark = -1; // missing, or of group 0: meets nothing
    static constexpr std::int32_t kUnfiledMark = -2; // not filed yet

    // The tick's masses and zones in list order; null where the list holds none.
    std::vector<TMass*> masses;
    std::vector<TZone*> zones;
    // The stamps of the lists that masses and zones were taken from, and whether the
    // grid and the copies below hold every mass as it was last seen; gridMadeFor holds
    // the world's bounds and the largest radius that the grid was laid for.
    std::uint64_t massStamp = 0;
    std::uint64_t zoneStamp = 0;
    bool filed = false;
    std::array<double, 5> gridMadeFor{};
    double largestRadius = 0.0; // the largest finite radius of the masses taken

    // The masses' fields for the length of a tick, in list order (see mass_state.h);
    // zero for a null entry.
    std::vector<TMassState> state;
    // Per mass, the index just past the run of masses of its group that holds it (a
    // body's masses are listed together).
    std::vector<std::size_t> runEnd;

    // The grid: its origin, one over its cell size, its extent, and per mass the index of
    // its cell (or a mark). Each cell, and one more for the masses of a position or radius
    // that is not finite (tried against every mass), links its masses from the highest
    // index down through nextInCell and previousInCell (kNoMass ends a list), so that a
    // search for later masses reads a cell only as long as it finds them. Cells are
    // indexed row by row, past a border of empty cells, so that every cell of a mass has
    // eight neighbours.
    static constexpr std::int32_t kNoMass = -1;
    double originX = 0.0, originY = 0.0, perCell = 1.0;
    std::int32_t columns = 1, rows = 1;
    double lastColumnAt = 0.0, lastRowAt = 0.0; // where the last column and row start
    std::vector<std::int32_t> cell;
    // Per cell the first of its list, the largest index it holds (kNoMass when empty);
    // padded for reading four at a time. anywhereCell is the index of the last cell.
    std::vector<std::int32_t> highest;
    std::int32_t anywhereCell = 0;
    std::vector<std::int32_t> nextInCell, previousInCell;

    // The later masses gathered from the cells round one mass, in index order, the next
    // one to hand on, and the mass, cell and place they were gathered for. A gathering
    // holds only the masses that the mass may reach while it stays in that cell and
    // within gatherMargin of that place on both axes; it is gathered again when it leaves.
    std::vector<std::uint32_t> nearby;
    std::size_t nearbyCount = 0;
    std::size_t nextNearby = 0;
    std::size_t gatheredFor = SIZE_MAX;
    std::int32_t gatheredCell = 0;
    float gatheredX = 0.0f, gatheredY = 0.0f, gatheredGroup = 0.0f, gatheredReach = 0.0f;
    float gatherMargin = 0.0f;

    // The zones' root cells, shifted to where the zones stand, and their groups; a
    // zone without a tree has group 0, which meets nothing. Padded with group 0 to a
    // whole number of SSE2 lanes past any start. deeper holds a zone's tree where it
    // has cells below the root, which a mass must overlap too; else null.
    std::vector<float> left, top, right, bottom, zoneGroup;
    std::vector<const TQuadTree*> deeper;
    // Per zone its clear cells, and whether they hold for its points this tick.
    std::vector<TZoneCells> zoneCells;
    std::vector<std::uint8_t> cellsHold;

    // Takes the masses in list order, as the tick finds them (nothing in the tick adds or
    // removes any). The masses, and the filing below, are kept from tick to tick while
    // the list's stamp stays the same.
    void TakeMasses(const TList<TMass>& massList);

    // Takes the masses' states, noting whether their radii and groups are as the grid
    // was made for.
    void TakeStates();

    // Files the masses on a grid laid over the world's bounds (filing again only those
    // that moved when the grid, the masses, their radii and groups are as they were),
    // and takes the zones in list order where they stand, keeping the list from tick to
    // tick while its stamp stays the same.
    void Load(const TList<TZone>& zoneList, float minX, float minY, float maxX, float maxY);

    // Files again every mass whose state moved to another cell.
    void RefileAll();
    // Starts a pass over the masses: nothing gathered holds any more.
    void StartPass() { gatheredFor = SIZE_MAX; }
    // Gives every mass its position back.
    void StorePositions() const;

    // Files mass i again after its state moved.
    void Moved(std::size_t i);

    // The first mass k >= from (else masses.size()) whose group meets mass i's and that
    // lies within reach of it on both axes. Called for one mass with growing from, while
    // only that mass and the masses handed on move; a call for another mass, or after
    // StartPass or RefileAll, looks afresh.
    std::size_t NextMassInReach(std::size_t i, std::size_t from);
    // NextMassInReach looking afresh, and going on among the masses gathered for i.
    std::size_t FirstMassInReach(std::size_t i, std::size_t from);
    std::size_t NextGathered(std::size_t i);
    // Whether the masses gathered last are still all that mass i may reach.
    bool GatheredHolds(std::size_t i) const;

    // The first zone k >= from (else zones.size()) whose group meets m's and whose
    // root cell touches m's bounding square.
    std::size_t NextZoneNear(const TMassState& m, std::size_t from) const;

    // Whether m lies in clear cells of zone k, so that their contact would do nothing.
    bool Clear(std::size_t k, const TMassState& m) const {
        return cellsHold[k] && zoneCells[k].Clears(zones[k]->x, zones[k]->y, m);
    }

    // Whether zone k, whose root cell touches m's bounding square, has a tree that
    // overlaps it down to its deepest cells, as TZone::Collide tests it.
    bool TreeReaches(std::size_t k, const TMassState& m) const {
        const float r = m.radius;
        return !deeper[k] || deeper[k]->Overlaps(zones[k]->x, zones[k]->y, m.x - r, m.y - r, r + r);
    }

    // The cell along an axis of the given cell count of a place `at` cells from the
    // grid's origin (v - origin) * perCell, whose rounding is monotonic, so that with
    // the cells' margin two places within reach fall in the same or neighbouring cells.
    // Places outside the grid go to its edge cells, which keeps that so.
    static std::int32_t CellOf(double at, std::int32_t across) {
        if (!(at > 0.0)) {
            return 0;
        }
        if (at >= across - 1) {
            return across - 1;
        }
        return static_cast<std::int32_t>(at);
    }

    // Moves mass i to the list of cell `to`.
    void Refile(std::size_t i, std::int32_t to);
    // The cell of column c and row r.
    std::int32_t CellAt(std::int32_t c, std::int32_t r) const {
        return (r + 1) * (columns + 2) + c + 1;
    }
    void Unlink(std::size_t i);
    // Which of the three cells from `index` on hold a mass from `from` on, as bits.
    unsigned LaterIn(std::size_t index, std::size_t from) const;
    void Link(std::size_t i);
    // Gathers the masses from `from` on in the cells round mass i, in index order.
    void GatherNearby(std::size_t i, std::size_t from);
    // Gathers them from the cells of `later`, bits as GatherNearby makes them, round the
    // corner cell, and from the masses anywhere where laterAnywhere.
    void GatherFrom(std::size_t i, std::size_t from, std::size_t corner, unsigned later,
                    bool laterAnywhere);
    // Appends the masses from `from` on that a cell holds to out, highest first, only
    // those that the mass gathered for may reach where kReachable; gives the new end.
    template <bool kReachable>
    std::uint32_t* GatherCell(std::size_t index, std::size_t from, std::uint32_t* out) const;
    // Whether mass k, filed in the grid, may come within reach of the mass gathered for
    // while that stays within the margin of where it was gathered: MayTouch widened by
    // the margin, and by far more than the rounding of the float sums of both.
    bool MayReach(const TMassState& k) const {
        const float reach = k.radius + gatheredReach;
        return k.group != gatheredGroup && !(std::fabs(k.x - gatheredX) > reach) &&
               !(std::fabs(k.y - gatheredY) > reach);
    }
    void SortNearby();
    // The first mass from `from` on that mass i, of a place that is not finite, may touch.
    std::size_t NextOfAll(std::size_t i, std::size_t from) const;

    // Takes the zones where they stand.
    void LoadZones(const TList<TZone>& zoneList);
    // Lays the grid and files every mass afresh.
    void FileMasses(float minX, float minY, float maxX, float maxY, double largest);
    void LayGrid(float minX, float minY, float maxX, float maxY, double largest);
};

// The group test of the tick: group 0 meets nothing, and equal groups pass each other.
inline bool GroupsMeet(float a, float b) {
    return a != 0.0f && b != 0.0f && a != b;
}

// The group test, and the box test that the mass contact starts with.
inline bool MayTouch(const TMassState& a, const TMassState& b) {
    const float reach = a.radius + b.radius;
    return GroupsMeet(a.group, b.group) && !(std::fabs(b.x - a.x) > reach) &&
           !(std::fabs(b.y - a.y) > reach);
}

// Inline, as the three below: the tick calls them for every mass and every contact.
inline std::size_t TBroadPhase::NextGathered(std::size_t i) {
    while (nextNearby < nearbyCount) {
        // Past the last one handed on, in index order: all from the caller's `from` on.
        const std::size_t k = nearby[nextNearby++];
        if (MayTouch(state[i], state[k])) {
            return k;
        }
    }
    return masses.size();
}

inline bool TBroadPhase::GatheredHolds(std::size_t i) const {
    // A NaN place is filed anywhere, so its cell is not the gathered one.
    return gatheredFor == i && gatheredCell == cell[i] &&
           std::fabs(state[i].x - gatheredX) <= gatherMargin &&
           std::fabs(state[i].y - gatheredY) <= gatherMargin;
}

inline std::size_t TBroadPhase::NextMassInReach(std::size_t i, std::size_t from) {
    // Masses a pass has gathered for are within the grid, past their run of one group.
    if (GatheredHolds(i)) {
        return NextGathered(i);
    }
    return FirstMassInReach(i, from);
}

inline void TBroadPhase::Moved(std::size_t i) {
    if (cell[i] == kNowhereMark) {
        return;
    }
    const TMassState& m = state[i];
    const double atX = (static_cast<double>(m.x) - originX) * perCell;
    const double atY = (static_cast<double>(m.y) - originY) * perCell;
    std::int32_t to = anywhereCell;
    // Mostly inside the grid, away from its edge cells: a NaN fails these tests too.
    if (atX > 0.0 && atX < lastColumnAt && atY > 0.0 && atY < lastRowAt &&
        std::isfinite(m.radius)) {
        to = CellAt(static_cast<std::int32_t>(atX), static_cast<std::int32_t>(atY));
    } else if (std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.radius)) {
        to = CellAt(CellOf(atX, columns), CellOf(atY, rows));
    }
    if (to != cell[i]) {
        Refile(i, to);
    }
}

} // namespace kinetra
