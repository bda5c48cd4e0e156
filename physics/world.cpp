#include <kinetra/world.h>

#include <kinetra/constraint.h>
#include <kinetra/mass.h>
#include <kinetra/zone.h>

namespace kinetra {

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
