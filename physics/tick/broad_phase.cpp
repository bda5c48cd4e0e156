#include "broad_phase.h"

#include <kinetra/mass.h>
#include <kinetra/quadtree.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kinetra {

namespace {

// Zones tested at once; their copies carry this many less one padding lanes, so that
// a test starting at the last real zone still reads four.
constexpr std::size_t kLanes = 4;

// The grid's cells are wider than any two radii by this factor, which covers the
// rounding of the float reach test many times over.
constexpr double kCellMargin = 1.001;
constexpr double kSmallestCell = 1.0;
// Cells per axis at most, and in all at most kCellsPerMass a mass (or kFewestCellsCap
// for few masses): a larger world gets larger cells, so that the grid's size follows
// the number of masses and not the world's.
constexpr int kMostCells = 1 << 15;
constexpr double kCellsPerMass = 4.0;
constexpr double kFewestCellsCap = 65536.0;

// How far, in cells, a mass may move among its later masses before they are gathered
// anew: wider gathers more masses that it never reaches, narrower gathers more often.
constexpr double kGatherMargin = 0.0625;
// MayReach leaves out a mass only where MayTouch would too. Each float difference and
// sum of the two tests is off by at most a part in 2^24 of its operands, a dozen of
// them in all, so a slack of a part in 10^5 of the largest operand covers them many
// times over.
constexpr float kRoundingSlack = 1.0e-5f;

#if !defined(__SSE2__)
// The first test of TQuadTree::Overlaps, on the root cell.
bool Touches(float left, float top, float right, float bottom, float qx, float qy, float size) {
    return !(left > qx + size || right < qx || top > qy + size || bottom < qy);
}
#endif

// How many masses ahead a pass over the masses themselves asks for: they lie scattered
// over the heap, far outside the caches once there are many thousands, and a request
// this far ahead arrives about when the pass reaches it.
constexpr std::size_t kFetchAhead = 16;

// Asks for the fields of mass i, where there is one, ahead of reading them (or of
// writing them, where kForWriting is 1).
template <int kForWriting> void FetchAhead(const std::vector<TMass*>& masses, std::size_t i) {
    if (i < masses.size() && masses[i]) {
        __builtin_prefetch(&masses[i]->x, kForWriting);
    }
}

// Sizes a zone copy for count zones and its padding, padding with zeros.
void Fit(std::vector<float>& v, std::size_t count) {
    v.assign(count + kLanes - 1, 0.0f);
}

// Cells across an extent: at least one, at most kMostCells.
int CellsAcross(double extent, double cell) {
    if (!(extent > 0.0) || !std::isfinite(extent) || !std::isfinite(cell)) {
        return 1;
    }
    return static_cast<int>(std::clamp(std::ceil(extent / cell), 1.0, double{kMostCells}));
}

} // namespace

void TBroadPhase::TakeMasses(const TList<TMass>& massList) {
    if (massList.Stamp() == massStamp) {
        return;
    }
    massStamp = massList.Stamp();
    masses.clear();
    for (const auto& m : massList) {
        masses.push_back(m.get());
    }
    filed = false;
}

void TBroadPhase::Load(const TList<TZone>& zoneList, float minX, float minY, float maxX,
                       float maxY) {
    const std::array<double, 5> grid{minX, minY, maxX, maxY, largestRadius};
    if (filed && grid == gridMadeFor) {
        // The same masses on the same grid: only those that moved are filed again.
        RefileAll();
    } else {
        gridMadeFor = grid;
        FileMasses(minX, minY, maxX, maxY, largestRadius);
    }
    LoadZones(zoneList);
}

void TBroadPhase::TakeStates() {
    const std::size_t n = masses.size();
    if (state.size() != n) {
        filed = false;
        state.resize(n);
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        FetchAhead<0>(masses, i + kFetchAhead);
        const TMassState now = masses[i] ? StateOf(*masses[i]) : TMassState{};
        // A NaN radius never compares equal, so its mass is filed afresh every tick.
        if (!(now.radius == state[i].radius && now.group == state[i].group)) {
            filed = false;
        }
        state[i] = now;
        if (std::isfinite(now.radius)) {
            largest = std::max(largest, static_cast<double>(now.radius));
        }
    }
    largestRadius = largest;
}

