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
constexpr std::size_t lanes = 4;

// The grid's cells are wider than any two radii by this factor, which covers the
// rounding of the float reach test many times over.
constexpr double cellMargin = 1.001;
constexpr double smallestCell = 1.0;
// Cells per axis at most; a larger world gets larger cells.
constexpr int mostCells = 256;
constexpr std::size_t bitsPerWord = 64;

bool GroupsMeet(float a, float b) {
    return a != 0.0f && b != 0.0f && a != b;
}

// The box test that the mass contact starts with.
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
    const std::size_t n = masses.size();
    if (radius.size() != n) {
        filed = false;
        radius.resize(n);
        group.resize(n);
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const TMass* m = masses[i];
        const float r = m ? m->radius : 0.0f;
        const float g = m ? m->group : 0.0f;
        // A NaN radius never compares equal, so its mass is filed afresh every tick.
        if (!(r == radius[i] && g == group[i])) {
            radius[i] = r;
            group[i] = g;
            filed = false;
        }
        if (std::isfinite(r)) {
            largest = std::max(largest, static_cast<double>(r));
        }
    }
    const std::array<double, 5> grid{minX, minY, maxX, maxY, largest};
    if (filed && grid == gridMadeFor) {
        // The same masses on the same grid: only those that moved are filed again.
        LoadPositions();
    } else {
        gridMadeFor = grid;
        FileMasses(minX, minY, maxX, maxY, largest);
    }

    if (zoneList.Stamp() != zoneStamp) {
        zoneStamp = zoneList.Stamp();
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
    x.resize(n);
    y.resize(n);
    column.resize(n);
    row.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        column[i] = row[i] = (masses[i] && group[i] != 0.0f) ? 0 : nowhereMark;
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
    nearColumn.assign(static_cast<std::size_t>(columns) * words, 0);
    nearRow.assign(static_cast<std::size_t>(rows) * words, 0);
    anywhere.assign(words, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (column[i] != nowhereMark) {
            // Not filed yet: Moved finds it elsewhere and marks its cells.
            column[i] = row[i] = unfiledMark;
            Moved(i);
        }
    }
    filed = true;
}

void TBroadPhase::LoadPositions() {
    for (std::size_t i = 0; i < masses.size(); ++i) {
        Moved(i);
    }
}

void TBroadPhase::Refile(std::size_t i, std::int32_t c, std::int32_t r) {
    if (column[i] != unfiledMark) {
        Mark(i, false);
    }
    column[i] = c;
    row[i] = r;
    Mark(i, true);
}

void TBroadPhase::Mark(std::size_t i, bool set) {
    const std::size_t w = i / bitsPerWord;
    const std::uint64_t bit = std::uint64_t{1} << (i % bitsPerWord);
    const auto apply = [set, bit](std::uint64_t& word) { word = set ? word | bit : word & ~bit; };
    if (column[i] == anywhereMark) {
        apply(anywhere[w]);
        return;
    }
    for (std::int32_t c = std::max(column[i] - 1, 0); c <= std::min(column[i] + 1, columns - 1);
         ++c) {
        apply(nearColumn[static_cast<std::size_t>(c) * words + w]);
    }
    for (std::int32_t r = std::max(row[i] - 1, 0); r <= std::min(row[i] + 1, rows - 1); ++r) {
        apply(nearRow[static_cast<std::size_t>(r) * words + w]);
    }
}

std::size_t TBroadPhase::NextMassInReach(std::size_t i, std::size_t from) const {
    const std::size_t n = masses.size();
    // Equal groups never meet: the rest of the mass's run of one group is passed over.
    from = std::max(from, runEnd[i]);
    if (from >= n || column[i] == nowhereMark) {
        return n;
    }
    const bool everywhere = column[i] == anywhereMark;
    const std::uint64_t* columnSet =
        everywhere ? nullptr : &nearColumn[static_cast<std::size_t>(column[i]) * words];
    const std::uint64_t* rowSet =
        everywhere ? nullptr : &nearRow[static_cast<std::size_t>(row[i]) * words];
    for (std::size_t w = from / bitsPerWord; w < words; ++w) {
        std::uint64_t near =
            everywhere ? ~std::uint64_t{0} : (columnSet[w] & rowSet[w]) | anywhere[w];
        if (w == from / bitsPerWord) {
            near &= ~std::uint64_t{0} << (from % bitsPerWord);
        }
        for (; near != 0; near &= near - 1) {
            const std::size_t k =
                w * bitsPerWord + static_cast<std::size_t>(std::countr_zero(near));
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
