#include "world_fixture.h"

#include <array>
#include <cmath>
#include <limits>

using namespace kinetra;

namespace {

MassRef Registered(float x, float y, float radius, int group, float friction = 0.0f) {
    auto m = TMass::Create(x, y, 1, radius, friction, group);
    m->Register();
    return m;
}

using WorldStepTest = WorldTest;

} // namespace

TEST(WorldLifecycleTest, CreateOrdersGravityAndDestroyZeroesEverything) {
    auto world = CreatePhysics(2048, 1024, 0.1f, 0.25f, 2);
    ASSERT_EQ(world, currentWorld);
    EXPECT_EQ(world->gravityY, 0.1f);
    EXPECT_EQ(world->gravityX, 0.25f);
    EXPECT_EQ(world->maxX, 2048.0f);
    EXPECT_EQ(world->maxY, 1024.0f);
    EXPECT_EQ(world->iterations, 2);
    EXPECT_EQ(world->friction, 1.0f);
    ASSERT_TRUE(massList && constraintList && zoneList);

    SetPhysicsMinBounds(-5, -6);
    SetPhysicsFriction(0.5f);
    DestroyPhysics();
    EXPECT_EQ(currentWorld, nullptr);
    EXPECT_EQ(massList, nullptr);
    EXPECT_EQ(constraintList, nullptr);
    EXPECT_EQ(zoneList, nullptr);
    const std::array<float, 7> fields{world->maxX,     world->maxY,     world->minX,    world->minY,
                                      world->friction, world->gravityX, world->gravityY};
    for (float field : fields) {
        EXPECT_EQ(field, 0.0f);
    }
    EXPECT_EQ(world->iterations, 0);
}

TEST(WorldLifecycleTest, NothingHappensWithoutAWorld) {
    DestroyPhysics();
    auto m = TMass::Create(0, 0, 1, 5, 0, 1);
    auto c = TConstraint::Create(m, TMass::Create(10, 0, 1, 5, 0, 1), 0, 1);
    c->Register();
    SetPhysicsGravity(0, 1);
    SetPhysicsIterations(3);
    SetPhysicsWorld(0, 0, 10, 10, 1);
    SetPhysicsMinBounds(1, 1);
    SetPhysicsFriction(1);
    UpdatePhysics();
    auto zone = TZone::Create(std::make_shared<std::vector<float>>(std::vector<float>{0, 0, 1, 1}),
                              TZoneKind::Open, 1, 1, 1);
    ASSERT_NE(zone, nullptr);
    zone->Remove();
    c->Unregister();
    DestroyPhysics();
    EXPECT_EQ(m->y, 0.0f);
}

TEST(WorldLifecycleTest, ANewWorldDropsEarlierRegistrations) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    auto old = Registered(100, 100, 5, 1);
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    UpdatePhysics();
    EXPECT_EQ(old->y, 100.0f);

    // Its count still holds, so registering again does not list it a second time...
    old->Register();
    EXPECT_TRUE(massList->Empty());
    // ...until the count has returned to zero.
    old->Unregister();
    old->Unregister();
    old->Register();
    EXPECT_TRUE(massList->Contains(old));
    DestroyPhysics();
}

TEST(WorldLifecycleTest, ObjectsOutliveTheWorldInAnyReleaseOrder) {
    for (int order = 0; order < 3; ++order) {
        CreatePhysics(200, 200, 0.1f, 0, 2);
        auto a = TMass::Create(10, 10, 1, 5, 0, 1);
        auto b = TMass::Create(30, 10, 1, 5, 0, 1);
        auto c = TConstraint::Create(a, b, 0, 1);
        auto body = std::make_unique<TBody>();
        c->AddToBody(*body);
        auto zone = TZone::Create(
            std::make_shared<std::vector<float>>(std::vector<float>{0, 100, 200, 100}),
            TZoneKind::Open, 1, 2, 1);
        UpdatePhysics();
        if (order == 0) {
            DestroyPhysics();
            body.reset();
            zone->Remove();
        } else if (order == 1) {
            body.reset();
            DestroyPhysics();
            EXPECT_EQ(a->useCount, 0);
        } else {
            c.reset();
            a.reset();
            DestroyPhysics();
            EXPECT_EQ(body->members.Count(), 1u);
            body.reset();
            EXPECT_EQ(b->useCount, 0);
        }
    }
}

