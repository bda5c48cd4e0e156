// Bodies: membership and registration, whole-body moves, drops.
#include <kinetra/adv_body.h>
#include <kinetra/kinetra.h>

#include <gtest/gtest.h>

namespace {

using namespace kinetra;

class BodyTest : public testing::Test {
protected:
    void SetUp() override { CreatePhysics(2048, 1024, 0.1f, 0, 2); }
    void TearDown() override { DestroyPhysics(); }
};

TEST_F(BodyTest, RemoveWithSharedMassUnregistersEverythingOnce) {
    TBody body;
    auto a = TMass::Create(0, 0, 1, 4, 0.5f, 2);
    auto shared = TMass::Create(10, 0, 1, 4, 0.5f, 2);
    auto c = TMass::Create(20, 0, 1, 4, 0.5f, 2);
    auto first = TConstraint::Create(a, shared, 0, 1);
    auto second = TConstraint::Create(shared, c, 0, 1);
    first->AddToBody(body);
    second->AddToBody(body);
    ASSERT_EQ(massList->Count(), 3u);
    EXPECT_EQ(shared->useCount, 2);

    body.Remove();
    EXPECT_EQ(massList->Count(), 0u);
    EXPECT_EQ(constraintList->Count(), 0u);
    EXPECT_EQ(shared->useCount, 0);
    EXPECT_TRUE(body.members.Empty());

    // A second Remove must not drive the counts below zero.
    body.Remove();
    EXPECT_EQ(shared->useCount, 0);
    EXPECT_EQ(first->useCount, 0);

    // The objects stay usable: adding them again makes the body live again.
    first->AddToBody(body);
    EXPECT_EQ(massList->Count(), 2u);
    EXPECT_EQ(constraintList->Count(), 1u);
}

TEST_F(BodyTest, ConstraintIsAMemberOnceAndLeavesOnlyItsOwnBody) {
    TBody body;
    TBody other;
    auto c =
        TConstraint::Create(TMass::Create(0, 0, 1, 4, 0, 2), TMass::Create(5, 0, 1, 4, 0, 2), 0, 1);
    c->AddToBody(body);
    c->AddToBody(body);
    EXPECT_EQ(body.members.Count(), 1u);
    EXPECT_EQ(c->useCount, 1);
    EXPECT_EQ(constraintList->Count(), 1u);

    c->RemoveFromBody(other);
    EXPECT_EQ(c->useCount, 1);
    EXPECT_EQ(constraintList->Count(), 1u);

    c->RemoveFromBody(body);
    EXPECT_TRUE(body.members.Empty());
    EXPECT_EQ(constraintList->Count(), 0u);
    EXPECT_EQ(massList->Count(), 0u);
}

TEST_F(BodyTest, SharedConstraintStaysWhileAnotherBodyHoldsIt) {
    TBody one;
    TBody two;
    auto c =
        TConstraint::Create(TMass::Create(0, 0, 1, 4, 0, 2), TMass::Create(5, 0, 1, 4, 0, 2), 0, 1);
    c->AddToBody(one);
    c->AddToBody(two);
    one.Remove();
    EXPECT_EQ(constraintList->Count(), 1u);
    EXPECT_EQ(massList->Count(), 2u);
    two.Remove();
    EXPECT_EQ(constraintList->Count(), 0u);
}

AdvBodyRef PairBody(float x0, float y0, float x1, float y1) {
    auto body = std::make_shared<TAdvBody>();
    body->masses = {TMass::Create(x0, y0, 1, 4, 0.5f, 2), TMass::Create(x1, y1, 1, 4, 0.5f, 2)};
    body->constraints = {TConstraint::Create(body->masses[0], body->masses[1], 0, 1)};
    body->constraints[0]->AddToBody(*body);
    return body;
}

TEST_F(BodyTest, SetPositionMovesRigidlyFromTheFirstMassAndStopsTheBody) {
    auto body = PairBody(100, 50, 120, 50);
    body->masses[0]->SetVelocity(3, -1);
    body->masses[1]->SetVelocity(-2, 4);
    body->masses[1]->Fix();

    body->SetPosition(0, 0);
    const auto& a = *body->masses[0];
    const auto& b = *body->masses[1];
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.y, 0.0f);
    // The offset is taken from mass 0's position before it moved.
    EXPECT_EQ(b.x, 20.0f);
    EXPECT_EQ(b.y, 0.0f);
    EXPECT_EQ(a.oldX, a.x);
    EXPECT_EQ(a.oldY, a.y);
    EXPECT_EQ(b.oldX, b.x);
    EXPECT_EQ(b.oldY, b.y);
}

TEST_F(BodyTest, PushAddsVelocityMoveKeepsItAndBothSpareFixedMasses) {
    auto pushed = PairBody(10, 10, 30, 10);
    pushed->masses[0]->SetVelocity(1, 0);
    pushed->masses[1]->Fix();
    pushed->Push(2, 0);
    EXPECT_EQ(pushed->masses[0]->x, 12.0f);
    EXPECT_EQ(pushed->masses[0]->x - pushed->masses[0]->oldX, 3.0f);
    EXPECT_EQ(pushed->masses[1]->x, 30.0f);

    auto moved = PairBody(10, 10, 30, 10);
    moved->masses[0]->SetVelocity(1, 0);
    moved->masses[1]->Fix();
    moved->Move(2, 0);
    EXPECT_EQ(moved->masses[0]->x, 12.0f);
    EXPECT_EQ(moved->masses[0]->x - moved->masses[0]->oldX, 1.0f);
    EXPECT_EQ(moved->masses[1]->x, 30.0f);
    EXPECT_EQ(moved->masses[1]->oldX, 30.0f);
}

TEST_F(BodyTest, WholeBodyOperationsSkipEmptyEntries) {
    TAdvBody body;
    body.masses = {nullptr, TMass::Create(5, 5, 1, 4, 0, 2), nullptr};
    body.rigs = {nullptr};
    body.SetPosition(0, 0); // no reference point: nothing moves
    EXPECT_EQ(body.masses[1]->x, 5.0f);
    body.Push(1, 0);
    body.Move(1, 0);
    body.Draw();
    EXPECT_EQ(body.masses[1]->x, 7.0f);

    TAdvBody empty;
    empty.SetPosition(1, 1);
    empty.Push(1, 1);
    empty.Move(1, 1);
}

TEST_F(BodyTest, DroppingTheLastReferenceLeavesNothingInTheWorld) {
    auto keep = PairBody(0, 0, 10, 0);
    {
        auto dropped = PairBody(50, 0, 60, 0);
        // One constraint shared with a body that stays.
        keep->constraints[0]->AddToBody(*dropped);
        ASSERT_EQ(massList->Count(), 4u);
    }
    EXPECT_EQ(massList->Count(), 2u);
    EXPECT_EQ(constraintList->Count(), 1u);
    EXPECT_TRUE(constraintList->Contains(keep->constraints[0]));
    keep.reset();
    EXPECT_EQ(massList->Count(), 0u);
    EXPECT_EQ(constraintList->Count(), 0u);
}

// Dropping a body after its world touches nothing of the world that is gone:
// AddressSanitizer, in the unit tests' second run, is what would tell.
TEST_F(BodyTest, BodyOutlivingTheWorldIsReleasedUnderSanitizers) {
    auto body = PairBody(0, 0, 10, 0);
    DestroyPhysics();
    body.reset();
    CreatePhysics(100, 100, 0, 0, 1);
}

} // namespace
