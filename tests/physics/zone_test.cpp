#include "world_fixture.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace kinetra;

namespace {

using ZoneTest = WorldTest;

FloatArray Points(std::vector<float> values) {
    return std::make_shared<std::vector<float>>(std::move(values));
}

ZoneRef Square(TZoneKind kind, float friction = 0.0f) {
    return TZone::Create(Points({0, 0, 100, 0, 100, 100, 0, 100}), kind, friction, 5, 1);
}

float Vx(const TMass& m) {
    return m.x - m.oldX;
}

// The quarter-turn rule of a solid polygon, step by step as it is defined: the
// quadrant of each point round the centre, the change from point to point taken the
// short way, a step to the opposite quadrant passing left of the centre where the
// edge meets the centre's line at an xc short of it. Wound round means a whole turn.
int Quadrant(float vx, float vy, float cx, float cy) {
    if (vx >= cx) {
        return vy >= cy ? 3 : 2;
    }
    return vy >= cy ? 4 : 1;
}

bool WoundRound(const std::vector<float>& p, float mx, float my) {
    const std::size_t n = p.size() / 2;
    int sum = 0;
    float ax = p[2 * n - 2];
    float ay = p[2 * n - 1];
    int quadrant = Quadrant(ax, ay, mx, my);
    for (std::size_t i = 0; i < n; ++i) {
        const float bx = p[2 * i];
        const float by = p[2 * i + 1];
        const int next = Quadrant(bx, by, mx, my);
        int delta = next - quadrant;
        if (delta == 2 || delta == -2) {
            const float xc = bx - (by - my) * (ax - bx) / (ay - by);
            if (!(xc >= mx)) {
                delta = -delta;
            }
        }
        if (delta == 3) {
            delta = -1;
        } else if (delta == -3) {
            delta = 1;
        }
        sum += delta;
        quadrant = next;
        ax = bx;
        ay = by;
    }
    return sum == 4 || sum == -4;
}

} // namespace

TEST_F(ZoneTest, CreateRejectsShortOrOddArraysWithoutUsingAGroup) {
    const std::int32_t next = nextAutoGroup;
    EXPECT_EQ(TZone::Create(Points({1, 2}), TZoneKind::Open, 1, -1, 1), nullptr);
    EXPECT_EQ(TZone::Create(Points({1, 2, 3}), TZoneKind::Open, 1, -1, 1), nullptr);
    EXPECT_EQ(TZone::Create(Points({1, 2, 3, 4, 5}), TZoneKind::Open, 1, -1, 1), nullptr);
    EXPECT_EQ(TZone::Create(nullptr, TZoneKind::Open, 1, -1, 1), nullptr);
    EXPECT_EQ(nextAutoGroup, next);
    EXPECT_TRUE(zoneList->Empty());

    auto zone = TZone::Create(Points({0, 0, 10, 0}), TZoneKind::Open, 1, 3, 1);
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(zone->group, 3);
    EXPECT_NE(zone->tree, nullptr);
    EXPECT_TRUE(zoneList->Contains(zone));
}

TEST_F(ZoneTest, MassesAndZonesShareTheAutomaticGroups) {
    const std::int32_t next = nextAutoGroup;
    auto m = TMass::Create(0, 0, 1, 1, 0, -1);
    auto a = TZone::Create(Points({0, 0, 10, 0}), TZoneKind::Open, 1, -1, 1);
    auto b = TZone::Create(Points({0, 0, 10, 0}), TZoneKind::Open, 1, -1, 1);
    EXPECT_EQ(m->GetGroup(), next);
    EXPECT_EQ(a->group, next - 1);
    EXPECT_EQ(b->group, next - 2);
}

TEST_F(ZoneTest, LinePushesToTheSideTheCentreIsOn) {
    auto line = TZone::Create(Points({-50, 0, 50, 0}), TZoneKind::Open, 1, 5, 1);
    auto above = TMass::Create(0, -6, 1, 10, 1, 1);
    line->Collide(*above);
    EXPECT_EQ(above->y, -10.0f);
    EXPECT_EQ(above->x, 0.0f);
    auto below = TMass::Create(0, 6, 1, 10, 1, 1);
    line->Collide(*below);
    EXPECT_EQ(below->y, 10.0f);

    // Past the end the push is radial from the end point.
    auto beyond = TMass::Create(53, 4, 1, 10, 0, 1);
    line->Collide(*beyond);
    EXPECT_NEAR(beyond->x, 56.0f, 1e-5);
    EXPECT_NEAR(beyond->y, 8.0f, 1e-5);

    auto clear = TMass::Create(0, -10, 1, 10, 1, 1);
    line->Collide(*clear);
    EXPECT_EQ(clear->y, -10.0f);
}

