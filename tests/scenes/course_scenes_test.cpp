// The blob on the course: the kept run over the lower level, up the right-hand
// lift and back over the bridge, judged by its trace and its frames.
#include "scene_frames.h"
#include "scene_run.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace morvel_scene;

class CourseScenes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        run = RunSceneFile(
            "course_run", kCourseScript, kCourseFrames, kCourseClockStart,
            {"--screenshot", std::to_string(kFirstFrame) + ":" + ScenePath("first_frame.png"),
             "--screenshot", std::to_string(kBridgeFrame) + ":" + ScenePath("bridge.png")});
    }
    static TSceneRun run;
};

TSceneRun CourseScenes::run;

TEST_F(CourseScenes, RunReplaysToTheEnd) {
    ASSERT_EQ(run.status, 0);
    ASSERT_FALSE(run.rows.empty());
    EXPECT_EQ(run.rows.back().frame, kCourseFrames - 1);
}

TEST_F(CourseScenes, RightHandLiftCarriesTheRestingBlobUp) {
    // Frames spent on top of the right-hand lift.
    float lowest = 0;
    float highest = 1e9f;
    int lowestFrame = 0;
    int highestFrame = 0;
    for (const TTraceRow& row : run.rows) {
        if (row.x > 1905 && row.x < 1995 && row.y < 870) {
            if (row.y > lowest) {
                lowest = row.y;
                lowestFrame = row.frame;
            }
            if (row.y < highest) {
                highest = row.y;
                highestFrame = row.frame;
            }
        }
    }
    // From the lower floor's height (top 875) to the lift's highest (top 675).
    EXPECT_GT(lowest, 845.0f);
    EXPECT_LT(highest, 665.0f);
    EXPECT_GT(highestFrame, lowestFrame);
}

TEST_F(CourseScenes, BridgeHoldsTheBlob) {
    int onBridge = 0;
    for (const TTraceRow& row : run.rows) {
        // The way back left at the lifts' height, after the ride up.
        if (row.frame > kAfterLiftRide && row.x > 1070 && row.x < 1230) {
            ++onBridge;
            // The beads sag under the blob's weight, but hold it far above the
            // lower floor (a blob resting there would be near 855).
            EXPECT_LT(row.y, 730.0f) << "frame " << row.frame;
        }
    }
    EXPECT_GT(onBridge, 10);
}

// The stand-in draws into memory identically on every run: the frames must
// match the kept pictures.
TEST_F(CourseScenes, FramesMatchTheGoldenPictures) {
    ASSERT_EQ(run.status, 0);
    for (const auto& [shot, golden] : {std::pair{ScenePath("first_frame.png"), kGoldenFirstFrame},
                                       std::pair{ScenePath("bridge.png"), kGoldenBridge}}) {
        const TPictureDifference d = ComparePictures(shot, golden);
        ASSERT_TRUE(d.comparable) << shot << " against " << golden;
        EXPECT_EQ(d.mean, 0.0) << shot;
        EXPECT_EQ(d.differingPixels, 0) << shot;
    }
}

} // namespace

namespace {

using namespace morvel_scene;

// The whole course: finished becomes 1 on the shelf and stays 1.
TEST(FinishScene, KeptScriptReachesTheFinish) {
    const TSceneRun run = RunSceneFile("finish", kFinishScript, kFinishFrames, kCourseClockStart);
    ASSERT_EQ(run.status, 0);
    ASSERT_FALSE(run.rows.empty());
    int first = 0;
    for (const TTraceRow& row : run.rows) {
        if (first == 0 && row.finished == 1) {
            first = row.frame;
        }
        if (first != 0) {
            EXPECT_EQ(row.finished, 1) << "frame " << row.frame;
        }
    }
    ASSERT_NE(first, 0) << "the blob never reached the finish";
    EXPECT_LE(first, kFinishFrame + 1);
    const TTraceRow& reached = run.rows.back();
    EXPECT_GT(reached.x, 1850.0f);
    EXPECT_LT(reached.y, 300.0f);
}

} // namespace
