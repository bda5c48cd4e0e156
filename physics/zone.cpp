#include <kinetra/zone.h>

#include "degrees.h"
#include "tick/mass_state.h"
#include "tick/zone_contact.h"
#include <kinetra/mass.h>
#include <kinetra/quadtree.h>
#include <kinetra/world.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace kinetra {

namespace {

constexpr float treeMargin = 1.0f;
constexpr float treeGrowth = 2.0f;

} // namespace

ZoneRef TZone::Create(FloatArray points, int kind, float friction, int group, int depth) {
    if (!points || points->size() < 4 || points->size() % 2 != 0) {
        return nullptr;
    }
    auto zone = std::make_shared<TZone>();
    zone->points = std::move(points);
    zone->kind = kind;
    zone->friction = friction;
    zone->group = group == -1 ? TakeAutoGroup() : group;
    if (zoneList) {
        zone->link = zoneList->Append(zone);
    }
    zone->SetDepth(depth);
    return zone;
}

void TZone::SetPosition(float newX, float newY) {
    x = newX;
    y = newY;
}

void TZone::Move(float dx, float dy) {
    x += dx;
    y += dy;
}

void TZone::Rotate(float angle) {
    if (!points) {
        return;
    }
    auto& p = *points;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        const float r = std::sqrt(p[i] * p[i] + p[i + 1] * p[i + 1]);
        const double a = Atan2Degrees(p[i + 1], p[i]) + angle;
        p[i] = static_cast<float>(CosDegrees(a) * r);
        p[i + 1] = static_cast<float>(SinDegrees(a) * r);
    }
    SetDepth(depth);
}

void TZone::SetDepth(int newDepth) {
    depth = newDepth;
    // The caller may have shrunk the shared array; a shape needs two points.
    if (!points || points->size() < 4) {
        tree = nullptr;
        return;
    }
    const auto& p = *points;
    float minX = p[0];
    float maxX = p[0];
    float minY = p[1];
    float maxY = p[1];
    for (std::size_t i = 2; i + 1 < p.size(); i += 2) {
        minX = std::fmin(minX, p[i]);
        minY = std::fmin(minY, p[i + 1]);
        maxX = std::fmax(maxX, p[i]);
        maxY = std::fmax(maxY, p[i + 1]);
    }
    tree = TQuadTree::Build(p, kind, minX - treeMargin, minY - treeMargin,
                            (maxX - minX) + treeGrowth, (maxY - minY) + treeGrowth, depth);
}

void TZone::Collide(TMass& m) {
    const float r = m.radius;
    if (tree && tree->Overlaps(x, y, m.x - r, m.y - r, r + r)) {
        TMassState state = StateOf(m);
        ResolveZoneContact(*this, state);
        GivePosition(state, m);
    }
}

void TZone::Remove() {
    if (zoneList) {
        zoneList->Remove(link);
    }
    link.Reset();
}

} // namespace kinetra
