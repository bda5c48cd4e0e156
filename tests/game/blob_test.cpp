#include "game_world.h"

#include <cmath>
#include <set>
#include <vector>

namespace {

using morvel::TBlob;
using morvel_test::GameWorld;

constexpr int KeyLeft = present::key::Left;
constexpr int KeyUp = present::key::Up;
constexpr int KeyRight = present::key::Right;
constexpr int KeySpace = present::key::Space;

using BlobTest = GameWorld;

std::vector<int> RimAddOrder() {
    std::vector<int> order;
    for (int i = 0; i < 6; ++i) {
        order.insert(order.end(), {12 + i, 35 - i, 23 - i, 24 + i});
    }
    return order;
}

TEST_F(BlobTest, CreatePlacesTheRingClockwiseFromTheRight) {
    auto blob = TBlob::Create(25, 850);
    const float expected[][3] = {{0, 49, 850}, {6, 25, 874}, {12, 1, 850}, {18, 25, 826}};
    for (const auto& e : expected) {
        const auto& m = blob->masses[static_cast<int>(e[0])];
        EXPECT_NEAR(m->x, e[1], 1e-4f) << "mass " << e[0];
        EXPECT_NEAR(m->y, e[2], 1e-4f) << "mass " << e[0];
    }
    for (const auto& m : blob->masses) {
        EXPECT_EQ(m->mass, 2.0f);
        EXPECT_EQ(m->radius, 0.0f);
        EXPECT_EQ(m->friction, 1.0f);
        EXPECT_EQ(m->GetGroup(), 2);
        EXPECT_EQ(m->fixed, 0);
        EXPECT_EQ(m->x, m->oldX);
    }
    EXPECT_EQ(blob->x, 25.0f);
    EXPECT_EQ(blob->y, 850.0f);
    EXPECT_EQ(blob->speed, 0.0f);
}

TEST_F(BlobTest, ConstraintsJoinTheRightMassesAndRegisterInFourFrontOrder) {
    auto blob = TBlob::Create(25, 850);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(blob->constraints[i]->masses[0], blob->masses[i]);
        EXPECT_EQ(blob->constraints[i]->masses[1], blob->masses[i + 12]);
    }
    for (int k = 12; k < 36; ++k) {
        EXPECT_EQ(blob->constraints[k]->masses[0], blob->masses[k - 12]);
        EXPECT_EQ(blob->constraints[k]->masses[1], blob->masses[(k - 11) % 24]);
    }

    std::vector<int> expected = RimAddOrder();
    for (int i = 0; i < 12; ++i) {
        expected.push_back(i);
    }
    const auto world = kinetra::constraintList->ToArray();
    ASSERT_EQ(world.size(), 36u);
    const auto members = blob->members.ToArray();
    ASSERT_EQ(members.size(), 36u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(world[i], blob->constraints[expected[i]]) << "position " << i;
        EXPECT_EQ(members[i], blob->constraints[expected[i]]) << "position " << i;
    }

    // Masses enter the world as the rim constraints first reach them.
    std::vector<kinetra::MassRef> massOrder;
    std::set<kinetra::TMass*> seen;
    for (int k : RimAddOrder()) {
        for (const auto& m : blob->constraints[k]->masses) {
            if (seen.insert(m.get()).second) {
                massOrder.push_back(m);
            }
        }
    }
    EXPECT_EQ(kinetra::massList->ToArray(), massOrder);
}

TEST_F(BlobTest, LengthsAndStiffnessAfterCreateAndAfterTheFirstUpdate) {
    auto blob = TBlob::Create(25, 850);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(blob->constraints[i]->length, 48.0f, 1e-4f);
        EXPECT_EQ(blob->constraints[i]->stiffness, 0.1f);
    }
    for (int k = 12; k < 36; ++k) {
        EXPECT_NEAR(blob->constraints[k]->length, 6.2653f, 1e-3f);
        EXPECT_EQ(blob->constraints[k]->stiffness, 1.0f);
    }

    kinetra::SetPhysicsIterations(5);
    blob->Update();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(blob->constraints[i]->length, 48.0f);
        EXPECT_EQ(blob->constraints[i]->stiffness, 0.8f);
    }
    for (int k = 12; k < 36; ++k) {
        EXPECT_EQ(blob->constraints[k]->length, static_cast<float>(48.0 * M_PI / 24.0));
        EXPECT_EQ(blob->constraints[k]->stiffness, 1.0f);
    }
    EXPECT_EQ(kinetra::currentWorld->iterations, 2);
}

