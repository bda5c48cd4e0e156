#include "broad_phase.h"

#include <kinetra/mass.h>
#include <kinetra/quadtree.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kinetra {

namespace {

// Zones tested at once; their copies carry this many less one padding lanes, so that
// a test starting at the last real zone still reads four.
constexpr std::size_t lanes = 4;

// The grid's cells are wider than any two radii by this factor, which covers the
// rounding of the float reach test many times over.
constexpr double cellMargin = 1.001;
constexpr double smallestCell = 1.0;
// Cells per axis at most; a larger world gets larger cells.
constexpr int mostCells = 256;
constexpr std::size_t bitsPerWord = 64;

// Places of a mass that is not in a column and row.
constexpr std::int32_t anywhereMark = -1; // tried against every mass
constexpr std::int32_t nowhereMark = -2;  // missing, or of group 0: meets nothing

bool GroupsMeet(float a, float b) {
    return a != 0.0f && b != 0.0f && a != b;
}

// The box test that TMass::Collide starts with.
bool WithinReach(float ax, float ay, float ar, float bx, float by, float br) {
    const float reach = ar + br;
    return !(std::fabs(bx - ax) > reach) && !(std::fabs(by - ay) > reach);
}

#if !defined(__SSE2__)
// The first test of TQuadTree::Overlaps, on the root cell.
bool Touches(float left, float top, float right, float bottom, float qx, float qy, float size) {
    return !(left > qx + size || right < qx || top > qy + size || bottom < qy);
}
#endif

// Sizes a zone copy for count zones and its padding, padding with zeros.
void Fit(std::vector<float>& v, std::size_t count) {
    v.assign(count + lanes - 1, 0.0f);
}

// Cells across an extent: at least one, at most mostCells.
int CellsAcross(double extent, double cell) {
    if (!(extent > 0.0) || !std::isfinite(extent) || !std::isfinite(cell)) {
        return 1;
    }
    return static_cast<int>(std::clamp(std::ceil(extent / cell), 1.0, double{mostCells}));
}

// The cell of v, from the distance to the origin in cells (perCell is one over the
// cell size): rounding keeps the scale monotonic, and the cell margin keeps two places
// within reach in the same or neighbouring cells. Places outside the grid go to its
// edge cells, which keeps them so too.
std::int32_t CellOf(float v, double origin, double perCell, int cells) {
    const double at = (static_cast<double>(v) - origin) * perCell;
    if (!(at > 0.0)) {
        return 0;
    }
    if (at >= cells - 1) {
        return cells - 1;
    }
    return static_cast<std::int32_t>(at);
}

void SetBit(std::uint64_t* set, std::size_t i) {
    set[i / bitsPerWord] |= std::uint64_t{1} << (i % bitsPerWord);
}

void ClearBit(std::uint64_t* set, std::size_t i) {
    set[i / bitsPerWord] &= ~(std::uint64_t{1} << (i % bitsPerWord));
}

} // namespace

void TBroadPhase::Load(const TList<TMass>& massList, const TList<TZone>& zoneList, float minX,
                       float minY, float maxX, float maxY) {
    masses.clear();
    for (const auto& m : massList) {
        masses.push_back(m.get());
    }
    const std::size_t n = masses.size();
    x.resize(n);
    y.resize(n);
    radius.resize(n);
    group.resize(n);
    column.resize(n);
    row.resize(n);
    double largest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const TMass* m = masses[i];
        radius[i] = m ? m->radius : 0.0f;
        group[i] = m ? m->group : 0.0f;
        column[i] = row[i] = (m && group[i] != 0.0f) ? 0 : nowhereMark;
        if (std::isfinite(radius[i])) {
            largest = std::max(largest, static_cast<double>(radius[i]));
        }
    }
    runEnd.resize(n);
    for (std::size_t i = n; i-- > 0;) {
        runEnd[i] = i + 1 < n && group[i + 1] == group[i] ? runEnd[i + 1] : i + 1;
    }
    // Two masses within reach are at most two of the largest radii apart.
    const double width = static_cast<double>(maxX) - minX;
    const double height = static_cast<double>(maxY) - minY;
    double cellSize = std::max(2.0 * largest * cellMargin, smallestCell);
    if (std::isfinite(width)) {
        cellSize = std::max(cellSize, width / mostCells);
    }
    if (std::isfinite(height)) {
        cellSize = std::max(cellSize, height / mostCells);
    }
    perCell = 1.0 / cellSize;
    originX = std::isfinite(minX) ? minX : 0.0;
    originY = std::isfinite(minY) ? minY : 0.0;
    columns = CellsAcross(width, cellSize);
    rows = CellsAcross(height, cellSize);
    words = (n + bitsPerWord - 1) / bitsPerWord;
    byColumn.assign(static_cast<std::size_t>(columns) * words, 0);
    byRow.assign(static_cast<std::size_t>(rows) * words, 0);
    anywhere.assign(words, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (column[i] != nowhereMark) {
            x[i] = masses[i]->x;
            y[i] = masses[i]->y;
            Place(i, column[i], row[i]);
            Enter(i);
        }
    }

    zones.clear();
    for (const auto& zone : zoneList) {
        zones.push_back(zone.get());
    }
    const std::size_t z = zones.size();
    Fit(left, z);
    Fit(top, z);
    Fit(right, z);
    Fit(bottom, z);
    Fit(zoneGroup, z);
    for (std::size_t i = 0; i < z; ++i) {
        const TZone* zone = zones[i];
        const TQuadTree* root = zone ? zone->tree.get() : nullptr;
        if (!root) {
            continue;
        }
        // The sums in the order TQuadTree::Overlaps makes them.
        left[i] = zone->x + root->x;
        right[i] = left[i] + root->w;
        top[i] = zone->y + root->y;
        bottom[i] = top[i] + root->h;
        zoneGroup[i] = static_cast<float>(zone->group);
    }
}

