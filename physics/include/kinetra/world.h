/// @file
/// The current world, the engine's registries and the module-level interface.
///
/// Units: positions in pixels, x to the right and y downwards; no time step:
/// one Update (UpdatePhysics) is one fixed tick, so gravity is in pixels per
/// tick squared; angles everywhere in the engine are degrees, positive turning
/// clockwise on screen.
///
/// There is one current world (currentWorld), never passed around. Masses,
/// constraints and zones are not owned by it: they are simulated exactly while
/// they are in massList, constraintList or zoneList, which hold a reference to
/// each member. Create replaces the world and the three lists with new empty
/// ones: everything registered before is no longer simulated, but keeps its
/// own registration count. Destroy zeroes every field of the old world and
/// drops the lists and the world; objects the caller still holds live on as
/// plain objects in no list. Create the world before making zones or
/// registering anything: without one, the setters and Update do nothing, a
/// zone is made but not listed, and Register only counts.
///
/// Nothing is validated or reported: no call has an error result.
#pragma once

#include "list.h"
#include "refs.h"

#include <cstdint>
#include <memory>

namespace kinetra {

struct TTickCache;

/// The world: its bounds (the walls), wall friction, gravity and the number of
/// relaxation passes a tick. There is one current world at a time
/// (currentWorld); the static functions act on it and do nothing without one.
class TPhysics {
public:
    float maxX = 0.0f;     ///< Right wall, pixels.
    float maxY = 0.0f;     ///< Bottom wall, pixels.
    float minX = 0.0f;     ///< Left wall, pixels.
    float minY = 0.0f;     ///< Top wall, pixels.
    float friction = 1.0f; ///< Wall friction, averaged with a mass's own at a wall.
    float gravityX =
        0.0f; ///< Added to every free mass's displacement each tick, pixels per tick squared.
    float gravityY = 0.0f; ///< Likewise downwards; 0.1 in the game.
    /// Relaxation passes a tick (walls, zones, mass pairs, constraints); 0 or
    /// less integrates only.
    std::int32_t iterations = 0;

    /// Replaces the registries with new empty lists and becomes the current
    /// world, bounded by (0, 0) and (maxX, maxY). Note the order: vertical
    /// gravity before horizontal. Everything registered before is no longer
    /// simulated. Never Null.
    static PhysicsRef Create(float maxX, float maxY, float gravityY, float gravityX,
                             int iterations);
    /// Sets the top-left corner of the walls.
    static void SetMinBounds(float minX, float minY);
    /// Sets gravity, horizontal first.
    static void SetGravity(float gravityX, float gravityY);
    /// Sets the passes a tick, read once a tick after integration.
    static void SetIterations(int n);
    /// Sets the walls and the wall friction at once.
    static void SetWorld(float minX, float minY, float maxX, float maxY, float friction);
    /// Sets the wall friction.
    static void SetFriction(float friction);
    /// One tick of the current world: Verlet integration of the free masses,
    /// then for each pass the walls, zones and mass pairs of every mass in
    /// list order, then every constraint in list order.
    static void Update();
    /// Zeroes the current world and drops it and the registries; objects still
    /// held elsewhere live on in no list.
    static void Destroy();

private:
    // What the tick keeps from tick to tick (its broad phase, its array of the
    // masses' states, its constraints by place), made on the first tick.
    std::shared_ptr<TTickCache> tickCache;
};

/// Every registered mass, in registration order; Null without a world.
inline std::shared_ptr<TList<TMass>> massList;
/// Every registered constraint, in registration order; Null without a world.
inline std::shared_ptr<TList<TConstraint>> constraintList;
/// Every zone, in creation order; Null without a world.
inline std::shared_ptr<TList<TZone>> zoneList;
/// The automatic group the next mass or zone of group -1 takes; counts down
/// from -2 for the whole process, whatever happens to the world.
inline std::int32_t nextAutoGroup = -2;
/// The current world; Null before CreatePhysics and after DestroyPhysics.
inline PhysicsRef currentWorld;

/// TPhysics::Create. The setters and UpdatePhysics do nothing while no world
/// exists; all of them return 0.
PhysicsRef CreatePhysics(float maxX, float maxY, float gravityY, float gravityX, int iterations);
/// TPhysics::SetMinBounds; returns 0.
int SetPhysicsMinBounds(float minX, float minY);
/// TPhysics::SetGravity; returns 0.
int SetPhysicsGravity(float gravityX, float gravityY);
/// TPhysics::SetIterations; returns 0.
int SetPhysicsIterations(int n);
/// TPhysics::SetWorld; returns 0.
int SetPhysicsWorld(float minX, float minY, float maxX, float maxY, float friction);
/// TPhysics::SetFriction; returns 0.
int SetPhysicsFriction(float friction);
/// TPhysics::Update, one tick; returns 0.
int UpdatePhysics();
/// TPhysics::Destroy; returns 0.
int DestroyPhysics();

/// Hands out the next automatic collision group (-2, -3, ...).
std::int32_t TakeAutoGroup();

} // namespace kinetra
