// The blob on the start ledge, driven through the deterministic driver.
#include "scene_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using morvel_scene::RunScene;
using morvel_scene::TTraceRow;

constexpr std::uint32_t kClockStart = 1000000;

const TTraceRow& Row(const morvel_scene::TSceneRun& run, int frame) {
    const auto it = std::find_if(run.rows.begin(), run.rows.end(),
                                 [frame](const TTraceRow& row) { return row.frame == frame; });
    if (it == run.rows.end()) {
        static const TTraceRow missing{};
        ADD_FAILURE() << "no trace row for frame " << frame;
        return missing;
    }
    return *it;
}

// A new blob drops the one pixel onto the ledge, squashes a little and sits on
// it: it neither sinks in nor rolls, although the sequential relaxation of the
// squashed ring lets it creep slowly to the right.
TEST(BlobScenes, NewBlobSettlesOnTheLedge) {
    const auto run = RunScene("settle", "0 press ENTER\n", 500, kClockStart);
    ASSERT_EQ(run.status, 0);
    ASSERT_GE(run.rows.size(), 499u);
    EXPECT_EQ(Row(run, 1).x, 25.0f);
    EXPECT_EQ(Row(run, 1).y, 850.0f);
    for (const TTraceRow& row : run.rows) {
        if (row.frame < 100) {
            continue;
        }
        EXPECT_GT(row.y, 853.0f) << "frame " << row.frame;
        EXPECT_LT(row.y, 857.0f) << "frame " << row.frame;
        EXPECT_LT(std::fabs(row.vy), 0.05f) << "frame " << row.frame;
        EXPECT_LT(row.speed, 0.3f) << "frame " << row.frame;
        EXPECT_EQ(row.passes, 2);
        EXPECT_EQ(row.direction, 0);
    }
    EXPECT_GT(Row(run, 499).x, Row(run, 100).x);
    EXPECT_LT(Row(run, 499).x, 90.0f);
}

TEST(BlobScenes, ArrowsRollTheBlobBothWays) {
    const auto right = RunScene("roll_right", "0 press ENTER\n2 down RIGHT\n", 61, kClockStart);
    ASSERT_EQ(right.status, 0);
    EXPECT_EQ(Row(right, 30).direction, 1);
    EXPECT_GT(Row(right, 60).x, 80.0f);
    EXPECT_GT(Row(right, 60).vx, 1.5f);
    EXPECT_LT(Row(right, 60).y, 860.0f);

    const auto left = RunScene(
        "roll_left", "0 press ENTER\n2 down RIGHT\n40 up RIGHT\n40 down LEFT\n", 121, kClockStart);
    ASSERT_EQ(left.status, 0);
    EXPECT_EQ(Row(left, 100).direction, -1);
    EXPECT_LT(Row(left, 120).x, Row(left, 60).x - 20.0f);
    EXPECT_LT(Row(left, 120).vx, -1.0f);
}

TEST(BlobScenes, UpMakesTheBlobLeaveTheGround) {
    const auto run = RunScene("bounce", "0 press ENTER\n60 press UP\n", 120, kClockStart);
    ASSERT_EQ(run.status, 0);
    float highest = 1e9f;
    for (const TTraceRow& row : run.rows) {
        if (row.frame > 60) {
            highest = std::min(highest, row.y);
        }
    }
    // The resting centre is near 855; a bounce lifts it by tens of pixels.
    EXPECT_LT(highest, 830.0f);
    EXPECT_GT(Row(run, 119).y, highest + 10.0f);
}

TEST(BlobScenes, SpacePutsANewBlobAtTheStart) {
    const auto run =
        RunScene("reset", "0 press ENTER\n2 down RIGHT\n100 press SPACE\n", 110, kClockStart);
    ASSERT_EQ(run.status, 0);
    EXPECT_GT(Row(run, 99).x, 150.0f);
    // The frame of the reset already shows the new blob, which takes part in
    // that frame's tick: one tick of gravity later it has dropped 0.1.
    EXPECT_EQ(Row(run, 100).x, 25.0f);
    EXPECT_EQ(Row(run, 100).y, 850.0f);
    EXPECT_NEAR(Row(run, 101).y, 850.1f, 1e-3f);
    EXPECT_NEAR(Row(run, 101).x, 25.0f, 0.05f);
}

// A controller plays through the same keys, on SDL's virtual pad: each pad
// run must give exactly the trace of its key run, frame by frame.
TEST(BlobScenes, ThePadPlaysExactlyAsTheKeys) {
    const struct {
        const char* name;
        const char* pad;
        const char* keys;
    } pairs[] = {
        {"buttons",
         "0 press PAD_START\n2 down PAD_RIGHT\n60 up PAD_RIGHT\n60 down PAD_LEFT\n"
         "100 up PAD_LEFT\n110 press PAD_A\n150 press PAD_X\n",
         "0 press ENTER\n2 down RIGHT\n60 up RIGHT\n60 down LEFT\n100 up LEFT\n"
         "110 press UP\n150 press SPACE\n"},
        {"stick",
         "0 press PAD_START\n2 axis LEFTX 8001\n60 axis LEFTX -32768\n100 axis LEFTX -8001\n"
         "120 axis LEFTX 0\n",
         "0 press ENTER\n2 down RIGHT\n60 up RIGHT\n60 down LEFT\n120 up LEFT\n"},
        // Inside the dead zone, the other axis, and the buttons the game does
        // not use: nothing happens.
        {"dead_zone",
         "0 press PAD_START\n2 axis LEFTX 8000\n30 axis LEFTX -8000\n60 axis LEFTY 32767\n"
         "90 axis LEFTY -32768\n120 axis LEFTX 0\n130 press PAD_B\n140 press PAD_Y\n"
         "150 press PAD_UP\n160 press PAD_DOWN\n170 press PAD_BACK\n",
         "0 press ENTER\n"},
        // Unplugged mid-roll, the held direction is let go; plugged in again,
        // the pad plays on.
        {"unplug",
         "0 press PAD_START\n2 down PAD_RIGHT\n50 pad-remove\n80 pad-add\n"
         "90 axis LEFTX -20000\n130 pad-remove\n",
         "0 press ENTER\n2 down RIGHT\n50 up RIGHT\n90 down LEFT\n130 up LEFT\n"},
    };
    for (const auto& pair : pairs) {
        const std::string name = pair.name;
        const auto pad = RunScene("pad_" + name, pair.pad, 200, kClockStart);
        const auto keys = RunScene("keys_" + name, pair.keys, 200, kClockStart);
        ASSERT_EQ(pad.status, 0) << name;
        ASSERT_EQ(keys.rows.size(), 199u) << name;
        ASSERT_EQ(pad.rows.size(), keys.rows.size()) << name;
        for (std::size_t i = 0; i < keys.rows.size(); ++i) {
            const TTraceRow& a = pad.rows[i];
            const TTraceRow& b = keys.rows[i];
            ASSERT_TRUE(a.frame == b.frame && a.clock == b.clock && a.x == b.x && a.y == b.y &&
                        a.vx == b.vx && a.vy == b.vy && a.speed == b.speed &&
                        a.direction == b.direction && a.passes == b.passes)
                << name << ": frame " << b.frame << " differs";
        }
    }
}

} // namespace