TEST_F(ZoneTest, OutlineKeepsInsideWhileSolidThrowsOut) {
    auto inside = TMass::Create(50, 3, 1, 5, 0, 1);
    Square(TZoneKind::Outline)->Collide(*inside);
    EXPECT_EQ(inside->y, 5.0f);
    EXPECT_EQ(inside->x, 50.0f);

    auto thrown = TMass::Create(50, 3, 1, 5, 0, 1);
    Square(TZoneKind::Solid)->Collide(*thrown);
    EXPECT_EQ(thrown->y, -5.0f);
    EXPECT_EQ(thrown->x, 50.0f);

    // However deep, a mass inside a solid leaves through the nearest edge.
    auto deep = TMass::Create(70, 40, 1, 5, 0, 1);
    Square(TZoneKind::Solid)->Collide(*deep);
    EXPECT_FLOAT_EQ(deep->x, 105.0f);
    EXPECT_EQ(deep->y, 40.0f);

    // The same shape wound the other way round.
    auto reversed =
        TZone::Create(Points({0, 100, 100, 100, 100, 0, 0, 0}), TZoneKind::Solid, 0, 5, 1);
    auto other = TMass::Create(50, 97, 1, 5, 0, 1);
    reversed->Collide(*other);
    EXPECT_EQ(other->y, 105.0f);
}

// A moving mass without radius is pushed or slowed by a solid exactly when the polygon
// winds round its centre (on the outline only the friction moves it). Small grids make
// points meet the centre's lines, repeat, and lie on diagonals; some points are NaN.
TEST_F(ZoneTest, SolidHoldsExactlyWhatItWindsRound) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> grid(0, 8);
    std::uniform_int_distribution<int> pointCount(2, 12);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    int inside = 0;
    int checked = 0;
    for (int shape = 0; shape < 400; ++shape) {
        std::vector<float> p;
        for (int i = pointCount(random); i > 0; --i) {
            p.push_back(static_cast<float>(grid(random)));
            p.push_back(static_cast<float>(grid(random)));
        }
        if (shape % 10 == 0) {
            p[static_cast<std::size_t>(grid(random)) % p.size()] = nan;
        }
        auto zone = TZone::Create(Points(p), TZoneKind::Solid, 1, 5, 1);
        for (float mx = -0.5f; mx <= 8.5f; mx += 0.5f) {
            for (float my = -0.5f; my <= 8.5f; my += 0.5f) {
                auto m = TMass::Create(mx, my, 1, 0, 1, 1);
                m->oldX = mx - 0.25f;
                m->oldY = my - 0.125f;
                zone->Collide(*m);
                const bool pushed = !(m->x == mx && m->y == my);
                // The zone's tree, which ignores NaN points, rules out some first.
                const bool near = zone->tree && zone->tree->Overlaps(0, 0, mx, my, 0);
                const bool expected = near && WoundRound(p, mx, my);
                ASSERT_EQ(pushed, expected) << "shape " << shape << " at " << mx << ", " << my;
                inside += expected;
                ++checked;
            }
        }
        zone->Remove();
    }
    // Both answers occur often enough to mean something.
    EXPECT_GT(inside, checked / 20);
    EXPECT_GT(checked - inside, checked / 20);
}

TEST_F(ZoneTest, RepeatedPointsActAsOnePoint) {
    auto zone = TZone::Create(Points({0, 0, 100, 0, 100, 0, 100, 100, 0, 100, 0, 100}),
                              TZoneKind::Solid, 1, 5, 1);
    auto m = TMass::Create(97, 50, 1, 5, 1, 1);
    zone->Collide(*m);
    EXPECT_EQ(m->x, 105.0f);
    EXPECT_TRUE(std::isfinite(m->oldX) && std::isfinite(m->oldY) && std::isfinite(m->y));
    auto corner = TMass::Create(102, -2, 1, 5, 1, 1);
    zone->Collide(*corner);
    EXPECT_TRUE(std::isfinite(corner->x) && std::isfinite(corner->y));
    EXPECT_GT(corner->x, 102.0f);
}

