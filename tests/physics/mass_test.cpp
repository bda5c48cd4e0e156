#include "world_fixture.h"

#include "degrees.h"
#include "tick/speed_along.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using namespace kinetra;

namespace {

using MassTest = WorldTest;

float Vx(const TMass& m) {
    return m.x - m.oldX;
}
float Vy(const TMass& m) {
    return m.y - m.oldY;
}

} // namespace

TEST_F(MassTest, CreateMakesARestingUnregisteredMass) {
    const std::int32_t next = nextAutoGroup;
    auto m = TMass::Create(10, 20, 1, 5, 0.5f, -1);
    EXPECT_EQ(m->name, "Mass");
    EXPECT_EQ(m->GetGroup(), next);
    EXPECT_EQ(nextAutoGroup, next - 1);
    EXPECT_EQ(m->oldX, 10.0f);
    EXPECT_EQ(m->oldY, 20.0f);
    EXPECT_EQ(m->fixed, 0);
    EXPECT_EQ(m->useCount, 0);
    EXPECT_TRUE(massList->Empty());

    // The automatic groups are never handed out twice, whatever happens to the world.
    DestroyPhysics();
    CreatePhysics(100, 100, 0, 0, 1);
    EXPECT_EQ(TMass::Create(0, 0, 1, 1, 0, -1)->GetGroup(), next - 1);
    auto explicitGroup = TMass::Create(0, 0, 1, 1, 0, 7);
    EXPECT_EQ(explicitGroup->group, 7.0f);
    explicitGroup->SetGroup(-1);
    EXPECT_EQ(explicitGroup->GetGroup(), next - 2);
}

TEST_F(MassTest, MovingOperationsRespectFixedExceptSetters) {
    auto m = TMass::Create(0, 0, 1, 5, 0, 1);
    m->Push(1, 0);
    EXPECT_EQ(m->x, 1.0f);
    EXPECT_EQ(Vx(*m), 1.0f);
    m->SetPosition(0, 0);
    m->Move(1, 0);
    EXPECT_EQ(m->x, 1.0f);
    EXPECT_EQ(Vx(*m), 0.0f);
    m->AddVelocity(0, 2);
    EXPECT_EQ(Vy(*m), 2.0f);

    m->Fix();
    EXPECT_EQ(Vy(*m), 0.0f);
    m->Push(5, 5);
    m->Move(5, 5);
    m->AddVelocity(5, 5);
    EXPECT_EQ(m->x, 1.0f);
    EXPECT_EQ(m->y, 0.0f);
    EXPECT_EQ(Vx(*m), 0.0f);
    m->SetPosition(3, 4);
    m->SetVelocity(1, 2);
    EXPECT_EQ(m->x, 3.0f);
    EXPECT_EQ(Vx(*m), 1.0f);
    EXPECT_EQ(Vy(*m), 2.0f);
    m->Unfix();
    m->Push(1, 0);
    EXPECT_EQ(m->x, 4.0f);
}

TEST_F(MassTest, GetGroupTruncatesAndSurvivesNonNumbers) {
    auto m = TMass::Create(0, 0, 1, 1, 0, 3);
    m->group = -2.7f;
    EXPECT_EQ(m->GetGroup(), -2);
    m->group = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(m->GetGroup(), 0);
    m->group = 1e20f;
    EXPECT_EQ(m->GetGroup(), 0);
}

TEST_F(MassTest, RegistrationIsCounted) {
    auto m = TMass::Create(0, 0, 1, 1, 0, 1);
    m->Register();
    m->Register();
    EXPECT_EQ(massList->Count(), 1u);
    m->Unregister();
    EXPECT_TRUE(massList->Contains(m));
    m->Unregister();
    EXPECT_FALSE(massList->Contains(m));

    // An extra Unregister must not stop the next Register from listing the mass.
    m->Unregister();
    EXPECT_EQ(m->useCount, 0);
    m->Register();
    EXPECT_TRUE(massList->Contains(m));
}

TEST_F(MassTest, RegistrationWithoutAWorldListsNothing) {
    DestroyPhysics();
    auto m = TMass::Create(0, 0, 1, 1, 0, 1);
    m->Register();
    EXPECT_EQ(m->useCount, 1);
    m->Unregister();
    EXPECT_EQ(m->useCount, 0);
    CreatePhysics(100, 100, 0, 0, 1);
    m->Register();
    EXPECT_TRUE(massList->Contains(m));

    // A mass made outside a shared reference cannot be listed, and must not crash.
    TMass loose;
    loose.Register();
    EXPECT_EQ(massList->Count(), 1u);
}

TEST_F(MassTest, ContactSplitsTheOverlapByWeight) {
    auto light = TMass::Create(0, 0, 1, 5, 0, 1);
    auto heavy = TMass::Create(8, 0, 3, 5, 0, 2);
    light->Collide(*heavy);
    EXPECT_EQ(light->x, -1.5f);
    EXPECT_EQ(heavy->x, 8.5f);
    EXPECT_EQ(light->y, 0.0f);
    EXPECT_EQ(light->oldX, 0.0f);

    light->SetPosition(0, 0);
    heavy->SetPosition(8, 0);
    heavy->Fix();
    light->Collide(*heavy);
    EXPECT_EQ(light->x, -2.0f);
    EXPECT_EQ(heavy->x, 8.0f);

    // The fixed side may be either one.
    light->SetPosition(0, 0);
    heavy->Collide(*light);
    EXPECT_EQ(light->x, -2.0f);

    light->Fix();
    light->SetPosition(5, 0);
    heavy->Collide(*light);
    EXPECT_EQ(light->x, 5.0f);
    EXPECT_EQ(heavy->x, 8.0f);
}