void TBroadPhase::LoadZones(const TList<TZone>& zoneList) {
    if (zoneList.Stamp() != zoneStamp) {
        zoneStamp = zoneList.Stamp();
        zones.clear();
        for (const auto& zone : zoneList) {
            zones.push_back(zone.get());
        }
        const std::size_t z = zones.size();
        for (std::vector<float>* v : {&left, &top, &right, &bottom, &zoneGroup}) {
            Fit(*v, z);
        }
        deeper.resize(z);
        zoneCells.assign(z, TZoneCells{});
        cellsHold.resize(z);
    }
    // Zones move, and their trees may be rebuilt, between ticks.
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const TZone* zone = zones[i];
        const TQuadTree* root = zone ? zone->tree.get() : nullptr;
        deeper[i] = nullptr;
        if (!root) {
            zoneGroup[i] = 0.0f;
            continue;
        }
        cellsHold[i] = zoneCells[i].Update(*zone);
        // The sums in the order TQuadTree::Overlaps makes them.
        left[i] = zone->x + root->x;
        right[i] = left[i] + root->w;
        top[i] = zone->y + root->y;
        bottom[i] = top[i] + root->h;
        zoneGroup[i] = static_cast<float>(zone->group);
        if (!root->children.empty()) {
            deeper[i] = root;
        }
    }
}

void TBroadPhase::FileMasses(float minX, float minY, float maxX, float maxY, double largest) {
    const std::size_t n = masses.size();
    cell.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        cell[i] = (masses[i] && state[i].group != 0.0f) ? kUnfiledMark : kNowhereMark;
    }
    runEnd.resize(n);
    for (std::size_t i = n; i-- > 0;) {
        runEnd[i] = i + 1 < n && state[i + 1].group == state[i].group ? runEnd[i + 1] : i + 1;
    }
    LayGrid(minX, minY, maxX, maxY, largest);
    nextInCell.assign(n, kNoMass);
    previousInCell.assign(n, kNoMass);
    // A gathering holds each mass at most once, and writes one past its last: room for
    // all, so that a tick never allocates.
    nearby.resize(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        // Moved passes over the masses that meet nothing, and finds every other one
        // unfiled, so links it into its cell.
        Moved(i);
    }
    gatheredFor = SIZE_MAX;
    filed = true;
}

void TBroadPhase::LayGrid(float minX, float minY, float maxX, float maxY, double largest) {
    // Two masses within reach are at most two of the largest radii apart.
    const double width = static_cast<double>(maxX) - minX;
    const double height = static_cast<double>(maxY) - minY;
    double cellSize = std::max(2.0 * largest * kCellMargin, kSmallestCell);
    if (std::isfinite(width)) {
        cellSize = std::max(cellSize, width / kMostCells);
    }
    if (std::isfinite(height)) {
        cellSize = std::max(cellSize, height / kMostCells);
    }
    const double mostInAll =
        std::max(kFewestCellsCap, kCellsPerMass * static_cast<double>(masses.size()));
    if (std::isfinite(width) && std::isfinite(height) && width * height > 0.0) {
        cellSize = std::max(cellSize, std::sqrt(width * height / mostInAll));
    }
    perCell = 1.0 / cellSize;
    gatherMargin = static_cast<float>(cellSize * kGatherMargin);
    originX = std::isfinite(minX) ? minX : 0.0;
    originY = std::isfinite(minY) ? minY : 0.0;
    columns = CellsAcross(width, cellSize);
    rows = CellsAcross(height, cellSize);
    lastColumnAt = columns - 1;
    lastRowAt = rows - 1;
    // A border of empty cells round the grid, so that every cell has eight neighbours,
    // a last cell for the masses anywhere, and the padding.
    anywhereCell = (columns + 2) * (rows + 2);
    highest.assign(static_cast<std::size_t>(anywhereCell) + kLanes, kNoMass);
}

void TBroadPhase::RefileAll() {
    for (std::size_t i = 0; i < masses.size(); ++i) {
        Moved(i);
    }
    gatheredFor = SIZE_MAX;
}

void TBroadPhase::StorePositions() const {
    for (std::size_t i = 0; i < masses.size(); ++i) {
        FetchAhead<1>(masses, i + kFetchAhead);
        if (masses[i]) {
            GivePosition(state[i], *masses[i]);
        }
    }
}