TEST(WorldStepGravityTest, VerletAccumulatesGravity) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    auto m = Registered(100, 500, 5, 1);
    UpdatePhysics();
    const float first = 500.0f + 0.1f;
    EXPECT_EQ(m->y, first);
    UpdatePhysics();
    EXPECT_EQ(m->y, first + ((first - 500.0f) + 0.1f));
    EXPECT_EQ(m->x, 100.0f);

    // The same gravity set through SetGravity gives the same path.
    CreatePhysics(2048, 1024, 0, 0, 2);
    SetPhysicsGravity(0, 0.1f);
    auto n = Registered(100, 500, 5, 1);
    UpdatePhysics();
    UpdatePhysics();
    EXPECT_EQ(n->y, m->y);
    DestroyPhysics();
}

TEST_F(WorldStepTest, WallsClampStrictlyAndBrakeAlongTheWall) {
    auto touching = Registered(5, 100, 5, 1);
    touching->SetVelocity(0, 2);
    auto past = Registered(4, 100, 5, 1);
    past->SetVelocity(0, 2);
    auto slow = Registered(4, 300, 5, 1);
    slow->SetVelocity(0, 0.25f);
    UpdatePhysics();
    EXPECT_EQ(touching->x, 5.0f);
    EXPECT_EQ(touching->y - touching->oldY, 2.0f);
    EXPECT_EQ(past->x, 5.0f);
    EXPECT_EQ(past->y - past->oldY, 1.5f); // 1 x (0 + 1) x 0.5 taken off
    EXPECT_EQ(slow->y - slow->oldY, 0.0f);

    // The other three walls, each braking the motion along it.
    auto right = Registered(2044, 100, 5, 1);
    right->SetVelocity(0, -2);
    auto top = Registered(100, 4, 5, 1);
    top->SetVelocity(2, 0);
    auto bottom = Registered(300, 1020, 5, 1);
    bottom->SetVelocity(-2, 0);
    UpdatePhysics();
    EXPECT_EQ(right->x, 2043.0f);
    EXPECT_EQ(right->y - right->oldY, -1.5f);
    EXPECT_EQ(top->y, 5.0f);
    EXPECT_EQ(top->x - top->oldX, 1.5f);
    EXPECT_EQ(bottom->y, 1019.0f);
    EXPECT_EQ(bottom->x - bottom->oldX, -1.5f);
}

TEST_F(WorldStepTest, FixedMassesSkipIntegrationAndZonesButNotWallsOrPairs) {
    SetPhysicsGravity(0, 1);
    auto pinned = Registered(-20, 50, 5, 1);
    pinned->Fix();
    auto zone =
        TZone::Create(std::make_shared<std::vector<float>>(std::vector<float>{0, 48, 100, 48}),
                      TZoneKind::Open, 1, 3, 1);
    UpdatePhysics();
    EXPECT_EQ(pinned->x, 5.0f);
    EXPECT_EQ(pinned->y, 50.0f);

    auto neighbour = Registered(12, 50, 5, 2);
    neighbour->SetVelocity(0, -1);
    UpdatePhysics();
    EXPECT_EQ(pinned->x, 5.0f);
    EXPECT_FLOAT_EQ(neighbour->x, 15.0f);
}

