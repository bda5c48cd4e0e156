#include "box2d_course.h"

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

constexpr int kVelocityIterations = 8;
constexpr int kPositionIterations = 3;

} // namespace

struct TBox2DCourse::TWorld {
    b2World world{b2Vec2(0.0f, 0.0f)};
    std::map<float, int16> groupIndex;

    // A kinematic body and the Kinetra position it follows.
    struct TFollower {
        b2Body* body;
        const float* x;
        const float* y;
    };
    std::vector<TFollower> followers;

    // Equal non-zero groups never meet, as in Kinetra: one negative Box2D group each.
    b2Filter Filter(float group) {
        b2Filter filter;
        if (group == 0.0f) {
            filter.maskBits = 0;
            return filter;
        }
        auto [it, added] = groupIndex.try_emplace(
            group, static_cast<int16>(-1 - static_cast<int>(groupIndex.size())));
        filter.groupIndex = it->second;
        return filter;
    }

    void AddWalls(const kinetra::TPhysics& physics) {
        b2BodyDef def;
        b2Body* body = world.CreateBody(&def);
        const std::vector<float> box{physics.minX, physics.minY, physics.maxX, physics.minY,
                                     physics.maxX, physics.maxY, physics.minX, physics.maxY};
        const auto loop = Loop<b2Vec2>(box, 0.0f, 0.0f, false);
        b2ChainShape chain;
        chain.CreateLoop(loop.data(), static_cast<int32>(loop.size()));
        body->CreateFixture(&chain, 0.0f);
    }

    void AddZone(const kinetra::TZone& zone, bool moving) {
        b2FixtureDef fixture;
        fixture.friction = zone.friction;
        fixture.filter = Filter(static_cast<float>(zone.group));
        b2BodyDef def;
        if (moving) {
            // A lift is a convex block: one polygon on a body that follows the zone.
            def.type = b2_kinematicBody;
            def.position = Metres<b2Vec2>(zone.x, zone.y);
            b2Body* body = world.CreateBody(&def);
            const auto corners = Loop<b2Vec2>(*zone.points, 0.0f, 0.0f, true);
            b2PolygonShape polygon;
            polygon.Set(corners.data(), static_cast<int32>(corners.size()));
            fixture.shape = &polygon;
            body->CreateFixture(&fixture);
            followers.push_back({body, &zone.x, &zone.y});
            return;
        }
        b2Body* body = world.CreateBody(&def);
        const auto loop = Loop<b2Vec2>(*zone.points, zone.x, zone.y, true);
        b2ChainShape chain;
        chain.CreateLoop(loop.data(), static_cast<int32>(loop.size()));
        fixture.shape = &chain;
        body->CreateFixture(&fixture);
    }

    b2Body* AddMass(const kinetra::TMass& m) {
        b2BodyDef def;
        def.type = m.fixed ? b2_kinematicBody : b2_dynamicBody;
        def.position = Metres<b2Vec2>(m.x, m.y);
        def.linearVelocity = Metres<b2Vec2>((m.x - m.oldX) / kFrame, (m.y - m.oldY) / kFrame);
        b2Body* body = world.CreateBody(&def);
        b2CircleShape circle;
        const float radius = std::max(m.radius, kSmallestRadius) * kMetresPerPixel;
        circle.m_radius = radius;
        b2FixtureDef fixture;
        fixture.shape = &circle;
        fixture.density = m.mass / (std::numbers::pi_v<float> * radius * radius);
        fixture.friction = m.friction;
        fixture.filter = Filter(m.group);
        body->CreateFixture(&fixture);
        if (m.fixed) {
            followers.push_back({body, &m.x, &m.y});
        }
        return body;
    }

    void AddJoint(b2Body* a, b2Body* b, float length) {
        b2DistanceJointDef def;
        def.Initialize(a, b, a->GetPosition(), b->GetPosition());
        def.length = def.minLength = def.maxLength = length * kMetresPerPixel;
        world.CreateJoint(&def);
    }
};

TBox2DCourse::TBox2DCourse() : world(std::make_unique<TWorld>()) {
    using namespace kinetra;
    const TPhysics& physics = *currentWorld;
    world->world.SetGravity(
        Metres<b2Vec2>(physics.gravityX / (kFrame * kFrame), physics.gravityY / (kFrame * kFrame)));
    world->AddWalls(physics);

    const std::set<const TZone*> lifts = LiftZones();
    for (const auto& zone : *zoneList) {
        world->AddZone(*zone, lifts.count(zone.get()) != 0);
    }

    std::map<const TMass*, b2Body*> bodies;
    for (const auto& m : *massList) {
        bodies[m.get()] = world->AddMass(*m);
    }
    for (const auto& c : *constraintList) {
        world->AddJoint(bodies.at(c->masses[0].get()), bodies.at(c->masses[1].get()), c->length);
    }
}

TBox2DCourse::~TBox2DCourse() = default;

void TBox2DCourse::Step() {
    for (const auto& f : world->followers) {
        const b2Vec2 target = Metres<b2Vec2>(*f.x, *f.y);
        const b2Vec2 at = f.body->GetPosition();
        f.body->SetLinearVelocity({(target.x - at.x) / kFrame, (target.y - at.y) / kFrame});
    }
    world->world.Step(kFrame, kVelocityIterations, kPositionIterations);
}

} // namespace scenes