void TBroadPhase::Unlink(std::size_t i) {
    const std::int32_t before = previousInCell[i];
    const std::int32_t after = nextInCell[i];
    (before == kNoMass ? highest[cell[i]] : nextInCell[before]) = after;
    if (after != kNoMass) {
        previousInCell[after] = before;
    }
}

void TBroadPhase::Link(std::size_t i) {
    // After the cell's masses of a higher index: mostly none or one.
    const auto k = static_cast<std::int32_t>(i);
    std::int32_t& first = highest[cell[i]];
    std::int32_t before = kNoMass;
    std::int32_t after = first;
    while (after > k) {
        before = after;
        after = nextInCell[after];
    }
    previousInCell[i] = before;
    nextInCell[i] = after;
    (before == kNoMass ? first : nextInCell[before]) = k;
    if (after != kNoMass) {
        previousInCell[after] = k;
    }
}

void TBroadPhase::Refile(std::size_t i, std::int32_t to) {
    if (cell[i] != kUnfiledMark) {
        Unlink(i);
    }
    cell[i] = to;
    Link(i);
}

template <bool kReachable>
inline std::uint32_t* TBroadPhase::GatherCell(std::size_t index, std::size_t from,
                                              std::uint32_t* out) const {
    // Indices fit an int32, and from is at most their count.
    const auto lowest = static_cast<std::int32_t>(from);
    for (std::int32_t k = highest[index]; k >= lowest; k = nextInCell[k]) {
        *out = static_cast<std::uint32_t>(k);
        out += !kReachable || MayReach(state[k]);
    }
    return out;
}

void TBroadPhase::GatherNearby(std::size_t i, std::size_t from) {
    nearbyCount = 0;
    nextNearby = 0;
    const std::size_t stride = static_cast<std::size_t>(columns) + 2;
    const std::size_t corner = static_cast<std::size_t>(cell[i]) - stride - 1;
    // The nine cells as bits, each row of three in four bits: most masses have few later
    // neighbours, and a mass with none is done after three tests, keeping nothing.
    const unsigned later = LaterIn(corner, from) | LaterIn(corner + stride, from) << 4 |
                           LaterIn(corner + 2 * stride, from) << 8;
    const auto anywhere = static_cast<std::size_t>(anywhereCell);
    const bool laterAnywhere = static_cast<std::size_t>(highest[anywhere] + 1) > from;
    if (later == 0 && !laterAnywhere) {
        gatheredFor = SIZE_MAX;
        return;
    }
    GatherFrom(i, from, corner, later, laterAnywhere);
}

void TBroadPhase::GatherFrom(std::size_t i, std::size_t from, std::size_t corner, unsigned later,
                             bool laterAnywhere) {
    gatheredFor = i;
    gatheredCell = cell[i];
    // Both masses are filed, so neither group is 0. The reach is widened by the margin,
    // and by a part in 10^5 of the largest sizes in play, which is far more than the
    // rounding of the float differences and sums of MayTouch and of MayReach.
    const TMassState& m = state[i];
    const float largest = static_cast<float>(largestRadius);
    gatheredX = m.x;
    gatheredY = m.y;
    gatheredGroup = m.group;
    gatheredReach =
        m.radius + gatherMargin + (std::fabs(m.radius) + gatherMargin + largest) * kRoundingSlack;
    const std::size_t stride = static_cast<std::size_t>(columns) + 2;
    std::uint32_t* const first = nearby.data();
    std::uint32_t* out = first;
    for (; later != 0; later &= later - 1) {
        const auto bit = static_cast<std::size_t>(std::countr_zero(later));
        out = GatherCell<true>(corner + (bit >> 2) * stride + (bit & 3), from, out);
    }
    // The masses anywhere have a place or radius that is not finite: all are kept.
    if (laterAnywhere) {
        out = GatherCell<false>(static_cast<std::size_t>(anywhereCell), from, out);
    }
    nearbyCount = static_cast<std::size_t>(out - first);
    if (nearbyCount > 1) {
        SortNearby();
    }
}

#if defined(__SSE2__)

unsigned TBroadPhase::LaterIn(std::size_t index, std::size_t from) const {
    // Indices fit an int32, and from is at most their count.
    const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&highest[index]));
    const __m128i later = _mm_cmpgt_epi32(last, _mm_set1_epi32(static_cast<int>(from) - 1));
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(later))) & 0b111u;
}