TEST_F(ZoneTest, FrictionSlowsSlidingByTheLimit) {
    // Penetration 2 and mean friction 0.5 give a limit of 1.
    auto line = TZone::Create(Points({-100, 0, 100, 0}), TZoneKind::Open, 0.5f, 5, 1);
    auto slider = TMass::Create(0, -8, 1, 10, 0.5f, 1);
    slider->SetVelocity(3, 0);
    line->Collide(*slider);
    EXPECT_EQ(slider->x, 0.0f);
    EXPECT_EQ(slider->y, -10.0f);
    EXPECT_NEAR(Vx(*slider), 2.0f, 1e-5);

    auto block =
        TZone::Create(Points({-100, 0, 100, 0, 100, 100, -100, 100}), TZoneKind::Solid, 0.5f, 5, 1);
    auto onBlock = TMass::Create(0, -8, 1, 10, 0.5f, 1);
    onBlock->SetVelocity(3, 0);
    block->Collide(*onBlock);
    EXPECT_NEAR(onBlock->x, -1.0f, 1e-5);
    EXPECT_NEAR(Vx(*onBlock), 2.0f, 1e-5);

    // A budget larger than the sliding speed stops it.
    auto slow = TMass::Create(0, -8, 1, 10, 0.5f, 1);
    slow->SetVelocity(0.5f, 0);
    line->Collide(*slow);
    EXPECT_NEAR(Vx(*slow), 0.0f, 1e-6);

    auto resting = TMass::Create(0, -8, 1, 10, 0.5f, 1);
    line->Collide(*resting);
    EXPECT_EQ(Vx(*resting), 0.0f);
}

TEST_F(ZoneTest, SetPositionMovesTheShapeWithoutARebuild) {
    auto zone = Square(TZoneKind::Solid);
    const auto tree = zone->tree;
    zone->SetPosition(500, 500);
    EXPECT_EQ(zone->tree, tree);

    auto atOld = TMass::Create(50, 3, 1, 5, 0, 1);
    zone->Collide(*atOld);
    EXPECT_EQ(atOld->y, 3.0f);
    auto atNew = TMass::Create(550, 503, 1, 5, 0, 1);
    zone->Collide(*atNew);
    EXPECT_EQ(atNew->y, 495.0f);

    zone->Move(-500, -500);
    EXPECT_EQ(zone->GetX(), 0.0f);
    zone->Collide(*atOld);
    EXPECT_EQ(atOld->y, -5.0f);
}

TEST_F(ZoneTest, RotateTurnsTheSharedPointsAndRebuilds) {
    auto points = Points({10, 0, 20, 0});
    auto zone = TZone::Create(points, TZoneKind::Open, 0, 5, 1);
    const auto before = zone->tree;
    zone->Rotate(90);
    EXPECT_NEAR((*points)[0], 0.0f, 1e-5);
    EXPECT_NEAR((*points)[1], 10.0f, 1e-5);
    EXPECT_NEAR((*points)[3], 20.0f, 1e-5);
    EXPECT_NE(zone->tree, before);
    auto m = TMass::Create(-3, 15, 1, 5, 0, 1);
    zone->Collide(*m);
    EXPECT_NEAR(m->x, -5.0f, 1e-4);
}

TEST_F(ZoneTest, ShrunkSharedArrayOrUnknownKindMeansNoContact) {
    auto points = Points({0, 0, 100, 0, 100, 100, 0, 100});
    auto zone = TZone::Create(points, TZoneKind::Solid, 0, 5, 1);
    points->resize(2);
    zone->SetDepth(1);
    auto m = TMass::Create(50, 3, 1, 5, 0, 1);
    zone->Collide(*m);
    EXPECT_EQ(m->y, 3.0f);

    auto odd = TZone::Create(Points({0, 0, 100, 0, 100, 100}), static_cast<TZoneKind>(5), 0, 5, 1);
    EXPECT_EQ(odd->tree, nullptr);
    odd->Collide(*m);
    EXPECT_EQ(m->y, 3.0f);
}

TEST_F(ZoneTest, RemoveUnlistsOnceAndSurvivesTheWorld) {
    auto zone = Square(TZoneKind::Solid);
    zone->Remove();
    EXPECT_TRUE(zoneList->Empty());
    EXPECT_FALSE(zone->link);
    zone->Remove();

    auto kept = Square(TZoneKind::Solid);
    CreatePhysics(100, 100, 0, 0, 1);
    auto fresh = Square(TZoneKind::Solid);
    kept->Remove();
    EXPECT_FALSE(kept->link);
    DestroyPhysics();
    fresh->Remove();
    CreatePhysics(100, 100, 0, 0, 1);
    Square(TZoneKind::Solid);
    EXPECT_EQ(zoneList->Count(), 1u);
}