TEST_F(MassTest, TouchingOrDiagonallyApartIsNoContact) {
    auto a = TMass::Create(0, 0, 1, 5, 1, 1);
    auto b = TMass::Create(10, 0, 1, 5, 1, 2);
    b->SetVelocity(0, 3);
    a->Collide(*b);
    EXPECT_EQ(a->x, 0.0f);
    EXPECT_EQ(b->x, 10.0f);
    EXPECT_EQ(Vy(*b), 3.0f);

    b->SetPosition(7.08f, 7.08f); // inside the box test, 10.0126 apart
    a->Collide(*b);
    EXPECT_EQ(a->x, 0.0f);
    EXPECT_EQ(b->x, 7.08f);
}

TEST_F(MassTest, CoincidentMassesAreNotPushedAndStayFinite) {
    auto a = TMass::Create(5, 5, 1, 5, 1, 1);
    auto b = TMass::Create(5, 5, 1, 5, 1, 2);
    a->SetVelocity(1, 0);
    a->Collide(*b);
    EXPECT_EQ(a->x, 5.0f);
    EXPECT_EQ(b->x, 5.0f);
    EXPECT_TRUE(std::isfinite(a->oldX) && std::isfinite(b->oldX));
}

TEST_F(MassTest, FrictionAgainstAFixedMassTakesTheBudgetOrStops) {
    // Overlap 1 across the y axis, so the budget is the mean friction.
    auto slider = TMass::Create(0, 0, 1, 5, 1, 1);
    auto wall = TMass::Create(0, 9, 1, 5, 1, 2);
    wall->Fix();
    slider->SetVelocity(3, 0);
    slider->Collide(*wall);
    EXPECT_EQ(slider->y, -1.0f);
    EXPECT_NEAR(Vx(*slider), 2.0f, 1e-5);
    EXPECT_EQ(slider->x, 0.0f);
    EXPECT_NEAR(slider->oldY, 0.0f, 1e-6);

    slider->SetPosition(0, 0);
    slider->SetVelocity(0.5f, 0);
    slider->Collide(*wall);
    EXPECT_NEAR(Vx(*slider), 0.0f, 1e-6);
}

TEST_F(MassTest, FrictionBetweenFreeMassesMovesTowardTheMean) {
    auto a = TMass::Create(0, 0, 1, 5, 0.5f, 1);
    auto b = TMass::Create(0, 9, 1, 5, 0.5f, 2);
    a->SetVelocity(4, 0);
    a->Collide(*b);
    EXPECT_EQ(a->y, -0.5f);
    EXPECT_EQ(b->y, 9.5f);
    EXPECT_NEAR(Vx(*a), 3.5f, 1e-5);
    EXPECT_NEAR(Vx(*b), 0.5f, 1e-5);

    a->SetPosition(0, 0);
    b->SetPosition(0, 9);
    a->SetFriction(10);
    b->SetFriction(10);
    a->SetVelocity(4, 0);
    a->Collide(*b);
    EXPECT_NEAR(Vx(*a), 2.0f, 1e-5);
    EXPECT_NEAR(Vx(*b), 2.0f, 1e-5);
}

// The contacts' speed along a normal, worked out from the dot product where that settles
// the float, is bit for bit the trigonometry in degrees that defines it: across scales,
// directions almost along and almost across the normal, axis-aligned and subnormal values.
TEST(SpeedAlongTest, IsTheTrigonometryBitForBit) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-30, 12);
    std::uniform_int_distribution<int> shape(0, 6);
    const auto scaled = [&](float v) { return std::ldexp(v, exponent(random)); };
    for (int i = 0; i < 400000; ++i) {
        float dx = unit(random);
        float dy = unit(random);
        float vx = scaled(unit(random));
        float vy = scaled(unit(random));
        switch (shape(random)) {
        case 0: // nearly across the normal
            vx = scaled(-dy) + scaled(unit(random)) * 1.0e-6f;
            vy = dx * (vx / -dy);
            break;
        case 1: // nearly along it
            vx = dx * 3.0f + unit(random) * 1.0e-7f;
            vy = dy * 3.0f;
            break;
        case 2: // on the axes
            dx = 0.0f;
            vy = 0.0f;
            break;
        case 3: // so slow that the part along may round to a zero of either sign
            vx = std::ldexp(unit(random), -148);
            vy = std::ldexp(unit(random), -140);
            break;
        default:
            break;
        }
        const float d = std::sqrt(dx * dx + dy * dy);
        if (!(d > 0.0f)) {
            continue;
        }
        TDirection n(dx / d, dy / d);
        const float speed = std::sqrt(vx * vx + vy * vy);
        const float fast = SpeedAlong(vx, vy, speed, n);
        const float defined =
            static_cast<float>(speed * CosDegrees(Atan2Degrees(vy, vx) - Atan2Degrees(n.y, n.x)));
        ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(defined))
            << "v " << vx << ", " << vy << " n " << n.x << ", " << n.y;
    }
}
