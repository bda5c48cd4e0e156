#include "scenes.h"
#include "trace_scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace kinetra;

namespace {

bool AllFinite(const scenes::TRing& ring) {
    if (!std::isfinite(ring.centre->x) || !std::isfinite(ring.centre->y)) {
        return false;
    }
    for (const auto& m : ring.rim) {
        if (!std::isfinite(m->x) || !std::isfinite(m->y) || !std::isfinite(m->oldX) ||
            !std::isfinite(m->oldY)) {
            return false;
        }
    }
    return true;
}

float Lowest(const scenes::TRing& ring) {
    float lowest = ring.centre->y;
    for (const auto& m : ring.rim) {
        lowest = std::fmax(lowest, m->y + m->radius);
    }
    return lowest;
}

} // namespace

TEST(SceneTest, RingComesToRestOnAPolygonAndStays) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    SetPhysicsWorld(0, 0, 2048, 1024, 1.0f);
    auto ring = scenes::MakeRing(400, 400, 30);
    auto block = scenes::MakeBlock(300, 560, 500, 700);
    for (int i = 0; i < 400; ++i) {
        UpdatePhysics();
    }
    ASSERT_TRUE(AllFinite(ring));
    EXPECT_NEAR(Lowest(ring), 560.0f, 3.0f);
    const float restY = ring.centre->y;
    for (int i = 0; i < 600; ++i) {
        UpdatePhysics();
        ASSERT_TRUE(AllFinite(ring)) << "tick " << i;
        ASSERT_NEAR(Lowest(ring), 560.0f, 3.0f) << "tick " << i;
        ASSERT_NEAR(ring.centre->y, restY, 3.0f) << "tick " << i;
        // It may rock on its soft spokes, but it stays on the block.
        ASSERT_GT(ring.centre->x, 330.0f) << "tick " << i;
        ASSERT_LT(ring.centre->x, 470.0f) << "tick " << i;
    }
    DestroyPhysics();
}

// Any change to the engine's arithmetic or its order changes this hash. When a change
// is intended, explain it and record the new value.
TEST(SceneTest, GoldenTrace) {
    const std::uint64_t hash = trace::GoldenSceneHash(1000);
    EXPECT_EQ(hash, 0xe45beae5a304de0aull) << std::hex << hash;
    // Thousands of masses pressing on each other, many to a cell of the broad phase.
    const std::uint64_t pile = trace::PileSceneHash(4096, 140);
    EXPECT_EQ(pile, 0x812faf2d689697deull) << std::hex << pile;
}

// Reporting contacts reads what the contacts did and changes none of it.
TEST(SceneTest, ReportingContactsChangesNoBit) {
    const std::uint64_t crowd = trace::CrowdSceneHash(300);
    SetContactReporting(true);
    const std::uint64_t golden = trace::GoldenSceneHash(1000);
    const std::uint64_t reportedCrowd = trace::CrowdSceneHash(300);
    SetContactReporting(false);
    EXPECT_EQ(golden, 0xe45beae5a304de0aull) << std::hex << golden;
    EXPECT_EQ(reportedCrowd, crowd);
}
