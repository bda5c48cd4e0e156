#include "scenes.h"
#include "world_fixture.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

using namespace kinetra;

namespace {

// A busy world: a ring on a block, a crowd, an outline, a hanging mass, a mass that only
// a constraint holds (the tick moves it, though it is not listed), and reports.
struct TBusy {
    scenes::TRing ring;
    ZoneRef block;
    ZoneRef outline;
    std::vector<MassRef> crowd;
    MassRef anchor;
    ConstraintRef rope;
    MassRef loose;

    TBusy() {
        CreatePhysics(2048, 1024, 0.1f, 0, 3);
        ring = scenes::MakeRing(400, 400, 30);
        block = scenes::MakeBlock(300, 560, 500, 700);
        outline = TZone::Create(std::make_shared<std::vector<float>>(
                                    std::vector<float>{0, 0, 300, 0, 300, 200, 0, 200}),
                                TZoneKind::Outline, 0.5f, -1, 2);
        outline->SetPosition(900, 600);
        crowd = scenes::MakeCrowd(300, 2048, 700);
        anchor = TMass::Create(1500, 100, 1, 3, 0, 0);
        anchor->Fix();
        rope = TConstraint::Create(anchor, crowd[7], 0, 0.3f);
        rope->Register();
        loose = TMass::Create(1200, 300, 1, 3, 0, 0);
        TConstraint::Create(loose, crowd[11], 0, 0.5f)->Register();
        loose->Unregister();
    }
};

void Tick(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        UpdatePhysics();
    }
}

// The reports' every bit, with their objects.
std::vector<std::uint64_t> Reports() {
    std::vector<std::uint64_t> bits;
    for (const auto* list : {&TickContacts(), &EndedContacts()}) {
        for (const TContact& c : *list) {
            bits.push_back(reinterpret_cast<std::uintptr_t>(c.mass.get()) ^
                           reinterpret_cast<std::uintptr_t>(c.other.get()) ^
                           reinterpret_cast<std::uintptr_t>(c.zone.get()));
            for (float f : {c.x, c.y, c.normalX, c.normalY, c.speed}) {
                bits.push_back(std::bit_cast<std::uint32_t>(f) + (c.begin ? 1ull << 40 : 0));
            }
        }
    }
    return bits;
}

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { SetContactReporting(true); }
    void TearDown() override {
        SetContactReporting(false);
        DestroyPhysics();
    }
};

} // namespace

// Whatever happened since, a restore brings back the very state, and the same ticks the
// very same bits and reports, every time.
TEST_F(SnapshotTest, RestoreReplaysTheSameBitsEveryTime) {
    TBusy busy;
    Tick(60);
    const SnapshotRef snapshot = TakeSnapshot();
    const std::uint64_t taken = PhysicsStateHash();
    const auto reportsTaken = Reports();
    Tick(90);
    const std::uint64_t after = PhysicsStateHash();
    const auto reportsAfter = Reports();
    ASSERT_FALSE(reportsAfter.empty());

    // Everything a tick reads, changed.
    auto late = TMass::Create(410, 380, 1, 8, 0.5f, -1);
    auto lateRope = TConstraint::Create(late, busy.ring.centre, 0, 1);
    lateRope->Register();
    busy.crowd[3]->Unregister();
    busy.rope->Unregister();
    busy.block->Rotate(20);
    busy.outline->Remove();
    busy.ring.rim[0]->radius = 9;
    busy.loose->Move(40, 0);
    busy.ring.constraints[0]->SetLength(3);
    SetPhysicsWorld(10, 10, 900, 900, 0.2f);
    SetPhysicsGravity(0.3f, 0);
    SetPhysicsIterations(5);
    TakeAutoGroup();
    Tick(5);

    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(RestoreSnapshot(snapshot));
        EXPECT_EQ(PhysicsStateHash(), taken) << "round " << round;
        EXPECT_EQ(Reports(), reportsTaken) << "round " << round;
        EXPECT_FALSE(massList->Contains(late));
        EXPECT_FALSE(constraintList->Contains(lateRope));
        EXPECT_EQ(late->useCount, 0);
        EXPECT_EQ(lateRope->useCount, 0);
        Tick(90);
        EXPECT_EQ(PhysicsStateHash(), after) << "round " << round;
        EXPECT_EQ(Reports(), reportsAfter) << "round " << round;
    }
    // What was listed since can be registered afresh.
    late->Register();
    EXPECT_TRUE(massList->Contains(late));
}

TEST_F(SnapshotTest, OnlyItsOwnLiveWorldTakesASnapshotBack) {
    EXPECT_EQ(TakeSnapshot(), nullptr);
    EXPECT_FALSE(RestoreSnapshot(nullptr));
    EXPECT_EQ(SnapshotBytes(nullptr), 0u);
    auto world = CreatePhysics(640, 480, 0.1f, 0, 2);
    auto m = TMass::Create(100, 100, 1, 5, 0, 1);
    m->Register();
    const SnapshotRef snapshot = TakeSnapshot();
    EXPECT_GT(SnapshotBytes(snapshot), 0u);
    Tick(10);
    const float y = m->y;

    // The world replaced, even with the old one still held, and then destroyed.
    CreatePhysics(640, 480, 0.1f, 0, 2);
    auto other = TMass::Create(50, 50, 1, 5, 0, 1);
    other->Register();
    const std::uint64_t state = PhysicsStateHash();
    EXPECT_FALSE(RestoreSnapshot(snapshot));
    EXPECT_EQ(PhysicsStateHash(), state);
    DestroyPhysics();
    EXPECT_FALSE(RestoreSnapshot(snapshot));
    EXPECT_EQ(m->y, y);
    EXPECT_EQ(other->y, 50.0f);
}

// The hash covers every value of every registered object: one unit in the last place of
// any of them changes it, and it is the same on every platform.
TEST(StateHashTest, EveryBitOfTheStateCounts) {
    CreatePhysics(640, 480, 0.1f, 0, 2);
    auto a = TMass::Create(100, 100, 2, 5, 0.5f, 1);
    auto b = TMass::Create(130, 100, 1, 4, 0.25f, 2);
    TConstraint::Create(a, b, 0, 0.5f)->Register();
    auto zone = scenes::MakeBlock(0, 400, 640, 480);
    const std::int32_t autoGroup = nextAutoGroup;
    nextAutoGroup = -5;
    const std::uint64_t start = PhysicsStateHash();
    EXPECT_EQ(start, 0xaa5e4276e15da86aull) << std::hex << start;
    for (float* value : {&a->x, &a->y, &a->oldX, &a->oldY, &a->mass, &a->radius, &a->group,
                         &a->friction, &b->x, &b->oldY, &zone->x, &zone->y, &zone->friction,
                         &(*zone->points)[5], &currentWorld->gravityY, &currentWorld->minX}) {
        const float was = *value;
        *value = std::nextafter(was, 1e30f);
        EXPECT_NE(PhysicsStateHash(), start);
        *value = was;
    }
    EXPECT_EQ(PhysicsStateHash(), start);
    std::swap(constraintList->ToArray()[0]->masses[0], constraintList->ToArray()[0]->masses[1]);
    EXPECT_NE(PhysicsStateHash(), start);
    nextAutoGroup = autoGroup;
    DestroyPhysics();
    EXPECT_EQ(PhysicsStateHash(), 0xcbf29ce484222325ull);
}