TEST_F(BlobTest, ABounceLastsOneFrameEvenWhileUpIsHeld) {
    auto blob = TBlob::Create(25, 850);
    present::KeyDownEvent(KeyUp);
    blob->Update();
    EXPECT_EQ(blob->constraints[0]->length, 60.0f);
    EXPECT_EQ(blob->constraints[11]->stiffness, 1.0f);
    EXPECT_EQ(blob->constraints[12]->length, static_cast<float>(60.0 * M_PI / 24.0));

    blob->Update();
    EXPECT_EQ(blob->constraints[0]->length, 48.0f);
    EXPECT_EQ(blob->constraints[11]->stiffness, 0.8f);
    EXPECT_EQ(blob->constraints[35]->length, static_cast<float>(48.0 * M_PI / 24.0));
}

TEST_F(BlobTest, FastRuleStartsAboveEightExactly) {
    auto blob = TBlob::Create(25, 850);
    blob->speed = 8.0f;
    blob->Update();
    EXPECT_EQ(kinetra::currentWorld->iterations, 2);
    EXPECT_EQ(blob->constraints[0]->stiffness, 0.8f);

    blob->speed = std::nextafter(8.0f, 9.0f);
    blob->Update();
    EXPECT_EQ(kinetra::currentWorld->iterations, 6);
    EXPECT_EQ(blob->constraints[0]->stiffness, 1.0f);
    EXPECT_EQ(blob->constraints[0]->length, 48.0f);
}

TEST_F(BlobTest, CentreSpeedAndMovementFollowTheMasses) {
    auto blob = TBlob::Create(25, 850);
    for (const auto& m : blob->masses) {
        m->Move(3, 4);
    }
    blob->Update();
    EXPECT_NEAR(blob->x, 28.0f, 1e-3f);
    EXPECT_NEAR(blob->y, 854.0f, 1e-3f);
    EXPECT_NEAR(blob->vx, 3.0f, 1e-3f);
    EXPECT_NEAR(blob->vy, 4.0f, 1e-3f);
    EXPECT_NEAR(blob->speed, 5.0f, 1e-3f);
}

TEST_F(BlobTest, RollingSpinsTheRimAndLeftWinsOverRight) {
    auto blob = TBlob::Create(25, 850);
    present::KeyDownEvent(KeyRight);
    blob->Update();
    EXPECT_EQ(blob->direction, 1);
    // Clockwise on screen: the bottom mass goes left, the top one right.
    EXPECT_LT(blob->masses[6]->x - blob->masses[6]->oldX, -0.09f);
    EXPECT_GT(blob->masses[18]->x - blob->masses[18]->oldX, 0.09f);

    auto other = TBlob::Create(25, 850);
    present::KeyDownEvent(KeyLeft);
    other->Update();
    EXPECT_EQ(other->direction, -1);
    EXPECT_GT(other->masses[6]->x - other->masses[6]->oldX, 0.09f);
    float sumX = 0;
    float sumY = 0;
    for (const auto& m : other->masses) {
        EXPECT_NEAR(std::hypot(m->x - m->oldX, m->y - m->oldY), 0.1f, 1e-4f);
        sumX += m->x - m->oldX;
        sumY += m->y - m->oldY;
    }
    // The pushes cancel out for a regular ring.
    EXPECT_NEAR(sumX, 0.0f, 2e-3f);
    EXPECT_NEAR(sumY, 0.0f, 2e-3f);

    present::KeyUpEvent(KeyLeft);
    present::KeyUpEvent(KeyRight);
    other->Update();
    EXPECT_EQ(other->direction, 0);
}

TEST_F(BlobTest, SpaceReplacesTheBlobWithinTheSameFrame) {
    morvel::blob = TBlob::Create(300, 500);
    std::weak_ptr<TBlob> old = morvel::blob;
    const auto oldConstraint = morvel::blob->constraints[0];
    const auto oldMass = morvel::blob->masses[0];
    Press(KeySpace);
    morvel::blob->Update();

    ASSERT_TRUE(morvel::blob);
    EXPECT_TRUE(old.expired());
    EXPECT_EQ(morvel::blob->x, 25.0f);
    EXPECT_EQ(morvel::blob->y, 850.0f);
    EXPECT_EQ(kinetra::constraintList->Count(), 36u);
    EXPECT_EQ(kinetra::massList->Count(), 24u);
    EXPECT_FALSE(kinetra::constraintList->Contains(oldConstraint));
    EXPECT_FALSE(kinetra::massList->Contains(oldMass));

    // The old ring no longer moves with the world.
    const float y = oldMass->y;
    kinetra::UpdatePhysics();
    EXPECT_EQ(oldMass->y, y);
}

TEST_F(BlobTest, DestroyTakesEverythingOutOfTheWorld) {
    auto blob = TBlob::Create(300, 500);
    blob->Destroy();
    EXPECT_TRUE(kinetra::constraintList->Empty());
    EXPECT_TRUE(kinetra::massList->Empty());
    EXPECT_TRUE(blob->members.Empty());
    blob->Destroy();
    EXPECT_TRUE(kinetra::massList->Empty());
}

} // namespace
