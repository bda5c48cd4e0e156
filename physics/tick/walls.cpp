#include "walls.h"

#include "mass_state.h"
#include <kinetra/world.h>

#include <cmath>

namespace kinetra {

namespace {

// One factor per wall: left, right, top, bottom.
constexpr float kLeftWallFactor = 0.5f;
constexpr float kRightWallFactor = 0.5f;
constexpr float kTopWallFactor = 0.5f;
constexpr float kBottomWallFactor = 0.5f;

float Sign(float v) {
    if (v > 0.0f) {
        return 1.0f;
    }
    if (v < 0.0f) {
        return -1.0f;
    }
    return 0.0f;
}

// Slows the motion along a wall by budget, stopping it when the budget is larger.
void WallFriction(float position, float& old, float budget) {
    const float v = position - old;
    if (budget > std::fabs(v)) {
        old = position;
    } else {
        old = old + Sign(v) * budget;
    }
}

} // namespace

bool ClampToWalls(const TPhysics& world, TMassState& m) {
    const float r = m.radius;
    bool clamped = false;
    if (m.x < world.minX + r) {
        const float d = (world.minX + r) - m.x;
        m.x = world.minX + r;
        WallFriction(m.y, m.oldY, d * (m.friction + world.friction) * kLeftWallFactor);
        clamped = true;
    } else if (m.x > world.maxX - r) {
        const float d = m.x - (world.maxX - r);
        m.x = world.maxX - r;
        WallFriction(m.y, m.oldY, d * (m.friction + world.friction) * kRightWallFactor);
        clamped = true;
    }
    if (m.y < world.minY + r) {
        const float d = (world.minY + r) - m.y;
        m.y = world.minY + r;
        WallFriction(m.x, m.oldX, d * (m.friction + world.friction) * kTopWallFactor);
        clamped = true;
    } else if (m.y > world.maxY - r) {
        const float d = m.y - (world.maxY - r);
        m.y = world.maxY - r;
        WallFriction(m.x, m.oldX, d * (m.friction + world.friction) * kBottomWallFactor);
        clamped = true;
    }
    return clamped;
}

} // namespace kinetra
