// The current world, the engine's registries and the module-level interface.
//
// Units: positions in pixels, x to the right and y downwards; no time step:
// one Update (UpdatePhysics) is one fixed tick, so gravity is in pixels per
// tick squared; angles everywhere in the engine are degrees, positive turning
// clockwise on screen.
//
// There is one current world (currentWorld), never passed around. Masses,
// constraints and zones are not owned by it: they are simulated exactly while
// they are in massList, constraintList or zoneList, which hold a reference to
// each member. Create replaces the world and the three lists with new empty
// ones: everything registered before is no longer simulated, but keeps its
// own registration count. Destroy zeroes every field of the old world and
// drops the lists and the world; objects the caller still holds live on as
// plain objects in no list. Create the world before making zones or
// registering anything: without one, the setters and Update do nothing, a
// zone is made but not listed, and Register only counts.
//
// Nothing is validated or reported: no call has an error result.
#pragma once

#include "list.h"
#include "refs.h"

#include <cstdint>
#include <memory>

namespace kinetra {

struct TTickCache;

class TPhysics {
public:
    float maxX = 0.0f;
    float maxY = 0.0f;
    float minX = 0.0f;
    float minY = 0.0f;
    float friction = 1.0f;
    float gravityX = 0.0f;
    float gravityY = 0.0f;
    std::int32_t iterations = 0;

    // Replaces the registries with new empty lists and becomes the current world.
    // Note the order: vertical gravity before horizontal.
    static PhysicsRef Create(float maxX, float maxY, float gravityY, float gravityX,
                             int iterations);
    static void SetMinBounds(float minX, float minY);
    static void SetGravity(float gravityX, float gravityY);
    static void SetIterations(int n);
    static void SetWorld(float minX, float minY, float maxX, float maxY, float friction);
    static void SetFriction(float friction);
    // One tick of the current world.
    static void Update();
    // Zeroes the current world and drops it and the registries.
    static void Destroy();

private:
    // What the tick keeps from tick to tick (its broad phase, its array of the masses'
    // states, its constraints by place), made on the first tick.
    std::shared_ptr<TTickCache> tickCache;
};

inline std::shared_ptr<TList<TMass>> massList;
inline std::shared_ptr<TList<TConstraint>> constraintList;
inline std::shared_ptr<TList<TZone>> zoneList;
inline std::int32_t nextAutoGroup = -2;
inline PhysicsRef currentWorld;

// The setters and UpdatePhysics do nothing while no world exists.
PhysicsRef CreatePhysics(float maxX, float maxY, float gravityY, float gravityX, int iterations);
int SetPhysicsMinBounds(float minX, float minY);
int SetPhysicsGravity(float gravityX, float gravityY);
int SetPhysicsIterations(int n);
int SetPhysicsWorld(float minX, float minY, float maxX, float maxY, float friction);
int SetPhysicsFriction(float friction);
int UpdatePhysics();
int DestroyPhysics();

// Hands out the next automatic collision group.
std::int32_t TakeAutoGroup();

} // namespace kinetra
