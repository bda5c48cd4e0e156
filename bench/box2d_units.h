// What both Box2D courses share: the scale from the game's pixels and ticks to Box2D's
// metres and seconds, the zones' outlines as Box2D's chains, and which zones the
// course's lifts carry. The vector type is
// each Box2D's own (b2Vec2 of 2.4 and of v3 are different types of one shape).
#pragma once

#include "globals.h"
#include "level.h"
#include "lift.h"
#include <kinetra/zone.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <set>
#include <vector>

namespace scenes::box2d_units {

inline constexpr float kMetresPerPixel = 0.05f;
inline constexpr float kFrame = 1.0f / 60.0f;
// The blob's masses have no radius; Box2D needs a shape to collide.
inline constexpr float kSmallestRadius = 2.0f;

template <class TVec2> TVec2 Metres(float x, float y) {
    return {x * kMetresPerPixel, y * kMetresPerPixel};
}

// Box2D's chains collide on the right of each edge: counter-clockwise in its own
// (here y-down) coordinates faces out, clockwise faces in.
template <class TVec2>
std::vector<TVec2> Loop(const std::vector<float>& points, float x, float y, bool facingOut) {
    std::vector<TVec2> loop;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        loop.push_back(Metres<TVec2>(x + points[i], y + points[i + 1]));
    }
    float area = 0.0f;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const TVec2& a = loop[i];
        const TVec2& b = loop[(i + 1) % loop.size()];
        area += a.x * b.y - b.x * a.y;
    }
    if ((area > 0.0f) != facingOut) {
        std::reverse(loop.begin(), loop.end());
    }
    return loop;
}

// The zones that the course's lifts move: Box2D gets them as kinematic bodies that
// follow the lifts.
inline std::set<const kinetra::TZone*> LiftZones() {
    std::set<const kinetra::TZone*> lifts;
    for (const auto& object : morvel::level->objects) {
        if (auto lift = std::dynamic_pointer_cast<morvel::TLift>(object)) {
            lifts.insert(lift->zone.get());
        }
    }
    return lifts;
}

} // namespace scenes::box2d_units
