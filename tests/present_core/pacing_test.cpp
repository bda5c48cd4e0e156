#include "recording_renderer.h"

namespace present::testing {
namespace {

class PacingTest : public PresentTest {
protected:
    // Presents count paced frames, spending work ms between them, and returns
    // the clock's steps from one present to the next.
    std::vector<std::uint32_t> Intervals(int count, std::uint32_t work = 0) {
        std::vector<std::uint32_t> times;
        platform->onPresent = [&](int) { times.push_back(platform->Millis()); };
        std::uint32_t last = platform->Millis();
        std::vector<std::uint32_t> steps;
        for (int i = 0; i < count; ++i) {
            platform->Sleep(work);
            PresentFrame(-1);
            steps.push_back(times.back() - last);
            last = times.back();
        }
        platform->onPresent = nullptr;
        return steps;
    }
};

TEST_F(PacingTest, WindowAtSixtyHertzRunsSixteenSeventeenSeventeen) {
    const ScreenRef screen = OpenWindow();
    EXPECT_TRUE(screen->softwarePacing);
    EXPECT_EQ(screen->period, 16);
    EXPECT_EQ(screen->remainder, 40);
    EXPECT_EQ(Intervals(6), (std::vector<std::uint32_t>{16, 17, 17, 16, 17, 17}));
    EXPECT_EQ(renderer->presents, std::vector<bool>(6, false));
}

TEST_F(PacingTest, LateFrameResetsTheScheduleInsteadOfShorteningTheNext) {
    OpenWindow();
    Intervals(3);
    EXPECT_EQ(Intervals(1, 40), std::vector<std::uint32_t>{40});
    // The schedule restarted at the late present: the next frames get their full
    // time, with the millisecond remainder carried on where it was.
    EXPECT_EQ(Intervals(3, 5), (std::vector<std::uint32_t>{17, 17, 16}));
}

TEST_F(PacingTest, ScheduleSurvivesTheClockWrapping) {
    platform = std::make_shared<THeadlessPlatform>(0xFFFFFFFFu - 20);
    SetPlatform(platform);
    OpenWindow();
    EXPECT_EQ(Intervals(6), (std::vector<std::uint32_t>{16, 17, 17, 16, 17, 17}));
}

TEST_F(PacingTest, ExplicitSyncAndUnpacedScreensPresentAtOnce) {
    const ScreenRef screen = OpenScreen(400, 300, 0, 0, present::TScreenFlags::None);
    renderer->Forget();
    EXPECT_FALSE(screen->softwarePacing);
    const std::uint32_t start = platform->Millis();
    const int frames = PresentedFrames();
    std::vector<int> indices;
    platform->onPresent = [&](int index) { indices.push_back(index); };
    PresentFrame(-1);
    PresentFrame(0);
    PresentFrame(1);
    platform->onPresent = nullptr;
    EXPECT_EQ(renderer->presents, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(indices, (std::vector<int>{frames, frames + 1, frames + 2}));
    EXPECT_EQ(PresentedFrames(), frames + 3);
    // Only the synced present waited (1 ms on the headless platform).
    EXPECT_EQ(platform->Millis() - start, 1u);
}

TEST_F(PacingTest, FullScreenWithoutVerticalBlankFallsBackToTheScheduleAfterASecond) {
    const std::uint32_t start = platform->Millis();
    const int frames = PresentedFrames();
    const ScreenRef screen = OpenScreen(800, 600, 32, 60, present::TScreenFlags::None);
    EXPECT_EQ(platform->Millis() - start, 1000u);
    EXPECT_EQ(PresentedFrames(), frames);
    EXPECT_TRUE(screen->softwarePacing);
    renderer->Forget();
    EXPECT_EQ(Intervals(3), (std::vector<std::uint32_t>{16, 17, 17}));
    EXPECT_EQ(renderer->presents, std::vector<bool>(3, false));
}

// A display whose vertical blank comes every 1000/60 ms.
class TSixtyHertzPlatform : public THeadlessPlatform {
public:
    void VerticalBlankPassed() override { Sleep(16); }
};

TEST_F(PacingTest, FullScreenWithWorkingVerticalSyncLeavesPacingToTheDisplay) {
    auto display = std::make_shared<TSixtyHertzPlatform>();
    SetPlatform(display);
    const std::uint32_t start = display->Millis();
    const ScreenRef screen = OpenScreen(800, 600, 32, 60, present::TScreenFlags::None);
    EXPECT_FALSE(screen->softwarePacing);
    EXPECT_EQ(display->Millis() - start, 3 * 16u);
    renderer->Forget();
    PresentFrame(-1);
    EXPECT_EQ(renderer->presents, std::vector<bool>{true});
}

} // namespace
} // namespace present::testing