void TBroadPhase::LoadPositions() {
    for (std::size_t i = 0; i < masses.size(); ++i) {
        Moved(i);
    }
}

void TBroadPhase::Moved(std::size_t i) {
    if (column[i] == nowhereMark) {
        return;
    }
    x[i] = masses[i]->x;
    y[i] = masses[i]->y;
    std::int32_t c;
    std::int32_t r;
    Place(i, c, r);
    if (c != column[i] || r != row[i]) {
        Leave(i);
        column[i] = c;
        row[i] = r;
        Enter(i);
    }
}

void TBroadPhase::Place(std::size_t i, std::int32_t& c, std::int32_t& r) const {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(radius[i])) {
        c = r = anywhereMark;
        return;
    }
    c = CellOf(x[i], originX, perCell, columns);
    r = CellOf(y[i], originY, perCell, rows);
}

void TBroadPhase::Enter(std::size_t i) {
    if (column[i] == anywhereMark) {
        SetBit(anywhere.data(), i);
        return;
    }
    SetBit(&byColumn[static_cast<std::size_t>(column[i]) * words], i);
    SetBit(&byRow[static_cast<std::size_t>(row[i]) * words], i);
}

void TBroadPhase::Leave(std::size_t i) {
    if (column[i] == anywhereMark) {
        ClearBit(anywhere.data(), i);
        return;
    }
    ClearBit(&byColumn[static_cast<std::size_t>(column[i]) * words], i);
    ClearBit(&byRow[static_cast<std::size_t>(row[i]) * words], i);
}

std::size_t TBroadPhase::NextMassInReach(std::size_t i, std::size_t from) const {
    const std::size_t n = masses.size();
    // Equal groups never meet: the rest of the mass's run of one group is passed over.
    from = std::max(from, runEnd[i]);
    if (from >= n || column[i] == nowhereMark) {
        return n;
    }
    const bool everywhere = column[i] == anywhereMark;
    const int c0 = everywhere ? 0 : std::max(column[i] - 1, 0);
    const int c1 = everywhere ? 0 : std::min(column[i] + 1, columns - 1);
    const int r0 = everywhere ? 0 : std::max(row[i] - 1, 0);
    const int r1 = everywhere ? 0 : std::min(row[i] + 1, rows - 1);
    for (std::size_t w = from / bitsPerWord; w < words; ++w) {
        std::uint64_t near = ~std::uint64_t{0};
        if (!everywhere) {
            std::uint64_t inColumns = 0;
            for (int c = c0; c <= c1; ++c) {
                inColumns |= byColumn[static_cast<std::size_t>(c) * words + w];
            }
            std::uint64_t inRows = 0;
            for (int r = r0; r <= r1; ++r) {
                inRows |= byRow[static_cast<std::size_t>(r) * words + w];
            }
            near = (inColumns & inRows) | anywhere[w];
        }
        if (w == from / bitsPerWord) {
            near &= ~std::uint64_t{0} << (from % bitsPerWord);
        }
        for (; near != 0; near &= near - 1) {
            const std::size_t k = w * bitsPerWord + static_cast<std::size_t>(std::countr_zero(near));
            if (k >= n) {
                return n;
            }
            if (GroupsMeet(group[i], group[k]) &&
                WithinReach(x[i], y[i], radius[i], x[k], y[k], radius[k])) {
                return k;
            }
        }
    }
    return n;
}

void TBroadPhase::Clear() {
    masses.clear();
    zones.clear();
}

#if defined(__SSE2__)

namespace {

// The lanes whose group meets the group g (not zero, which the caller has ruled out):
// not zero and not equal, with != semantics (a NaN meets everything).
__m128 Meets(__m128 groups, __m128 g) {
    return _mm_and_ps(_mm_cmpneq_ps(groups, _mm_setzero_ps()), _mm_cmpneq_ps(groups, g));
}

} // namespace

std::size_t TBroadPhase::NextZoneNear(const TMass& m, std::size_t from) const {
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
    for (std::size_t k = from; k < n; k += lanes) {
        const __m128 apart =
            _mm_or_ps(_mm_or_ps(_mm_cmpgt_ps(_mm_loadu_ps(&left[k]), x1),
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

std::size_t TBroadPhase::NextZoneNear(const TMass& m, std::size_t from) const {
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
