#include "world_fixture.h"

#include "query/geometry.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

using namespace kinetra;

namespace {

using QueryTest = WorldTest;

MassRef Registered(float x, float y, float radius, int group = 1) {
    auto m = TMass::Create(x, y, 1, radius, 0, group);
    m->Register();
    return m;
}

ZoneRef Zone(std::vector<float> points, TZoneKind kind, int group = 10, int depth = 3) {
    return TZone::Create(std::make_shared<std::vector<float>>(std::move(points)), kind, 1.0f, group,
                         depth);
}

// The first mass every mass is tested against: what the grid must find.
MassRef ScanRay(const TRay& ray, int group, double& best) {
    MassRef found;
    best = std::numeric_limits<double>::infinity();
    for (const MassRef& m : *massList) {
        if (group != 0 && m->group == group) {
            continue;
        }
        const auto meet = RayMeetsCircle(ray, *m);
        if (meet && meet->t < best) {
            best = meet->t;
            found = m;
        }
    }
    return found;
}

std::vector<MassRef> ScanBox(const TBox& box, int group) {
    std::vector<MassRef> found;
    for (const MassRef& m : *massList) {
        if (!(group != 0 && m->group == group) && CircleTouchesBox(*m, box)) {
            found.push_back(m);
        }
    }
    return found;
}

// A crowd of masses of many sizes, one of them huge and one nowhere.
std::vector<MassRef> Crowd(std::mt19937& random) {
    std::uniform_real_distribution<float> x(0, 2048), y(0, 1024), r(0, 12);
    std::vector<MassRef> crowd;
    for (int i = 0; i < 3000; ++i) {
        crowd.push_back(Registered(x(random), y(random), r(random), 1 + i % 4));
    }
    crowd.push_back(Registered(1000, 500, 300, 9));
    crowd.push_back(Registered(std::numeric_limits<float>::quiet_NaN(), 10, 5, 9));
    return crowd;
}

void ExpectGridAgreesWithScan(std::mt19937& random, const char* when) {
    std::uniform_real_distribution<float> x(-100, 2148), y(-100, 1124), step(-300, 300);
    std::vector<MassRef> masses;
    std::vector<ZoneRef> zones;
    for (int i = 0; i < 400; ++i) {
        const float x0 = x(random), y0 = y(random);
        const float x1 = x0 + step(random), y1 = y0 + (i % 7 == 0 ? 0.0f : step(random));
        const int group = i % 5;
        TRayHit hit;
        double best = 0.0;
        const MassRef expected =
            ScanRay(TRay{x0, y0, double{x1} - x0, double{y1} - y0}, group, best);
        ASSERT_EQ(RayCast(x0, y0, x1, y1, hit, group), expected != nullptr) << when << " ray " << i;
        ASSERT_EQ(hit.mass, expected) << when << " ray " << i;
        if (expected) {
            EXPECT_EQ(hit.fraction, static_cast<float>(best));
        }
        const float w = std::fabs(step(random)) * 0.2f;
        const TBox box{x0, y0, x0 + w, y0 + w * 0.5f};
        QueryBox(x0, y0, x0 + w, y0 + w * 0.5f, masses, zones, group);
        ASSERT_EQ(masses, ScanBox(box, group)) << when << " box " << i;
        QueryPoint(x0, y0, masses, zones, group);
        ASSERT_EQ(masses, ScanBox(TBox{x0, y0, x0, y0}, group)) << when << " point " << i;
    }
}

} // namespace

// The grid must find exactly what testing every mass finds, in list order, after the
// masses moved in a tick, and after moving them by hand and asking for a refresh.
TEST_F(QueryTest, MassesFoundAsByTestingEveryMass) {
    std::mt19937 random(16);
    auto crowd = Crowd(random);
    ExpectGridAgreesWithScan(random, "filed");
    SetPhysicsGravity(3, 5);
    UpdatePhysics();
    ExpectGridAgreesWithScan(random, "after a tick");
    for (std::size_t i = 0; i < crowd.size(); i += 2) {
        crowd[i]->SetPosition(crowd[i]->y * 2, crowd[i]->x * 0.5f);
    }
    RefreshQueries();
    ExpectGridAgreesWithScan(random, "moved by hand");
    auto late = Registered(5000, 5000, 4);
    ExpectGridAgreesWithScan(random, "after a registration");
}

