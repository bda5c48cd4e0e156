// The facilities on a real display with both renderers: what is drawn lands in
// the back buffer, and paced frames keep to 60 a second on the real clock.
#include "screen.h"
#include <present/headless.h>
#include <present/present.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace present {
namespace {

class DisplayTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X display";
        }
        InitPresent();
        SelectRenderer(std::string(GetParam()) == "OpenGL" ? OpenGLRenderer() : Direct3D7Renderer(),
                       TScreenFlags::DoubleBuffered);
    }
    void TearDown() override { CloseScreen(); }
};

const std::uint8_t* PixelAt(const TPixmap& pixmap, int x, int y) {
    return &pixmap.rgba[static_cast<std::size_t>(y * pixmap.width + x) * 4];
}

TEST_P(DisplayTest, ShapesAndTextLandInTheBackBuffer) {
    ASSERT_NE(OpenScreen(400, 300, 0, 60, present::TScreenFlags::None), nullptr);
    SetClearColour(0, 0, 255);
    ClearScreen();
    SetDrawColour(255, 0, 0);
    FillEllipse(100, 50, 200, 200);
    SetDrawColour(255, 255, 255);
    DrawString("########", 0, 0);

    TPixmap pixels;
    ASSERT_TRUE(CaptureScreen(pixels));
    ASSERT_EQ(pixels.width, 400);
    ASSERT_EQ(pixels.height, 300);
    const std::uint8_t* centre = PixelAt(pixels, 200, 150);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[2], 0);
    const std::uint8_t* corner = PixelAt(pixels, 395, 295);
    EXPECT_EQ(corner[0], 0);
    EXPECT_EQ(corner[2], 255);
    int textPixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 64; ++x) {
            textPixels += PixelAt(pixels, x, y)[1] == 255;
        }
    }
    EXPECT_GT(textPixels, 16);
    EXPECT_EQ(PixelAt(pixels, 70, 8)[1], 0);
}

// Pacing never runs ahead of 60 frames a second; how far a loaded machine
// falls behind is not this test's business.
TEST_P(DisplayTest, PacedFramesNeverRunAheadOfSixtyASecond) {
    ASSERT_NE(OpenScreen(400, 300, 0, 60, present::TScreenFlags::None), nullptr);
    // The clock is read before the first frame, whose slot is no earlier: read after
    // it, a present that came back late would count against the frames that follow.
    const std::uint32_t start = ClockMillis();
    PresentFrame(-1);
    for (int i = 0; i < 30; ++i) {
        ClearScreen();
        PresentFrame(-1);
    }
    const std::uint32_t elapsed = ClockMillis() - start;
    EXPECT_GE(elapsed, 495u);
}

TEST_P(DisplayTest, FullScreenKeepsTheLogicalSize) {
    ASSERT_NE(OpenScreen(800, 600, 32, 60, present::TScreenFlags::None), nullptr);
    TPixmap pixels;
    ASSERT_TRUE(CaptureScreen(pixels));
    EXPECT_EQ(pixels.width, 800);
    EXPECT_EQ(pixels.height, 600);
}

INSTANTIATE_TEST_SUITE_P(Renderers, DisplayTest, ::testing::Values("OpenGL", "Direct3D7"));

} // namespace
} // namespace present
