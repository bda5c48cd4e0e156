#include "direct3d7/direct3d7.h"
#include "input.h"
#include "opengl/opengl.h"
#include "recording_renderer.h"

#include <cstdio>
#include <cstdlib>

namespace present::testing {
namespace {

using ScreenTest = PresentTest;

TEST_F(ScreenTest, EveryOpenAndCloseAdvancesTheScreenNumber) {
    const int start = CurrentScreenNumber();
    const ScreenRef first = OpenWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->number, start + 1);
    EXPECT_EQ(CurrentScreenNumber(), start + 1);

    // Opening over an open screen closes it first.
    const ScreenRef second = OpenWindow();
    EXPECT_EQ(second->number, start + 3);
    EXPECT_EQ(renderer->closes, 1);

    CloseScreen();
    EXPECT_EQ(CurrentScreenNumber(), start + 4);
    EXPECT_EQ(CurrentScreen(), nullptr);
    CloseScreen();
    EXPECT_EQ(CurrentScreenNumber(), start + 4);
    EXPECT_EQ(renderer->closes, 2);
    EXPECT_NE(CurrentScreenNumber(), 0);
}

TEST_F(ScreenTest, FailedOpenLeavesNothingOpen) {
    OpenWindow();
    renderer->failOpen = true;
    EXPECT_EQ(OpenScreen(640, 480, 0, 60, present::TScreenFlags::None), nullptr);
    EXPECT_EQ(CurrentScreen(), nullptr);
    EXPECT_EQ(renderer->closes, 1);
    EXPECT_FALSE(InputActive());

    EXPECT_EQ(OpenScreen(0, 480, 0, 60, present::TScreenFlags::None), nullptr);
    EXPECT_EQ(OpenScreen(640, -1, 0, 60, present::TScreenFlags::None), nullptr);
    SelectRenderer(nullptr, present::TScreenFlags::None);
    renderer->failOpen = false;
    EXPECT_EQ(OpenScreen(640, 480, 0, 60, present::TScreenFlags::None), nullptr);
}

TEST_F(ScreenTest, SelectionDecidesTheRendererAndAddsItsFlags) {
    EXPECT_EQ(CurrentRenderer(), renderer);
    const ScreenRef screen = OpenScreen(400, 300, 0, 60, present::TScreenFlags::None);
    EXPECT_EQ(screen->flags, TScreenFlags::DoubleBuffered);
    EXPECT_EQ(screen->renderer, renderer);
    EXPECT_EQ(State().renderer, renderer);

    auto other = std::make_shared<TRecordingRenderer>();
    SelectRenderer(other, present::TScreenFlags::None);
    EXPECT_EQ(CurrentScreen(), nullptr);
    EXPECT_EQ(CurrentRenderer(), other);
    EXPECT_EQ(OpenScreen(400, 300, 0, 60, present::TScreenFlags::None)->flags,
              present::TScreenFlags::None);
    EXPECT_EQ(other->opens, 1);
}

TEST_F(ScreenTest, FullScreenCentresThePointer) {
    OpenScreen(801, 601, 32, 0, present::TScreenFlags::None);
    EXPECT_EQ(renderer->pointerMoves, (std::vector<std::pair<int, int>>{{400, 300}}));
    OpenScreen(800, 600, 0, 0, present::TScreenFlags::None);
    EXPECT_EQ(renderer->pointerMoves.size(), 1u);
}

TEST_F(ScreenTest, PresentAndCaptureNeedAScreen) {
    const int frames = PresentedFrames();
    PresentFrame(-1);
    TPixmap pixels;
    EXPECT_FALSE(CaptureScreen(pixels));
    EXPECT_EQ(PresentedFrames(), frames);
    EXPECT_TRUE(renderer->presents.empty());
}

TEST_F(ScreenTest, StartUpLeavesDirect3D7CurrentAndEachRendererExistsOnce) {
    InitPresent();
    const RendererRef direct3d7 = Direct3D7Renderer();
    ASSERT_NE(direct3d7, nullptr);
    EXPECT_EQ(Direct3D7Renderer(), direct3d7);
    EXPECT_EQ(OpenGLRenderer(), OpenGLRenderer());
    EXPECT_EQ(CurrentRenderer(), direct3d7);
    EXPECT_NE(std::dynamic_pointer_cast<TDirect3D7Renderer>(direct3d7), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<TOpenGLRenderer>(OpenGLRenderer()), nullptr);
}

// Says so on stderr when its screen is closed, so a test can see it from
// outside an exiting process.
class TAnnouncingRenderer : public TRecordingRenderer {
public:
    void Close() override { std::fputs("screen closed\n", stderr); }
};

TEST_F(ScreenTest, ProgramEndClosesTheScreenAndExitsWithZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SelectRenderer(std::make_shared<TAnnouncingRenderer>(), present::TScreenFlags::None);
    EXPECT_EXIT(
        {
            OpenScreen(400, 300, 0, 0, present::TScreenFlags::None);
            ExitProgram();
        },
        ::testing::ExitedWithCode(0), "screen closed");
    EXPECT_EXIT(
        {
            OpenScreen(400, 300, 0, 0, present::TScreenFlags::None);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "screen closed");
}

} // namespace
} // namespace present::testing
