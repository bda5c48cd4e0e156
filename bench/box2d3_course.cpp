#include "box2d3_course.h"

#include "box2d_units.h"
#include <kinetra/kinetra.h>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <vector>

namespace scenes {

namespace {

using namespace box2d_units;

constexpr int kSubsteps = 4;

} // namespace

struct TBox2D3Course::TWorld {
    b2WorldId id{};
    std::map<float, int> groupIndex;

    // A kinematic body and the Kinetra position it follows.
    struct TFollower {
        b2BodyId body;
        const float* x;
        const float* y;
    };
    std::vector<TFollower> followers;

    // Equal non-zero groups never meet, as in Kinetra: one negative Box2D group each.
    b2Filter Filter(float group) {
        b2Filter filter = b2DefaultFilter();
        if (group == 0.0f) {
            filter.maskBits = 0;
            return filter;
        }
        auto [it, added] = groupIndex.try_emplace(group, -1 - static_cast<int>(groupIndex.size()));
        filter.groupIndex = it->second;
        return filter;
    }

    void AddChain(b2BodyId body, const std::vector<b2Vec2>& loop, float friction, b2Filter filter) {
        b2SurfaceMaterial material = b2DefaultSurfaceMaterial();
        material.friction = friction;
        b2ChainDef def = b2DefaultChainDef();
        def.points = loop.data();
        def.count = static_cast<int>(loop.size());
        def.materials = &material;
        def.materialCount = 1;
        def.filter = filter;
        def.isLoop = true;
        b2CreateChain(body, &def);
    }

    void AddWalls(const kinetra::TPhysics& physics) {
        b2BodyDef def = b2DefaultBodyDef();
        const b2BodyId body = b2CreateBody(id, &def);
        const std::vector<float> box{physics.minX, physics.minY, physics.maxX, physics.minY,
                                     physics.maxX, physics.maxY, physics.minX, physics.maxY};
        AddChain(body, Loop<b2Vec2>(box, 0.0f, 0.0f, false), b2DefaultSurfaceMaterial().friction,
                 b2DefaultFilter());
    }

    void AddZone(const kinetra::TZone& zone, bool moving) {
        b2BodyDef def = b2DefaultBodyDef();
        if (moving) {
            // A lift is a convex block: one polygon on a body that follows the zone.
            def.type = b2_kinematicBody;
            def.position = Metres<b2Vec2>(zone.x, zone.y);
            const b2BodyId body = b2CreateBody(id, &def);
            const auto corners = Loop<b2Vec2>(*zone.points, 0.0f, 0.0f, true);
            const b2Hull hull = b2ComputeHull(corners.data(), static_cast<int>(corners.size()));
            const b2Polygon polygon = b2MakePolygon(&hull, 0.0f);
            b2ShapeDef shape = b2DefaultShapeDef();
            shape.material.friction = zone.friction;
            shape.filter = Filter(static_cast<float>(zone.group));
            b2CreatePolygonShape(body, &shape, &polygon);
            followers.push_back({body, &zone.x, &zone.y});
            return;
        }
        const b2BodyId body = b2CreateBody(id, &def);
        AddChain(body, Loop<b2Vec2>(*zone.points, zone.x, zone.y, true), zone.friction,
                 Filter(static_cast<float>(zone.group)));
    }

    b2BodyId AddMass(const kinetra::TMass& m) {
        b2BodyDef def = b2DefaultBodyDef();
        def.type = m.fixed ? b2_kinematicBody : b2_dynamicBody;
        def.position = Metres<b2Vec2>(m.x, m.y);
        def.linearVelocity = Metres<b2Vec2>((m.x - m.oldX) / kFrame, (m.y - m.oldY) / kFrame);
        const b2BodyId body = b2CreateBody(id, &def);
        const float radius = std::max(m.radius, kSmallestRadius) * kMetresPerPixel;
        b2ShapeDef shape = b2DefaultShapeDef();
        shape.density = m.mass / (std::numbers::pi_v<float> * radius * radius);
        shape.material.friction = m.friction;
        shape.filter = Filter(m.group);
        const b2Circle circle{{0.0f, 0.0f}, radius};
        b2CreateCircleShape(body, &shape, &circle);
        if (m.fixed) {
            followers.push_back({body, &m.x, &m.y});
        }
        return body;
    }

    void AddJoint(b2BodyId a, b2BodyId b, float length) {
        b2DistanceJointDef def = b2DefaultDistanceJointDef();
        def.bodyIdA = a;
        def.bodyIdB = b;
        def.length = length * kMetresPerPixel;
        def.enableSpring = false;
        b2CreateDistanceJoint(id, &def);
    }
};

TBox2D3Course::TBox2D3Course() : world(std::make_unique<TWorld>()) {
    using namespace kinetra;
    const TPhysics& physics = *currentWorld;
    b2WorldDef def = b2DefaultWorldDef();
    def.gravity =
        Metres<b2Vec2>(physics.gravityX / (kFrame * kFrame), physics.gravityY / (kFrame * kFrame));
    def.workerCount = 1;
    world->id = b2CreateWorld(&def);
    world->AddWalls(physics);

    const std::set<const TZone*> lifts = LiftZones();
    for (const auto& zone : *zoneList) {
        world->AddZone(*zone, lifts.count(zone.get()) != 0);
    }
    std::map<const TMass*, b2BodyId> bodies;
    for (const auto& m : *massList) {
        bodies[m.get()] = world->AddMass(*m);
    }
    for (const auto& c : *constraintList) {
        world->AddJoint(bodies.at(c->masses[0].get()), bodies.at(c->masses[1].get()), c->length);
    }
}

TBox2D3Course::~TBox2D3Course() {
    b2DestroyWorld(world->id);
}

void TBox2D3Course::Step() {
    for (const auto& f : world->followers) {
        const b2Vec2 target = Metres<b2Vec2>(*f.x, *f.y);
        const b2Vec2 at = b2Body_GetPosition(f.body);
        b2Body_SetLinearVelocity(f.body, {(target.x - at.x) / kFrame, (target.y - at.y) / kFrame});
    }
    b2World_Step(world->id, kFrame, kSubsteps);
}

} // namespace scenes
