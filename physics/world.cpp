#include <kinetra/world.h>

#include "broad_phase.h"
#include "zone_contact.h"
#include <kinetra/constraint.h>
#include <kinetra/mass.h>
#include <kinetra/zone.h>

#include <cmath>
#include <vector>

namespace kinetra {

namespace {

// One factor per wall: left, right, top, bottom.
constexpr float leftWallFactor = 0.5f;
constexpr float rightWallFactor = 0.5f;
constexpr float topWallFactor = 0.5f;
constexpr float bottomWallFactor = 0.5f;

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

void ClampToWalls(const TPhysics& world, TMass& m) {
    const float r = m.radius;
    if (m.x < world.minX + r) {
        const float d = (world.minX + r) - m.x;
        m.x = world.minX + r;
        WallFriction(m.y, m.oldY, d * (m.friction + world.friction) * leftWallFactor);
    } else if (m.x > world.maxX - r) {
        const float d = m.x - (world.maxX - r);
        m.x = world.maxX - r;
        WallFriction(m.y, m.oldY, d * (m.friction + world.friction) * rightWallFactor);
    }
    if (m.y < world.minY + r) {
        const float d = (world.minY + r) - m.y;
        m.y = world.minY + r;
        WallFriction(m.x, m.oldX, d * (m.friction + world.friction) * topWallFactor);
    } else if (m.y > world.maxY - r) {
        const float d = m.y - (world.maxY - r);
        m.y = world.maxY - r;
        WallFriction(m.x, m.oldX, d * (m.friction + world.friction) * bottomWallFactor);
    }
}

void Integrate(const TPhysics& world, const std::vector<TMass*>& masses) {
    for (TMass* m : masses) {
        if (!m || m->fixed) {
            continue;
        }
        const float tx = m->x;
        const float ty = m->y;
        m->x = m->x + ((m->x - m->oldX) + world.gravityX);
        m->y = m->y + ((m->y - m->oldY) + world.gravityY);
        m->oldX = tx;
        m->oldY = ty;
    }
}

} // namespace

std::int32_t TakeAutoGroup() {
    return nextAutoGroup--;
}

PhysicsRef TPhysics::Create(float maxX, float maxY, float gravityY, float gravityX,
                            int iterations) {
    auto world = std::make_shared<TPhysics>();
    constraintList = std::make_shared<TList<TConstraint>>();
    massList = std::make_shared<TList<TMass>>();
    zoneList = std::make_shared<TList<TZone>>();
    currentWorld = world;
    world->minX = 0.0f;
    world->minY = 0.0f;
    world->maxX = maxX;
    world->maxY = maxY;
    world->gravityY = gravityY;
    world->gravityX = gravityX;
    world->iterations = iterations;
    world->friction = 1.0f;
    return world;
}

void TPhysics::SetMinBounds(float minX, float minY) {
    if (!currentWorld) {
        return;
    }
    currentWorld->minX = minX;
    currentWorld->minY = minY;
}

void TPhysics::SetGravity(float gravityX, float gravityY) {
    if (!currentWorld) {
        return;
    }
    currentWorld->gravityX = gravityX;
    currentWorld->gravityY = gravityY;
}

void TPhysics::SetIterations(int n) {
    if (!currentWorld) {
        return;
    }
    currentWorld->iterations = n;
}

void TPhysics::SetWorld(float minX, float minY, float maxX, float maxY, float friction) {
    if (!currentWorld) {
        return;
    }
    currentWorld->minX = minX;
    currentWorld->minY = minY;
    currentWorld->maxX = maxX;
    currentWorld->maxY = maxY;
    currentWorld->friction = friction;
}

void TPhysics::SetFriction(float friction) {
    if (!currentWorld) {
        return;
    }
    currentWorld->friction = friction;
}

void TPhysics::Update() {
    // Held for the whole tick, so nothing the tick calls can release them under it.
    const PhysicsRef world = currentWorld;
    const auto masses = massList;
    const auto constraints = constraintList;
    const auto zones = zoneList;
    if (!world || !masses || !constraints || !zones) {
        return;
    }
    if (!world->broadPhase) {
        world->broadPhase = std::make_shared<TBroadPhase>();
    }
    TBroadPhase& near = *world->broadPhase;
    near.TakeMasses(*masses);
    Integrate(*world, near.masses);
    // Every mass meets its walls, then each zone and each later mass it may touch,
    // in list order; the broad phase passes over only what would not touch it.
    near.Load(*zones, world->minX, world->minY, world->maxX, world->maxY);
    const std::size_t count = near.masses.size();
    const std::size_t zoneCount = near.zones.size();
    const int passes = world->iterations;
    for (int pass = 1; pass <= passes; ++pass) {
        if (pass > 1) {
            // The constraints have moved the masses since.
            near.LoadPositions();
        }
        for (std::size_t j = 0; j < count; ++j) {
            TMass* p = near.masses[j];
            if (!p) {
                continue;
            }
            ClampToWalls(*world, *p);
            if (!p->fixed) {
                for (std::size_t z = near.NextZoneNear(*p, 0); z < zoneCount;
                     z = near.NextZoneNear(*p, z + 1)) {
                    if (near.TreeReaches(z, *p) && !near.Clear(z, *p)) {
                        ResolveZoneContact(*near.zones[z], *p);
                    }
                }
            }
            near.Moved(j);
            for (std::size_t k = near.NextMassInReach(j, j + 1); k < count;
                 k = near.NextMassInReach(j, k + 1)) {
                p->Collide(*near.masses[k]);
                near.Moved(j);
                near.Moved(k);
            }
        }
        for (const auto& c : *constraints) {
            if (c) {
                c->Satisfy();
            }
        }
    }
}

void TPhysics::Destroy() {
    if (currentWorld) {
        TPhysics& world = *currentWorld;
        world.maxX = world.maxY = world.minX = world.minY = 0.0f;
        world.friction = world.gravityX = world.gravityY = 0.0f;
        world.iterations = 0;
    }
    constraintList = nullptr;
    massList = nullptr;
    zoneList = nullptr;
    currentWorld = nullptr;
}

PhysicsRef CreatePhysics(float maxX, float maxY, float gravityY, float gravityX, int iterations) {
    return TPhysics::Create(maxX, maxY, gravityY, gravityX, iterations);
}

int SetPhysicsMinBounds(float minX, float minY) {
    TPhysics::SetMinBounds(minX, minY);
    return 0;
}

int SetPhysicsGravity(float gravityX, float gravityY) {
    TPhysics::SetGravity(gravityX, gravityY);
    return 0;
}

int SetPhysicsIterations(int n) {
    TPhysics::SetIterations(n);
    return 0;
}

int SetPhysicsWorld(float minX, float minY, float maxX, float maxY, float friction) {
    TPhysics::SetWorld(minX, minY, maxX, maxY, friction);
    return 0;
}

int SetPhysicsFriction(float friction) {
    TPhysics::SetFriction(friction);
    return 0;
}

int UpdatePhysics() {
    TPhysics::Update();
    return 0;
}

int DestroyPhysics() {
    TPhysics::Destroy();
    return 0;
}

} // namespace kinetra
