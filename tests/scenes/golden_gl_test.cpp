// The golden frames drawn through OpenGL on a display match the stand-in's:
// both renderers follow the same rasterization and sampling rules, so only a
// few dozen pixels of filtered edges may differ. A missing or misplaced
// element changes far more.
#include "scene_frames.h"
#include "scene_run.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace morvel_scene;

constexpr double kMeanTolerance = 0.01;
constexpr int kDifferingPixelsTolerance = 40;

TEST(GoldenOpenGL, FramesMatchTheStandIn) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    const std::string first = ScenePath("first_frame_gl.png");
    const std::string bridge = ScenePath("bridge_gl.png");
    const TSceneRun run =
        RunSceneFile("course_run_gl", kCourseScript, kBridgeFrame + 1, kCourseClockStart,
                     {"--renderer", "gl", "--screenshot", std::to_string(kFirstFrame) + ":" + first,
                      "--screenshot", std::to_string(kBridgeFrame) + ":" + bridge});
    ASSERT_EQ(run.status, 0);
    for (const auto& [shot, golden] :
         {std::pair{first, kGoldenFirstFrame}, std::pair{bridge, kGoldenBridge}}) {
        const TPictureDifference d = ComparePictures(shot, golden);
        ASSERT_TRUE(d.comparable) << shot << " against " << golden;
        RecordProperty("mean", std::to_string(d.mean));
        EXPECT_LT(d.mean, kMeanTolerance) << shot;
        RecordProperty("differing", d.differingPixels);
        EXPECT_EQ(d.percentile99, 0) << shot;
        EXPECT_LE(d.differingPixels, kDifferingPixelsTolerance) << shot;
    }
}

} // namespace
