#include "scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace kinetra;

namespace {

bool AllFinite(const scenes::Ring& ring) {
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

float Lowest(const scenes::Ring& ring) {
    float lowest = ring.centre->y;
    for (const auto& m : ring.rim) {
        lowest = std::fmax(lowest, m->y + m->radius);
    }
    return lowest;
}

class Fnv1a {
public:
    void Add(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 4; ++i) {
            hash ^= (bits >> (8 * i)) & 0xffu;
            hash *= 0x100000001b3ull;
        }
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;
};

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
    CreatePhysics(640, 480, 0.1f, 0.01f, 3);
    SetPhysicsWorld(0, 0, 640, 480, 0.8f);
    auto ring = scenes::MakeRing(200, 120, 30);
    auto block = scenes::MakeBlock(120, 300, 360, 420);
    block->Rotate(3);
    auto outline = TZone::Create(std::make_shared<std::vector<float>>(
                                     std::vector<float>{0, 0, 160, 0, 160, 120, 80, 150, 0, 120}),
                                 1, 0.5f, -1, 2);
    outline->SetPosition(420, 200);
    std::vector<MassRef> loose;
    for (int i = 0; i < 6; ++i) {
        auto m = TMass::Create(440.0f + 20.0f * i, 230.0f + 3.0f * i, 1.0f + i, 6, 0.4f, -1);
        m->SetVelocity(1.5f - 0.5f * i, -1.0f);
        m->Register();
        loose.push_back(m);
    }
    auto anchor = TMass::Create(600, 40, 1, 3, 0, 0);
    anchor->Fix();
    TConstraint::Create(anchor, loose[5], 0, 0.3f)->Register();

    Fnv1a trace;
    for (int tick = 0; tick < 1000; ++tick) {
        UpdatePhysics();
        if (tick % 100 == 99) {
            for (const auto& m : *massList) {
                trace.Add(m->x);
                trace.Add(m->y);
                trace.Add(m->oldX);
                trace.Add(m->oldY);
            }
        }
    }
    EXPECT_EQ(trace.hash, 0xe45beae5a304de0aull) << std::hex << trace.hash;
    DestroyPhysics();
}