#else

unsigned TBroadPhase::LaterIn(std::size_t index, std::size_t from) const {
    unsigned bits = 0;
    for (unsigned c = 0; c < 3; ++c) {
        if (static_cast<std::int64_t>(highest[index + c]) >= static_cast<std::int64_t>(from)) {
            bits |= 1u << c;
        }
    }
    return bits;
}

#endif

void TBroadPhase::SortNearby() {
    // Mostly few: then an insertion sort beats a general one.
    constexpr std::size_t kFew = 16;
    std::uint32_t* const v = nearby.data();
    if (nearbyCount > kFew) {
        std::sort(v, v + nearbyCount);
        return;
    }
    for (std::size_t h = 1; h < nearbyCount; ++h) {
        const std::uint32_t k = v[h];
        std::size_t to = h;
        for (; to > 0 && v[to - 1] > k; --to) {
            v[to] = v[to - 1];
        }
        v[to] = k;
    }
}

std::size_t TBroadPhase::NextOfAll(std::size_t i, std::size_t from) const {
    const std::size_t n = masses.size();
    for (std::size_t k = from; k < n; ++k) {
        if (cell[k] != kNowhereMark && MayTouch(state[i], state[k])) {
            return k;
        }
    }
    return n;
}

std::size_t TBroadPhase::FirstMassInReach(std::size_t i, std::size_t from) {
    const std::size_t n = masses.size();
    // Equal groups never meet: the rest of the mass's run of one group is passed over.
    from = std::max(from, runEnd[i]);
    if (from >= n || cell[i] == kNowhereMark) {
        return n;
    }
    if (cell[i] == anywhereCell) {
        return NextOfAll(i, from);
    }
    if (!GatheredHolds(i)) {
        GatherNearby(i, from);
    }
    return NextGathered(i);
}

#if defined(__SSE2__)

namespace {

// The lanes whose group meets the group g (not zero, which the caller has ruled out):
// not zero and not equal, with != semantics (a NaN meets everything).
__m128 Meets(__m128 groups, __m128 g) {
    return _mm_and_ps(_mm_cmpneq_ps(groups, _mm_setzero_ps()), _mm_cmpneq_ps(groups, g));
}

} // namespace

std::size_t TBroadPhase::NextZoneNear(const TMassState& m, std::size_t from) const {
    const std::size_t n = zones.size();
    if (m.group == 0.0f) {
        return n;
    }
    const float r = m.radius;
    const float qx = m.x - r;
    const float qy = m.y - r;
    const float size = r + r;
    const __m128 x0 = _mm_set1_ps(qx);
    const __m128 y0 = _mm_set1_ps(qy);
    const __m128 x1 = _mm_set1_ps(qx + size);
    const __m128 y1 = _mm_set1_ps(qy + size);
    const __m128 g = _mm_set1_ps(m.group);
    for (std::size_t k = from; k < n; k += kLanes) {
        const __m128 apart = _mm_or_ps(_mm_or_ps(_mm_cmpgt_ps(_mm_loadu_ps(&left[k]), x1),
                                                 _mm_cmplt_ps(_mm_loadu_ps(&right[k]), x0)),
                                       _mm_or_ps(_mm_cmpgt_ps(_mm_loadu_ps(&top[k]), y1),
                                                 _mm_cmplt_ps(_mm_loadu_ps(&bottom[k]), y0)));
        const __m128 hit = _mm_andnot_ps(apart, Meets(_mm_loadu_ps(&zoneGroup[k]), g));
        if (const int bits = _mm_movemask_ps(hit)) {
            return k + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(bits)));
        }
    }
    return n;
}

#else

std::size_t TBroadPhase::NextZoneNear(const TMassState& m, std::size_t from) const {
    const std::size_t n = zones.size();
    const float r = m.radius;
    const float qx = m.x - r;
    const float qy = m.y - r;
    const float size = r + r;
    for (std::size_t k = from; k < n; ++k) {
        if (GroupsMeet(m.group, zoneGroup[k]) &&
            Touches(left[k], top[k], right[k], bottom[k], qx, qy, size)) {
            return k;
        }
    }
    return n;
}

#endif

} // namespace kinetra
