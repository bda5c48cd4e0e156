// QueryPoint and QueryBox: the masses filed in the cells the box touches, tested and
// answered in list order, then every zone whose tree's box the box touches.
#include "geometry.h"
#include "query_world.h"
#include "zone_view.h"
#include <kinetra/query.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kinetra {

namespace {

// The masses in the box that pass the test, in list order.
template <class Test>
void CollectMasses(TMassGrid& grid, const TBox& box, int group, Test test,
                   std::vector<MassRef>& out) {
    static std::vector<std::uint32_t> found;
    found.clear();
    const std::vector<TMass*>& masses = grid.Masses();
    grid.Begin();
    grid.InBox(box.minX, box.minY, box.maxX, box.maxY, [&](std::uint32_t i) {
        if (!PassesOver(masses[i]->group, group) && test(*masses[i])) {
            found.push_back(i);
        }
    });
    std::sort(found.begin(), found.end());
    for (std::uint32_t i : found) {
        out.push_back(masses[i]->weak_from_this().lock());
    }
}

// Whether the zone has a segment in the box, or, a solid, an inside there: where no
// segment comes into the box, the box lies wholly inside or wholly outside.
bool ZoneInBox(const TZoneView& view, const TBox& box, float cornerX, float cornerY) {
    return view.AnySegment([&](double ax, double ay, double bx, double by) {
        return SegmentTouchesBox(ax, ay, bx, by, box);
    }) || view.Holds(cornerX, cornerY);
}

} // namespace

void QueryPoint(float x, float y, std::vector<MassRef>& masses, std::vector<ZoneRef>& zones,
                int group) {
    masses.clear();
    zones.clear();
    TMassGrid* grid = std::isfinite(x) && std::isfinite(y) ? QueryGrid() : nullptr;
    if (!grid) {
        return;
    }
    const TBox point{x, y, x, y};
    CollectMasses(
        *grid, point, group, [&](const TMass& m) { return CircleHolds(m, x, y); }, masses);
    for (const ZoneRef& zone : *zoneList) {
        const std::optional<TZoneView> view = ViewZone(*zone, group);
        if (view && BoxesTouch(view->box, point) && view->Holds(x, y)) {
            zones.push_back(zone);
        }
    }
}

void QueryBox(float minX, float minY, float maxX, float maxY, std::vector<MassRef>& masses,
              std::vector<ZoneRef>& zones, int group) {
    masses.clear();
    zones.clear();
    const bool valid = std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) &&
                       std::isfinite(maxY) && minX <= maxX && minY <= maxY;
    TMassGrid* grid = valid ? QueryGrid() : nullptr;
    if (!grid) {
        return;
    }
    const TBox box{minX, minY, maxX, maxY};
    CollectMasses(
        *grid, box, group, [&](const TMass& m) { return CircleTouchesBox(m, box); }, masses);
    for (const ZoneRef& zone : *zoneList) {
        const std::optional<TZoneView> view = ViewZone(*zone, group);
        if (view && BoxesTouch(view->box, box) && ZoneInBox(*view, box, minX, minY)) {
            zones.push_back(zone);
        }
    }
}

} // namespace kinetra