TEST_F(WorldStepTest, GroupRuleDecidesWhoTouches) {
    auto a = Registered(100, 300, 5, 1);
    auto sameGroup = Registered(104, 300, 5, 1);
    auto none = Registered(300, 300, 5, 0);
    auto other = Registered(304, 300, 5, 2);
    auto zoneless = Registered(500, 103, 5, 0);
    auto sharesZoneGroup = Registered(600, 103, 5, 9);
    TZone::Create(std::make_shared<std::vector<float>>(std::vector<float>{0, 100, 2000, 100}),
                  TZoneKind::Open, 0, 9, 1);
    UpdatePhysics();
    EXPECT_EQ(a->x, 100.0f);
    EXPECT_EQ(sameGroup->x, 104.0f);
    EXPECT_EQ(none->x, 300.0f);
    EXPECT_EQ(other->x, 304.0f);
    EXPECT_EQ(zoneless->y, 103.0f);
    EXPECT_EQ(sharesZoneGroup->y, 103.0f);

    auto c = Registered(700, 300, 5, 1);
    auto d = Registered(704, 300, 5, 2);
    UpdatePhysics();
    EXPECT_EQ(d->x - c->x, 10.0f);
}

// Whatever a caller changes between ticks counts at the next: a radius, a group, a place.
TEST_F(WorldStepTest, ChangesBetweenTicksCountAtTheNext) {
    auto largest = Registered(1500, 500, 50, 3);
    auto a = Registered(100, 300, 5, 1);
    auto b = Registered(140, 300, 5, 2);
    auto c = Registered(600, 300, 5, 0);
    auto d = Registered(608, 300, 5, 2);
    UpdatePhysics();
    EXPECT_EQ(a->x, 100.0f);
    EXPECT_EQ(c->x, 600.0f);

    a->radius = 45;
    c->group = 1;
    UpdatePhysics();
    EXPECT_LT(a->x, 100.0f);
    EXPECT_GT(b->x, 140.0f);
    EXPECT_LT(c->x, 600.0f);

    // Moved onto the far mass by hand.
    b->SetPosition(1510, 500);
    UpdatePhysics();
    EXPECT_GT(b->x, 1510.0f);
    EXPECT_LT(largest->x, 1500.0f);
}

// The tick meets a zone where its tree reaches, as TZone::Collide does: near this
// outline the deeper cells leave out a mass that the shape alone would push.
TEST_F(WorldStepTest, ZonesTouchOnlyWhereTheirTreeReaches) {
    auto outline =
        std::make_shared<std::vector<float>>(std::vector<float>{75, 50, 100, 25, 50, 25, 50, 0});
    TZone::Create(outline, TZoneKind::Outline, 1, 3, 3);
    auto passedOver = Registered(77.5f, 45, 2, 1, 1);
    auto pushed = Registered(60, 26, 2, 1, 1);
    UpdatePhysics();
    EXPECT_EQ(passedOver->x, 77.5f);
    EXPECT_EQ(passedOver->y, 45.0f);
    EXPECT_EQ(pushed->y, 27.0f);
}

// Masses of one group never meet each other, so in one tick each meets the zones just
// as TZone::Collide would, zone by zone, wherever it is: deep inside a solid, near an
// edge, out in the open, with and without radius.
TEST_F(WorldStepTest, ZonesMeetMassesAsCollideDoes) {
    const auto points = [](std::vector<float> values) {
        return std::make_shared<std::vector<float>>(std::move(values));
    };
    const std::vector<ZoneRef> zones{
        TZone::Create(points({600, 150, 100, 150, 100, 125, 450, 125, 450, 42,
                              517, 42,  567, 92,  616, 92,  616, 341, 600, 341}),
                      TZoneKind::Solid, 1, 5, 1),
        TZone::Create(points({0, 0, 80, 0, 80, 60, 0, 60}), TZoneKind::Outline, 0.5f, 5, 3),
        TZone::Create(points({20, 300, 300, 240}), TZoneKind::Open, 0.2f, 5, 2),
        TZone::Create(points({150, 200, 260, 200, 205, 330}), TZoneKind::Solid, 0.8f, 5, 1)};
    zones[1]->SetPosition(40, 30);
    // Zones that keep their shape are prepared over the first ticks.
    UpdatePhysics();
    UpdatePhysics();
    std::vector<MassRef> masses;
    std::vector<MassRef> alone;
    for (float x = 13.3f; x < 660; x += 7.7f) {
        for (float y = 11.7f; y < 360; y += 6.1f) {
            const float radius = masses.size() % 3 == 0 ? 0.0f : 4.0f;
            masses.push_back(Registered(x, y, radius, 1, 0.5f));
            alone.push_back(TMass::Create(x, y, 1, radius, 0.5f, 1));
        }
    }
    UpdatePhysics();
    int moved = 0;
    for (std::size_t i = 0; i < masses.size(); ++i) {
        for (const auto& zone : zones) {
            zone->Collide(*alone[i]);
        }
        const TMass& m = *masses[i];
        ASSERT_EQ(m.x, alone[i]->x) << "mass " << i;
        ASSERT_EQ(m.y, alone[i]->y) << "mass " << i;
        ASSERT_EQ(m.oldX, alone[i]->oldX) << "mass " << i;
        ASSERT_EQ(m.oldY, alone[i]->oldY) << "mass " << i;
        moved += m.x != m.oldX || m.y != m.oldY;
    }
    EXPECT_GT(moved, 200);
}

