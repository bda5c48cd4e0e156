#include "bridge.h"
#include "course.h"
#include "game_world.h"
#include "lift.h"
#include "moving_platform.h"
#include "scenery.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

using morvel_test::GameWorld;

using CourseTest = GameWorld;

template <class T> std::shared_ptr<T> As(std::size_t i) {
    return std::dynamic_pointer_cast<T>(morvel::level->objects.at(i));
}

TEST_F(CourseTest, HoldsTwentyThreeObjectsInCreationOrder) {
    morvel::BuildCourse();
    const auto& objects = morvel::level->objects;
    ASSERT_EQ(objects.size(), 23u);
    for (std::size_t i = 0; i < 8; ++i) {
        ASSERT_TRUE(As<morvel::TLift>(i)) << i;
        EXPECT_TRUE(As<morvel::TLift>(i)->zone) << i;
    }
    ASSERT_TRUE(As<morvel::TBridge>(8));
    ASSERT_TRUE(As<morvel::TPlatform>(9));
    ASSERT_TRUE(As<morvel::TPlatform>(10));
    for (std::size_t i = 11; i < 23; ++i) {
        ASSERT_TRUE(As<morvel::TScenery>(i)) << i;
        EXPECT_TRUE(As<morvel::TScenery>(i)->zone) << i;
    }

    // Everything the course makes is inside the level, where the walls keep the
    // blob (the ground's solids reach on below it), and every zone is a solid
    // the blob meets.
    morvel::level->Update(); // the lifts and platforms go where the clock puts them
    const auto inside = [](float x, float y) {
        return x >= 0 && x <= morvel::level->width && y >= 0 && y <= morvel::level->height;
    };
    for (const auto& zone : kinetra::zoneList->ToArray()) {
        EXPECT_EQ(zone->kind, kinetra::TZoneKind::Solid);
        EXPECT_NE(zone->group, 0);
        EXPECT_NE(zone->group, 2);
        int pointsInside = 0;
        for (std::size_t i = 0; i + 1 < zone->points->size(); i += 2) {
            pointsInside +=
                inside(zone->x + zone->points->at(i), zone->y + zone->points->at(i + 1));
        }
        EXPECT_GE(pointsInside, 2) << "zone at (" << zone->x << ", " << zone->y << ")";
    }
    for (const auto& m : kinetra::massList->ToArray()) {
        EXPECT_TRUE(inside(m->x, m->y)) << "mass at (" << m->x << ", " << m->y << ")";
    }

    // Zones register in course order: the 8 lifts, then the 12 scenery polygons.
    const auto zones = kinetra::zoneList->ToArray();
    ASSERT_EQ(zones.size(), 20u);
    EXPECT_EQ(zones[0], As<morvel::TLift>(0)->zone);
    EXPECT_EQ(zones[8], As<morvel::TScenery>(11)->zone);
}

TEST_F(CourseTest, BlobRegistersBeforeTheCourseAndStartsJustAboveTheLedge) {
    morvel::blob = morvel::TBlob::Create(25, 850);
    morvel::BuildCourse();
    const auto masses = kinetra::massList->ToArray();
    ASSERT_EQ(masses.size(), 24u + 7u + 10u);
    EXPECT_EQ(masses[0], morvel::blob->masses[0]);
    EXPECT_EQ(masses[24], As<morvel::TBridge>(8)->body->masses[0]);

    float lowest = 0;
    for (const auto& m : morvel::blob->masses) {
        lowest = std::max(lowest, m->y);
    }
    EXPECT_NEAR(lowest, 874.0f, 1e-3f);
}

// Relaxation is sequential, so the order of every correction is part of the result:
// any change to the order or the arithmetic of the tick shows in this hash of every
// mass's state after a long unattended run, the lifts and platforms moving by a clock
// paced as the game paces it. When a change is intended, explain it and record the
// new value.
TEST_F(CourseTest, LongUnattendedRunKeepsItsExactState) {
    morvel::blob = morvel::TBlob::Create(25, 850);
    morvel::BuildCourse();
    for (std::int64_t frame = 1; frame <= 20000; ++frame) {
        platform->Sleep(static_cast<std::uint32_t>(frame * 1000 / 60 - (frame - 1) * 1000 / 60));
        ASSERT_TRUE(morvel::StepCourse());
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const auto& m : *kinetra::massList) {
        for (const float value : {m->x, m->y, m->oldX, m->oldY}) {
            std::uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            for (int i = 0; i < 4; ++i) {
                hash ^= (bits >> (8 * i)) & 0xffu;
                hash *= 0x100000001b3ull;
            }
        }
    }
    EXPECT_EQ(hash, 0x112c1505adc8b6f3ull) << std::hex << hash;
}

} // namespace
