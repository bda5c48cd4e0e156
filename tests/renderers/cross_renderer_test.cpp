#include "headless.h"
#include "image.h"
#include "present.h"
#include "renderer.h"
#include "scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace present::testing {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Edges differ by rasterisation rules and texture sampling; the bulk of the
// picture must match.
constexpr double kMeanTolerance = 2.0;
constexpr int kPercentile99Tolerance = 16;

TPixmap Render(const RendererRef& renderer) {
    SelectRenderer(renderer, ScreenDoubleBuffered);
    TPixmap shot;
    if (!OpenScreen(kWidth, kHeight, 0, 0, 0)) {
        ADD_FAILURE() << "cannot open a screen with " << renderer->Name();
        return shot;
    }
    DrawScene();
    EXPECT_TRUE(CaptureScreen(shot));
    CloseScreen();
    return shot;
}

TEST(CrossRenderer, StandInInMemoryMatchesOpenGL) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    InitPresent();
    SetPlatform(std::make_shared<THeadlessPlatform>());
    const TPixmap standIn = Render(Direct3D7Renderer());
    SetPlatform(nullptr);
    const TPixmap openGL = Render(OpenGLRenderer());
    ASSERT_EQ(standIn.width, kWidth);
    ASSERT_EQ(openGL.width, kWidth);
    ASSERT_EQ(standIn.rgba.size(), openGL.rgba.size());

    std::vector<int> differences;
    double sum = 0;
    for (std::size_t i = 0; i < standIn.rgba.size(); ++i) {
        if (i % 4 == 3) {
            continue;
        }
        const int d = std::abs(int(standIn.rgba[i]) - int(openGL.rgba[i]));
        differences.push_back(d);
        sum += d;
    }
    const double mean = sum / static_cast<double>(differences.size());
    std::nth_element(differences.begin(), differences.begin() + differences.size() * 99 / 100,
                     differences.end());
    const int percentile99 = differences[differences.size() * 99 / 100];
    RecordProperty("mean", std::to_string(mean));
    RecordProperty("p99", percentile99);
    EXPECT_LT(mean, kMeanTolerance);
    EXPECT_LE(percentile99, kPercentile99Tolerance);
    if (::testing::Test::HasFailure() || std::getenv("RENDERERS_KEEP_IMAGES") != nullptr) {
        const std::string dir = RENDERERS_OUTPUT_DIR;
        SavePng(dir + "/cross_renderer_direct3d7.png", standIn);
        SavePng(dir + "/cross_renderer_opengl.png", openGL);
        std::printf("mean %f, 99th percentile %d; pictures saved in %s\n", mean, percentile99,
                    dir.c_str());
    }
}

} // namespace
} // namespace present::testing
