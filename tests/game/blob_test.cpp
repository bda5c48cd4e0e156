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

TEST_F(BlobTest, CreatePlacesTheRingClockwiseFromTheRight) {
    auto blob = TBlob::Create(25, 850);
    const float expected[][3] = {{0, 49, 850}, {6, 25, 874}, {12, 1, 850}, {18, 25, 826}};
    for (const auto& e : expected) {
        const auto& m = blob->masses[static_cast<int>(e[0])];
        EXPECT_NEAR(m->x, e[1], 1e-4f) << "mass " << e[0];
        EXPECT_NEAR(m->y, e[2], 1e-4f) << "mass " << e[0];
    }
    // One body: its masses share a group, so they never push each other apart,
    // and it is neither 0 nor the course's, so they meet every lift, platform and
    // piece of scenery. Equal weights share every push evenly.
    const int group = blob->masses[0]->GetGroup();
    EXPECT_NE(group, 0);
    for (int courseGroup : {10, 20, 30}) {
        EXPECT_NE(group, courseGroup);
    }
    for (const auto& m : blob->masses) {
        EXPECT_EQ(m->GetGroup(), group);
        EXPECT_EQ(m->mass, blob->masses[0]->mass);
        EXPECT_GT(m->mass, 0.0f);
        EXPECT_EQ(m->fixed, 0);
        EXPECT_EQ(m->x, m->oldX);
        EXPECT_EQ(m->y, m->oldY);
    }
    EXPECT_EQ(blob->x, 25.0f);
    EXPECT_EQ(blob->y, 850.0f);
    EXPECT_EQ(blob->speed, 0.0f);
}

// The world relaxes constraints in the order they were registered, so the order
// is part of every result: four fronts start at the two ends of spoke 0 and
// advance round the rim in both directions, then the spokes follow in order.
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

    const auto world = kinetra::constraintList->ToArray();
    ASSERT_EQ(world.size(), 36u);
    EXPECT_EQ(blob->members.ToArray(), world);
    const auto touches = [](const kinetra::ConstraintRef& c, const kinetra::MassRef& m) {
        return c->masses[0] == m || c->masses[1] == m;
    };
    std::set<kinetra::TConstraint*> rim;
    for (std::size_t i = 0; i < 24; ++i) {
        rim.insert(world[i].get());
        // Each front's next edge shares a mass with its last one.
        const auto& c = world[i];
        if (i < 4) {
            EXPECT_TRUE(touches(c, blob->masses[0]) || touches(c, blob->masses[12])) << i;
        } else {
            EXPECT_TRUE(touches(c, world[i - 4]->masses[0]) || touches(c, world[i - 4]->masses[1]))
                << "position " << i;
        }
    }
    EXPECT_EQ(rim.size(), 24u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(world[24 + i], blob->constraints[i]) << "spoke " << i;
    }

    // Masses enter the world as the constraints first reach them.
    std::vector<kinetra::MassRef> massOrder;
    std::set<kinetra::TMass*> seen;
    for (const auto& c : world) {
        for (const auto& m : c->masses) {
            if (seen.insert(m.get()).second) {
                massOrder.push_back(m);
            }
        }
    }
    EXPECT_EQ(kinetra::massList->ToArray(), massOrder);
}

// Each constraint starts at the length it was made with; from the first update
// the spokes hold the ring at a diameter of 48 pixels, softly, and the rim's 24
// edges add up to the circle of that diameter.
TEST_F(BlobTest, LengthsAndStiffnessAfterCreateAndAfterTheFirstUpdate) {
    auto blob = TBlob::Create(25, 850);
    for (const auto& c : blob->constraints) {
        const float dx = c->masses[0]->x - c->masses[1]->x;
        const float dy = c->masses[0]->y - c->masses[1]->y;
        EXPECT_NEAR(c->length, std::sqrt(dx * dx + dy * dy), 1e-4f);
    }

    kinetra::SetPhysicsIterations(5);
    blob->Update();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(blob->constraints[i]->length, 48.0f);
        EXPECT_LT(blob->constraints[i]->stiffness, 1.0f);
        EXPECT_GT(blob->constraints[i]->stiffness, 0.5f);
    }
    for (int k = 12; k < 36; ++k) {
        EXPECT_NEAR(24 * blob->constraints[k]->length, 48.0 * M_PI, 1e-4);
        EXPECT_EQ(blob->constraints[k]->stiffness, 1.0f);
    }
    EXPECT_EQ(kinetra::currentWorld->iterations, 2);
}

TEST_F(BlobTest, ABounceLastsOneFrameEvenWhileUpIsHeld) {
    auto blob = TBlob::Create(25, 850);
    present::KeyDownEvent(KeyUp);
    blob->Update();
    // Stretched and firm for the bounce, the rim following the spokes.
    EXPECT_EQ(blob->constraints[0]->length, 60.0f);
    EXPECT_EQ(blob->constraints[11]->stiffness, 1.0f);
    EXPECT_NEAR(24 * blob->constraints[12]->length, 60.0 * M_PI, 1e-4);

    blob->Update();
    EXPECT_EQ(blob->constraints[0]->length, 48.0f);
    EXPECT_LT(blob->constraints[11]->stiffness, 1.0f);
    EXPECT_NEAR(24 * blob->constraints[35]->length, 48.0 * M_PI, 1e-4);
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
