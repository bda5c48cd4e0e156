#include "bridge.h"
#include "game_world.h"
#include "lift.h"
#include "moving_platform.h"
#include "scenery.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using morvel::TBridge;
using morvel::TLevelObj;
using morvel::TLift;
using morvel::TPlatform;
using morvel::TScenery;
using morvel_test::GameWorld;

using LevelTest = GameWorld;

// Records the calls it receives, and the level time it saw.
class TProbe : public TLevelObj {
public:
    TProbe(std::vector<std::string>& calls, std::string label)
        : log(calls), name(std::move(label)) {}
    void Init() override { log.push_back("init " + name); }
    void Update() override {
        log.push_back("update " + name);
        times.push_back(morvel::level->time);
    }
    void Draw() override { log.push_back("draw " + name); }
    std::vector<std::string>& log;
    std::string name;
    std::vector<int> times;
};

// Advances the clock while it is being updated, as a slow frame would.
class TClockEater : public TLevelObj {
public:
    explicit TClockEater(present::THeadlessPlatform& clock) : platform(clock) {}
    void Update() override { platform.Sleep(7); }
    present::THeadlessPlatform& platform;
};

kinetra::FloatArray Rectangle(float w, float h) {
    return std::make_shared<std::vector<float>>(std::vector<float>{0, 0, w, 0, w, h, 0, h});
}

TEST_F(LevelTest, ForwardsEveryFrameInCreationOrderWithOneTimeStamp) {
    std::vector<std::string> log;
    auto first = std::make_shared<TProbe>(log, "a");
    auto last = std::make_shared<TProbe>(log, "b");
    morvel::AddToLevel(first);
    morvel::AddToLevel(std::make_shared<TClockEater>(*platform));
    morvel::AddToLevel(last);

    EXPECT_EQ(morvel::level->time, 0);
    morvel::level->Init();
    morvel::level->Update();
    morvel::level->Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"init a", "init b", "update a", "update b", "draw a",
                                             "draw b"}));
    EXPECT_EQ(first->times, std::vector<int>{5000});
    EXPECT_EQ(last->times, std::vector<int>{5000});
    EXPECT_EQ(morvel::level->time, 5000);

    morvel::level->Update();
    EXPECT_EQ(morvel::level->time, 5007);
}

TEST_F(LevelTest, EmptyLevelOnlyStampsTheTime) {
    morvel::level->Update();
    morvel::level->Draw();
    EXPECT_EQ(morvel::level->time, 5000);
    EXPECT_TRUE(morvel::level->objects.empty());
}

TEST_F(LevelTest, LiftTravelsAroundItsCentreAndWaitsForItsFirstUpdate) {
    auto lift = TLift::Create(Rectangle(100, 450), 1900, 775, 0.05f, 100, 0);
    auto cosine = TLift::Create(Rectangle(100, 100), 1500, 700, 0.15f, 25, 1);
    auto backwards = TLift::Create(Rectangle(100, 100), 1300, 700, -0.15f, 25, 0);
    ASSERT_TRUE(lift->zone);
    EXPECT_EQ(lift->zone->group, 20);
    EXPECT_EQ(lift->zone->kind, kinetra::TZoneKind::Solid);
    EXPECT_EQ(lift->zone->x, 0.0f);
    EXPECT_EQ(lift->zone->y, 0.0f);
    EXPECT_EQ(morvel::level->objects.size(), 3u);

    // 1800 ms at 0.05 degrees per ms is a quarter turn: the lowest point.
    platform = std::make_shared<present::THeadlessPlatform>(1800);
    present::SetPlatform(platform);
    morvel::level->Update();
    EXPECT_EQ(lift->zone->x, 1900.0f);
    EXPECT_NEAR(lift->zone->y, 875.0f, 1e-3f);
    const double phase = 1800 * 0.15;
    EXPECT_NEAR(cosine->zone->y, 700 + 25 * std::cos(phase * M_PI / 180), 1e-3);
    EXPECT_NEAR(backwards->zone->y, 700 - 25 * std::sin(phase * M_PI / 180), 1e-3);

    platform->Sleep(3600);
    morvel::level->Update();
    EXPECT_NEAR(lift->zone->y, 675.0f, 1e-3f);
}

TEST_F(LevelTest, LiftCarriesARestingMassUp) {
    auto lift = TLift::Create(Rectangle(100, 100), 100, 500, 0.05f, 50, 0);
    auto mass = kinetra::TMass::Create(150, 490, 1, 10, 1, 3);
    auto keep = kinetra::TMass::Create(150, 300, 1, 0, 1, 0);
    auto c = kinetra::TConstraint::Create(mass, keep, 1000, 0);
    kinetra::TBody holder;
    c->AddToBody(holder);
    // Sine at 180 degrees: the middle of the travel, on the way up.
    platform = std::make_shared<present::THeadlessPlatform>(3600);
    present::SetPlatform(platform);
    for (int frame = 0; frame < 60; ++frame) {
        morvel::level->Update();
        kinetra::UpdatePhysics();
        platform->Sleep(16);
    }
    EXPECT_LT(lift->zone->y, 480.0f);
    EXPECT_NEAR(mass->y, lift->zone->y - 10, 2.0f);
    holder.Remove();
}

