#include "renderer.h"
#include "scene.h"
#include "screen.h"
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace present::testing {
namespace {

class OnDisplay : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
        SetPlatform(nullptr);
        InitPresent();
        const std::string name = GetParam();
        SelectRenderer(name == "OpenGL" ? OpenGLRenderer() : Direct3D7Renderer(),
                       ScreenDoubleBuffered);
    }
    void TearDown() override { CloseScreen(); }

    static bool ShowsColour(const TPixmap& shot, int x, int y, int r, int g, int b) {
        const std::uint8_t* p = &shot.rgba[(static_cast<std::size_t>(y) * shot.width + x) * 4];
        const bool same =
            std::abs(p[0] - r) <= 2 && std::abs(p[1] - g) <= 2 && std::abs(p[2] - b) <= 2;
        if (!same) {
            ADD_FAILURE() << "(" << x << ", " << y << ") is " << int(p[0]) << ", " << int(p[1])
                          << ", " << int(p[2]);
        }
        return same;
    }
};

TEST_P(OnDisplay, OpensTheMenuWindowDrawsTextAndImagesAndCloses) {
    const ScreenRef screen = OpenScreen(400, 300, 0, 60, 0);
    ASSERT_TRUE(screen);
    EXPECT_STREQ(CurrentRenderer()->Name(), GetParam());
    for (int frame = 0; frame < 3; ++frame) {
        DrawScene();
        SetDrawColour(255, 0, 0);
        DrawString("Morvel (Prototype)", 10, 270);
        TPixmap shot;
        ASSERT_TRUE(CaptureScreen(shot));
        ASSERT_EQ(shot.width, 400);
        ASSERT_EQ(shot.height, 300);
        EXPECT_TRUE(ShowsColour(shot, 0, 299, 30, 40, 60)); // the clear colour
        PresentFrame(0);
    }
    CloseScreen();
    EXPECT_FALSE(CurrentScreen());
}

TEST_P(OnDisplay, FullScreenWithoutThatModeKeepsTheLogicalCoordinates) {
    // The virtual display has one mode, so this falls back to the desktop's.
    ASSERT_TRUE(OpenScreen(800, 600, 32, 60, 0));
    SetClearColour(0, 0, 255);
    ClearScreen();
    SetBlendMode(BlendSolid);
    SetDrawColour(255, 255, 0);
    RendererFillPolygon({0, 0, 100, 0, 100, 100, 0, 100}, 0, 0, 700, 500);
    TPixmap shot;
    ASSERT_TRUE(CaptureScreen(shot));
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    EXPECT_TRUE(ShowsColour(shot, 750, 550, 255, 255, 0));
    EXPECT_TRUE(ShowsColour(shot, 650, 450, 0, 0, 255));
    EXPECT_TRUE(ShowsColour(shot, 799, 599, 255, 255, 0));
    PresentFrame(1);

    // The game hides the pointer over a full screen; the window system must hear of it.
    SetPointerVisible(0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    SetPointerVisible(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

INSTANTIATE_TEST_SUITE_P(BothRenderers, OnDisplay, ::testing::Values("Direct3D 7", "OpenGL"));

} // namespace
} // namespace present::testing
