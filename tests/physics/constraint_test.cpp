#include "world_fixture.h"

using namespace kinetra;

namespace {

using ConstraintTest = WorldTest;

MassRef At(float x, float y, float weight = 1.0f) {
    return TMass::Create(x, y, weight, 1, 0, 1);
}

} // namespace

TEST_F(ConstraintTest, CreateTakesTheDistanceForNonPositiveLengths) {
    auto a = At(0, 0);
    auto b = At(18, 24);
    EXPECT_EQ(TConstraint::Create(a, b, 0, 1)->length, 30.0f);
    EXPECT_EQ(TConstraint::Create(a, b, -4, 1)->length, 30.0f);
    EXPECT_EQ(TConstraint::Create(a, b, 25, 1)->length, 25.0f);
    EXPECT_EQ(TConstraint::Create(a, nullptr, 25, 1), nullptr);
    EXPECT_EQ(TConstraint::Create(nullptr, b, 25, 1), nullptr);
}

TEST_F(ConstraintTest, SatisfySplitsTheErrorByWeight) {
    auto a = At(0, 0);
    auto b = At(30, 0);
    auto c = TConstraint::Create(a, b, 20, 0.5f);
    c->Satisfy();
    EXPECT_EQ(a->x, 2.5f);
    EXPECT_EQ(b->x, 27.5f);
    EXPECT_EQ(a->oldX, 0.0f); // the correction becomes velocity

    a->SetPosition(0, 0);
    b->SetPosition(30, 0);
    a->Fix();
    c->Satisfy();
    EXPECT_EQ(a->x, 0.0f);
    EXPECT_EQ(b->x, 25.0f);

    b->Fix();
    b->SetPosition(100, 0);
    c->Satisfy();
    EXPECT_EQ(b->x, 100.0f);

    auto light = At(0, 0, 1);
    auto heavy = At(10, 0, 3);
    TConstraint::Create(light, heavy, 20, 1)->Satisfy();
    EXPECT_EQ(light->x, -7.5f);
    EXPECT_EQ(heavy->x, 12.5f);
}

TEST_F(ConstraintTest, CoincidentEndsGetNoCorrection) {
    auto a = At(5, 5);
    auto b = At(5, 5);
    TConstraint::Create(a, b, 10, 1)->Satisfy();
    EXPECT_EQ(a->x, 5.0f);
    EXPECT_EQ(b->y, 5.0f);
}

TEST_F(ConstraintTest, MeasuresAngleDistanceAndStretch) {
    auto a = At(0, 0);
    auto b = At(0, 10);
    auto c = TConstraint::Create(a, b, 20, 1);
    EXPECT_FLOAT_EQ(c->GetAngle(), 90.0f);
    b->SetPosition(-10, 0);
    EXPECT_FLOAT_EQ(c->GetAngle(), 180.0f);
    a->SetPosition(0, 0.0f);
    b->SetPosition(-10, -0.0f);
    EXPECT_EQ(c->GetAngle(), 180.0f);
    EXPECT_EQ(c->GetDistance(), 10.0f);
    EXPECT_EQ(c->GetStretch(), 0.5f);
}

TEST_F(ConstraintTest, RegistrationCarriesTheMassesAlong) {
    auto a = At(0, 0);
    auto b = At(10, 0);
    auto d = At(20, 0);
    auto ab = TConstraint::Create(a, b, 0, 1);
    auto bd = TConstraint::Create(b, d, 0, 1);
    ab->Register();
    bd->Register();
    bd->Register();
    EXPECT_EQ(massList->Count(), 3u);
    EXPECT_EQ(b->useCount, 2);
    EXPECT_EQ(constraintList->Count(), 2u);

    ab->Unregister();
    EXPECT_FALSE(massList->Contains(a));
    EXPECT_TRUE(massList->Contains(b));
    bd->Unregister();
    EXPECT_TRUE(constraintList->Contains(bd));
    bd->Unregister();
    EXPECT_TRUE(massList->Empty());
    EXPECT_TRUE(constraintList->Empty());

    bd->Unregister();
    EXPECT_EQ(b->useCount, 0);
}

TEST_F(ConstraintTest, BodyMembershipIsAddedAndRemovedOnce) {
    auto c = TConstraint::Create(At(0, 0), At(10, 0), 0, 1);
    TBody body;
    TBody other;
    c->AddToBody(body);
    c->AddToBody(body);
    EXPECT_EQ(body.members.Count(), 1u);
    EXPECT_EQ(c->useCount, 1);

    c->RemoveFromBody(other);
    EXPECT_EQ(c->useCount, 1);
    EXPECT_TRUE(constraintList->Contains(c));

    c->RemoveFromBody(body);
    EXPECT_TRUE(body.members.Empty());
    EXPECT_EQ(c->useCount, 0);
    EXPECT_TRUE(massList->Empty());
}
