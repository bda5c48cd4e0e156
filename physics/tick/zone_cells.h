// A zone's clear cells: a grid over its shape, in the zone's own coordinates, marking
// the cells that no segment comes near and, for a solid, that lie outside it. A mass
// whose bounding square lies in clear cells meets nothing in the contact, which the
// tick can then pass over: outside the shape, with every segment out of its reach.
//
// Clear means clear by a margin of 2^-8 of the shape's extent (its largest coordinate),
// and a query is only answered for places and radii within 2^8 extents: there, the
// roundings of the contact and of the query (where the shape stands, the distances,
// the crossing of an edge) stay below a thirtieth of the margin, so the contact's rule
// and plain geometry agree on every clear cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kinetra {

class TZone;
struct TMassState;

struct TZoneCells {
    static constexpr int kAcross = 32; // cells per axis

    // The points and kind the cells were made for, and whether they are made; seen
    // holds the points of the last tick, as cells are made for a shape only once it
    // has kept its points for a tick (a shape turned every tick never pays for them).
    std::vector<float> madeFor;
    std::int32_t kind = -1;
    bool made = false;
    std::vector<float> seen;

    // The grid in the zone's own coordinates, and the largest magnitude a query may have.
    float left = 0.0f, top = 0.0f, width = 0.0f, height = 0.0f, perCellX = 0.0f, perCellY = 0.0f;
    float reachLimit = 0.0f;
    std::vector<std::uint8_t> clear; // across x across, by rows

    // Brings the cells up to the zone's current points and kind; false while there are
    // none for them.
    bool Update(const TZone& zone);

    // Whether m's bounding square lies in clear cells of the zone standing at (ox, oy).
    bool Clears(float ox, float oy, const TMassState& m) const;

private:
    void Make(const TZone& zone);
    void MarkSegments(const std::vector<float>& p, std::size_t n, bool closed, float margin);
    void MarkInside(const std::vector<float>& p, std::size_t n);
};

} // namespace kinetra