// Only masses near each other are tried, yet every pair that the rule lets meet does,
// wherever the masses are: beyond the walls (not yet clamped at their own turn), put
// back by a wall two cells of the broad phase away, far outside the world, or with a
// position or radius that is not finite.
TEST_F(WorldStepTest, PairsMeetWhereverTheMassesAre) {
    auto nearWall = Registered(2040, 500, 10, 1);
    auto beyondWall = Registered(2055, 500, 10, 2);
    auto farOut = Registered(-1.0e9f, 1.0e9f, 10, 3);
    auto putBack = Registered(2100, 200, 10, 4);
    auto waiting = Registered(2020, 200, 10, 5);
    UpdatePhysics();
    // Clamped to 2038 at its turn, then pushed by the unclamped neighbour 17 px away.
    EXPECT_EQ(nearWall->x, 2036.5f);
    EXPECT_EQ(farOut->x, 10.0f);
    // Clamped to 2038, 18 px from the later mass: each moves by half the overlap.
    EXPECT_EQ(putBack->x, 2039.0f);
    EXPECT_EQ(waiting->x, 2019.0f);

    // No finite place: tried against every mass, and spoils what it meets.
    auto lost = Registered(std::nanf(""), 300, 5, 4);
    auto endless = Registered(300, 300, std::numeric_limits<float>::infinity(), 5);
    auto bystander = Registered(1500, 900, 5, 6);
    UpdatePhysics();
    EXPECT_FALSE(std::isfinite(nearWall->x));
    EXPECT_FALSE(std::isfinite(bystander->x));
}

TEST_F(WorldStepTest, NoPassesMeansIntegrationOnly) {
    SetPhysicsIterations(0);
    SetPhysicsGravity(0, 5);
    auto a = Registered(100, 1010, 5, 1);
    auto b = Registered(100, 1000, 5, 2);
    TConstraint::Create(a, b, 50, 1)->Register();
    for (int i = 0; i < 5; ++i) {
        UpdatePhysics();
    }
    EXPECT_GT(a->y, 1024.0f);
    EXPECT_EQ(a->y - b->y, 10.0f);
}

TEST_F(WorldStepTest, ConstraintsRunAfterContactsInListOrder) {
    auto a = Registered(100, 100, 1, 1);
    auto b = Registered(110, 100, 1, 1);
    auto c = Registered(130, 100, 1, 1);
    TConstraint::Create(a, b, 20, 1)->Register();
    TConstraint::Create(b, c, 20, 1)->Register();
    UpdatePhysics();
    // a and b are relaxed first; b and c then start from b's corrected place.
    EXPECT_EQ(a->x, 95.0f);
    EXPECT_EQ(b->x, 112.5f);
    EXPECT_EQ(c->x, 132.5f);
}
