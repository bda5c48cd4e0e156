// RayCast: the masses along the ray through their grid, nearest cells first, then every
// zone whose tree's box the ray crosses before the nearest mass met.
#include "geometry.h"
#include "query_world.h"
#include "zone_view.h"
#include <kinetra/query.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kinetra {

namespace {

constexpr std::uint32_t kNoMass = std::numeric_limits<std::uint32_t>::max();

// The nearest meeting so far: ties go to masses, and then to the earlier in its list.
struct TNearest {
    TMeet meet{std::numeric_limits<double>::infinity(), 0.0, 0.0};
    std::uint32_t mass = kNoMass;
    const ZoneRef* zone = nullptr;

    bool Found() const { return mass != kNoMass || zone != nullptr; }
};

void CastAtMasses(TMassGrid& grid, const TRay& ray, int group, TNearest& best) {
    const std::vector<TMass*>& masses = grid.Masses();
    grid.Begin();
    grid.AlongSegment(ray.x0, ray.y0, ray.dx, ray.dy, best.meet.t, [&](std::uint32_t i) {
        const TMass& m = *masses[i];
        if (PassesOver(m.group, group)) {
            return;
        }
        const std::optional<TMeet> meet = RayMeetsCircle(ray, m);
        if (meet && (meet->t < best.meet.t || (meet->t == best.meet.t && i < best.mass))) {
            best.meet = *meet;
            best.mass = i;
        }
    });
}

void CastAtZone(const TZoneView& view, const ZoneRef& zone, const TRay& ray, TNearest& best) {
    double t0 = 0.0;
    double t1 = std::min(1.0, best.meet.t);
    if (!ClipToRange(ray.x0, ray.dx, view.box.minX, view.box.maxX, t0, t1) ||
        !ClipToRange(ray.y0, ray.dy, view.box.minY, view.box.maxY, t0, t1)) {
        return;
    }
    const auto keep = [&](const TMeet& meet) {
        if (meet.t < best.meet.t) {
            best = {meet, kNoMass, &zone};
        }
    };
    if (t0 == 0.0 && view.Holds(static_cast<float>(ray.x0), static_cast<float>(ray.y0))) {
        keep(MeetAtStart(ray));
        return;
    }
    view.AnySegment([&](double ax, double ay, double bx, double by) {
        if (const std::optional<TMeet> meet = RayMeetsSegment(ray, ax, ay, bx, by)) {
            keep(*meet);
        }
        return false;
    });
}

// A ray of length 0: the first mass, else the first solid, that holds the point.
void FindAtPoint(TMassGrid& grid, float x, float y, int group, TNearest& best) {
    const std::vector<TMass*>& masses = grid.Masses();
    grid.Begin();
    grid.InBox(x, y, x, y, [&](std::uint32_t i) {
        if (i < best.mass && !PassesOver(masses[i]->group, group) &&
            CircleHolds(*masses[i], x, y)) {
            best.mass = i;
        }
    });
    if (best.mass != kNoMass) {
        return;
    }
    for (const ZoneRef& zone : *zoneList) {
        const std::optional<TZoneView> view = ViewZone(*zone, group);
        if (view && BoxesTouch(view->box, TBox{x, y, x, y}) && view->Holds(x, y)) {
            best.zone = &zone;
            return;
        }
    }
}

} // namespace

bool RayCast(float x0, float y0, float x1, float y1, TRayHit& hit, int group) {
    hit = TRayHit{};
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
        return false;
    }
    TMassGrid* grid = QueryGrid();
    if (!grid) {
        return false;
    }
    const TRay ray{x0, y0, double{x1} - x0, double{y1} - y0};
    TNearest best;
    if (ray.dx == 0.0 && ray.dy == 0.0) {
        best.meet = {0.0, 0.0, 0.0};
        FindAtPoint(*grid, x0, y0, group, best);
    } else {
        CastAtMasses(*grid, ray, group, best);
        for (const ZoneRef& zone : *zoneList) {
            if (const std::optional<TZoneView> view = ViewZone(*zone, group)) {
                CastAtZone(*view, zone, ray, best);
            }
        }
    }
    if (!best.Found()) {
        return false;
    }
    hit.fraction = static_cast<float>(best.meet.t);
    hit.x = static_cast<float>(ray.x0 + best.meet.t * ray.dx);
    hit.y = static_cast<float>(ray.y0 + best.meet.t * ray.dy);
    hit.normalX = static_cast<float>(best.meet.nx);
    hit.normalY = static_cast<float>(best.meet.ny);
    if (best.zone) {
        hit.zone = *best.zone;
    } else {
        hit.mass = grid->Masses()[best.mass]->weak_from_this().lock();
    }
    return true;
}

} // namespace kinetra
