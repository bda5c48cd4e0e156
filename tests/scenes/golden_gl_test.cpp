// The golden frames drawn through OpenGL on a display match the stand-in's:
// both renderers follow the same rasterization and sampling rules, so filtered
// texels differ by a rounding step or two and no pixel by more than 8. A
// missing, misplaced or changed element changes more: no skin 1517 pixels, the
// blob drawn after the level 2 (where the bridge's beads overlap it), one
// glyph of a signpost 6.
#include "camera.h"
#include "scene_frames.h"
#include "scene_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace morvel_scene;

constexpr double kMeanTolerance = 0.01;
constexpr int kDifferingPixelsTolerance = 0;
// The face is drawn filtered and mip-mapped, where the two differ most.
constexpr double kFaceMeanTolerance = 2.5;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kFaceSize = 64;

// Where the blob's face is on the screen in the traced frame.
TPictureBox FaceBox(const std::vector<TTraceRow>& rows, int frame) {
    for (const TTraceRow& row : rows) {
        if (row.frame == frame) {
            const morvel::TViewOrigin origin = morvel::CameraOrigin(
                row.x, row.y, {kWidth / 2, kHeight / 2, kWidth, kHeight, 2048, 1024});
            return TPictureBox{static_cast<int>(row.x + origin.x) - kFaceSize / 2,
                               static_cast<int>(row.y + origin.y) - kFaceSize / 2, kFaceSize,
                               kFaceSize};
        }
    }
    ADD_FAILURE() << "frame " << frame << " is not in the trace";
    return TPictureBox{0, 0, 1, 1};
}

TEST(GoldenOpenGL, FramesMatchTheStandIn) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    const std::string first = ScenePath("first_frame_gl.png");
    const std::string bridge = ScenePath("bridge_gl.png");
    const TSceneRun run =
        RunSceneFile("course_run_gl", kCourseScript, kBridgeFrame + 1, kCourseClockStart,
                     {"--renderer", "gl", "--screenshot", std::to_string(kFirstFrame) + ":" + first,
                      "--screenshot", std::to_string(kBridgeFrame) + ":" + bridge});
    ASSERT_EQ(run.status, 0);
    struct TShot {
        std::string path;
        const char* golden;
        int frame;
    };
    for (const TShot& shot : {TShot{first, kGoldenFirstFrame, kFirstFrame},
                              TShot{bridge, kGoldenBridge, kBridgeFrame}}) {
        const TPictureDifference d = ComparePictures(shot.path, shot.golden);
        ASSERT_TRUE(d.comparable) << shot.path << " against " << shot.golden;
        const TPictureDifference face =
            ComparePictures(shot.path, shot.golden, FaceBox(run.rows, shot.frame));
        ASSERT_TRUE(face.comparable);
        std::printf("%s: mean %.4f, 99th percentile %d, 99.9th %d, %d pixels differing; "
                    "face mean %.3f\n",
                    shot.path.c_str(), d.mean, d.percentile99, d.percentile999, d.differingPixels,
                    face.mean);
        EXPECT_LT(d.mean, kMeanTolerance) << shot.path;
        EXPECT_EQ(d.percentile99, 0) << shot.path;
        EXPECT_LE(d.differingPixels, kDifferingPixelsTolerance) << shot.path;
        EXPECT_LT(face.mean, kFaceMeanTolerance) << shot.path;
    }
}

} // namespace