TEST_F(LevelTest, PlatformRowIsFixedAndFollowsTheClockWithLastX) {
    auto platform1 = TPlatform::Create(1250, 145, 5, 0.05f, 100, 0);
    const auto& body = *platform1->body;
    ASSERT_EQ(body.masses.size(), 5u);
    ASSERT_EQ(body.constraints.size(), 4u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(body.masses[i]->x, 1250.0f + 20.0f * i);
        EXPECT_EQ(body.masses[i]->fixed, 1);
        EXPECT_EQ(body.masses[i]->GetGroup(), 30);
        EXPECT_EQ(body.masses[i]->radius, 20.0f);
        EXPECT_EQ(body.masses[i]->mass, 4.0f);
    }
    for (const auto& c : body.constraints) {
        EXPECT_EQ(c->length, 20.0f);
        EXPECT_EQ(c->stiffness, 0.5f);
        EXPECT_TRUE(kinetra::constraintList->Contains(c));
    }
    EXPECT_EQ(platform1->lastX, 0.0f);

    // At 600 ms the phase is 30 degrees: x = 1250 + 50.
    platform = std::make_shared<present::THeadlessPlatform>(600);
    present::SetPlatform(platform);
    morvel::level->Update();
    EXPECT_NEAR(body.masses[0]->x, 1300.0f, 1e-3f);
    EXPECT_NEAR(body.masses[4]->x, 1380.0f, 1e-3f);
    EXPECT_EQ(body.masses[2]->y, 145.0f);
    // On the first update lastX was 0: the velocity written is minus the row's x.
    EXPECT_NEAR(body.masses[0]->x - body.masses[0]->oldX, -1300.0f, 1e-3f);
    EXPECT_EQ(platform1->lastX, body.masses[0]->x);

    const float before = body.masses[0]->x;
    platform->Sleep(100);
    morvel::level->Update();
    const float moved = body.masses[0]->x - before;
    EXPECT_NEAR(body.masses[3]->x - body.masses[3]->oldX, -moved, 1e-3f);
    EXPECT_EQ(body.masses[3]->y - body.masses[3]->oldY, 0.0f);
}

TEST_F(LevelTest, PlatformsStayWithinTheirTravel) {
    auto platform1 = TPlatform::Create(1250, 145, 5, 0.05f, 100, 0);
    auto platform2 = TPlatform::Create(880, 145, 5, -0.05f, 100, 0);
    auto first1 = platform1->body->masses[0];
    auto first2 = platform2->body->masses[0];
    for (int t = 0; t < 7200; t += 37) {
        platform = std::make_shared<present::THeadlessPlatform>(1000000 + t);
        present::SetPlatform(platform);
        morvel::level->Update();
        kinetra::UpdatePhysics();
        ASSERT_GE(first1->x, 1150.0f);
        ASSERT_LE(first1->x, 1350.0f);
        ASSERT_GE(first2->x, 780.0f);
        ASSERT_LE(first2->x, 980.0f);
        // The two swing in opposite directions about their centres.
        ASSERT_NEAR(first1->x - 1250.0f, 880.0f - first2->x, 1e-3f);
    }
}

TEST_F(LevelTest, BridgeHasFixedEndsAndRestsAtItsLinkLength) {
    auto bridge = TBridge::Create(1030, 705, 7);
    const auto& body = *bridge->body;
    ASSERT_EQ(body.masses.size(), 7u);
    ASSERT_EQ(body.constraints.size(), 6u);
    std::set<int> groups;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(body.masses[i]->x, 1030.0f + 40.0f * i);
        EXPECT_EQ(body.masses[i]->fixed, (i == 0 || i == 6) ? 1 : 0) << i;
        EXPECT_LT(body.masses[i]->GetGroup(), -1);
        groups.insert(body.masses[i]->GetGroup());
    }
    EXPECT_EQ(groups.size(), 7u);
    for (const auto& c : body.constraints) {
        EXPECT_EQ(c->length, 40.0f);
        EXPECT_EQ(c->stiffness, 0.5f);
    }
    // The ends do not move; the free beads sag only as far as the links stretch.
    for (int frame = 0; frame < 600; ++frame) {
        kinetra::UpdatePhysics();
    }
    EXPECT_EQ(body.masses[0]->x, 1030.0f);
    EXPECT_EQ(body.masses[6]->x, 1270.0f);
    EXPECT_EQ(body.masses[6]->y, 705.0f);
    for (int i = 1; i < 6; ++i) {
        EXPECT_GT(body.masses[i]->y, 705.0f);
        EXPECT_LT(body.masses[i]->y, 760.0f);
    }
}

TEST_F(LevelTest, ShortBridgeCannotMove) {
    auto bridge = TBridge::Create(100, 100, 2);
    for (int frame = 0; frame < 10; ++frame) {
        kinetra::UpdatePhysics();
    }
    EXPECT_EQ(bridge->body->masses[0]->y, 100.0f);
    EXPECT_EQ(bridge->body->masses[1]->y, 100.0f);
}

TEST_F(LevelTest, SceneryIsAStillSolidPolygonOfGroupTen) {
    auto scenery = TScenery::Create(Rectangle(100, 50));
    ASSERT_TRUE(scenery->zone);
    EXPECT_EQ(scenery->zone->group, 10);
    EXPECT_EQ(scenery->zone->kind, kinetra::TZoneKind::Solid);
    EXPECT_EQ(scenery->zone->friction, 1.0f);
    morvel::level->Update();
    EXPECT_EQ(scenery->zone->x, 0.0f);

    // Invalid points give no zone, and neither update nor draw trips over it.
    auto broken =
        TScenery::Create(std::make_shared<std::vector<float>>(std::vector<float>{1, 2, 3}));
    EXPECT_FALSE(broken->zone);
    auto brokenLift = TLift::Create(std::make_shared<std::vector<float>>(), 0, 0, 1, 1, 0);
    EXPECT_FALSE(brokenLift->zone);
    morvel::level->Update();
    morvel::level->Draw();
}

} // namespace
