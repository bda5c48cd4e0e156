#include "recording_renderer.h"
#include "web/page_clock.h"

#include <cmath>

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

// The browser's platform: its clock never behind the last sleep, and a frame
// run at each animation frame whose time has come.
class TPagePlatform : public TPlatform {
public:
    double real = 1000000.25; // the page's time in ms, between two whole ones
    TPageClock clock{Now()};

    std::uint32_t Now() const { return static_cast<std::uint32_t>(real); }
    std::uint32_t Millis() override { return clock.Millis(Now()); }
    void Sleep(std::uint32_t ms) override { clock.Sleep(Now(), ms); }
    void PumpEvents() override {}
    bool Headless() const override { return true; }
};

TEST_F(PacingTest, ThePagesClockKeepsSixtyFramesASecondAtAnyRefreshRate) {
    for (const double hertz : {60.0, 75.0, 120.0, 144.0, 240.0}) {
        SCOPED_TRACE(hertz);
        auto page = std::make_shared<TPagePlatform>();
        SetPlatform(page);
        OpenWindow();
        const double start = page->real;
        std::vector<double> shown;
        for (int tick = 1; tick <= hertz * 10; ++tick) {
            page->real = start + tick * 1000.0 / hertz;
            if (page->clock.FrameDue(page->Now())) {
                PresentFrame(-1);
                shown.push_back(page->real);
            }
        }
        // Ten seconds: 600 frames, give or take the one at the edge.
        EXPECT_NEAR(static_cast<double>(shown.size()), 600.0, 1.0);
        // Each frame on the animation frame nearest its time: no two in one
        // slot, none skipped. (The first runs at once, as the desktop's first
        // frame starts at once, and is shown one slot early.)
        double shortest = 1000;
        double longest = 0;
        for (std::size_t i = 2; i < shown.size(); ++i) {
            shortest = std::min(shortest, shown[i] - shown[i - 1]);
            longest = std::max(longest, shown[i] - shown[i - 1]);
        }
        // The schedule's 16 and 17 ms steps, each frame up to a refresh late.
        EXPECT_GT(shortest, 15 - 1000.0 / hertz) << "longest " << longest;
        EXPECT_LT(longest, 18 + 1000.0 / hertz) << "shortest " << shortest;
    }
}

} // namespace
} // namespace present::testing