TEST_F(QueryTest, RaysMeetCirclesAndEveryKindOfZone) {
    auto ball = Registered(100, 0, 10, 1);
    auto line = Zone({0, 100, 200, 100}, TZoneKind::Open);
    TRayHit hit;
    ASSERT_TRUE(RayCast(0, 0, 200, 0, hit));
    EXPECT_EQ(hit.mass, ball);
    EXPECT_EQ(hit.zone, nullptr);
    EXPECT_FLOAT_EQ(hit.fraction, 0.45f);
    EXPECT_FLOAT_EQ(hit.x, 90.0f);
    EXPECT_FLOAT_EQ(hit.normalX, -1.0f);
    // A line from either side, its normal facing the start; the ball's own group passes
    // through the ball.
    ASSERT_TRUE(RayCast(100, -50, 100, 150, hit, 1));
    EXPECT_EQ(hit.zone, line);
    EXPECT_FLOAT_EQ(hit.y, 100.0f);
    EXPECT_FLOAT_EQ(hit.normalY, -1.0f);
    ASSERT_TRUE(RayCast(50, 150, 50, 0, hit));
    EXPECT_EQ(hit.zone, line);
    EXPECT_FLOAT_EQ(hit.fraction, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(hit.normalY, 1.0f);
    // The open line has no closing segment; the same points closed have one.
    auto open = Zone({300, 0, 400, 0, 400, 100}, TZoneKind::Open);
    EXPECT_FALSE(RayCast(350, 20, 350, 120, hit));
    open->Remove();
    auto closed = Zone({300, 0, 400, 0, 400, 100}, TZoneKind::Outline);
    ASSERT_TRUE(RayCast(350, 20, 350, 120, hit));
    EXPECT_FLOAT_EQ(hit.y, 50.0f);
    EXPECT_NEAR(hit.normalX, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(hit.normalY, -std::sqrt(0.5f), 1e-6f);
}

// A ray starting inside a circle or a solid meets it at once, pointing straight back; an
// outline is hollow; a ray of length 0 is a point.
TEST_F(QueryTest, RaysStartingInsideMeetAtOnce) {
    auto solid = Zone({500, 500, 600, 500, 600, 600, 500, 600}, TZoneKind::Solid);
    auto outline = Zone({700, 500, 800, 500, 800, 600, 700, 600}, TZoneKind::Outline);
    auto ball = Registered(100, 100, 20);
    TRayHit hit;
    for (float at : {110.0f, 550.0f}) {
        ASSERT_TRUE(RayCast(at, at, at + 300, at + 400, hit));
        EXPECT_EQ(hit.mass, at < 200 ? ball : nullptr);
        EXPECT_EQ(hit.zone, at < 200 ? nullptr : solid);
        EXPECT_EQ(hit.fraction, 0.0f);
        EXPECT_EQ(hit.x, at);
        EXPECT_FLOAT_EQ(hit.normalX, -0.6f);
        EXPECT_FLOAT_EQ(hit.normalY, -0.8f);
    }
    ASSERT_TRUE(RayCast(750, 550, 850, 550, hit));
    EXPECT_EQ(hit.zone, outline);
    EXPECT_FLOAT_EQ(hit.fraction, 0.5f);
    EXPECT_FLOAT_EQ(hit.normalX, -1.0f);
    ASSERT_TRUE(RayCast(520, 520, 520, 520, hit));
    EXPECT_EQ(hit.zone, solid);
    EXPECT_EQ(hit.fraction, 0.0f);
    EXPECT_EQ(hit.y, 520.0f);
    EXPECT_EQ(hit.normalX, 0.0f);
    EXPECT_FALSE(RayCast(750, 550, 750, 550, hit));
}

TEST_F(QueryTest, PointsAndBoxesFindZonesByTheirShape) {
    // A U-shaped solid: its notch is outside, and a box in its wall touches no segment.
    auto u = Zone({0, 0, 30, 0, 30, 80, 70, 80, 70, 0, 100, 0, 100, 100, 0, 100}, TZoneKind::Solid);
    auto outline = Zone({200, 0, 300, 0, 300, 100, 200, 100}, TZoneKind::Outline);
    auto line = Zone({400, 0, 500, 100}, TZoneKind::Open);
    auto passedOver = Zone({0, 0, 1000, 0, 1000, 1000, 0, 1000}, TZoneKind::Solid, 7);
    std::vector<MassRef> masses;
    std::vector<ZoneRef> zones;
    QueryPoint(10, 50, masses, zones, 7);
    EXPECT_EQ(zones, std::vector<ZoneRef>{u});
    QueryPoint(50, 50, masses, zones, 7);
    EXPECT_TRUE(zones.empty());
    QueryPoint(250, 50, masses, zones, 7);
    EXPECT_TRUE(zones.empty());
    QueryPoint(250, 50, masses, zones);
    EXPECT_EQ(zones, std::vector<ZoneRef>{passedOver});

    QueryBox(5, 85, 95, 95, masses, zones, 7);
    EXPECT_EQ(zones, std::vector<ZoneRef>{u});
    QueryBox(210, 10, 290, 90, masses, zones, 7);
    EXPECT_TRUE(zones.empty());
    QueryBox(0, 95, 450, 98, masses, zones, 7);
    EXPECT_EQ(zones, (std::vector<ZoneRef>{u, outline}));
    QueryBox(450, 40, 460, 60, masses, zones, 7);
    EXPECT_EQ(zones, std::vector<ZoneRef>{line});
}

TEST_F(QueryTest, BadInputAnswersNothing) {
    auto ball = Registered(100, 100, 10);
    auto solid = Zone({0, 0, 200, 0, 200, 200, 0, 200}, TZoneKind::Solid);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    TRayHit hit;
    ASSERT_TRUE(RayCast(100, 50, 100, 150, hit));
    EXPECT_FALSE(RayCast(nan, 50, 100, 150, hit));
    EXPECT_EQ(hit.mass, nullptr);
    EXPECT_EQ(hit.fraction, 0.0f);
    EXPECT_FALSE(RayCast(100, 50, 100, inf, hit));
    std::vector<MassRef> masses{ball};
    std::vector<ZoneRef> zones{solid};
    QueryPoint(100, nan, masses, zones);
    EXPECT_TRUE(masses.empty() && zones.empty());
    QueryBox(-inf, 0, 200, 200, masses, zones);
    EXPECT_TRUE(masses.empty() && zones.empty());
    QueryBox(150, 50, 50, 150, masses, zones);
    EXPECT_TRUE(masses.empty() && zones.empty());
    DestroyPhysics();
    EXPECT_FALSE(RayCast(100, 50, 100, 150, hit));
    QueryPoint(100, 100, masses, zones);
    EXPECT_TRUE(masses.empty() && zones.empty());
}
