#include "frame_intervals.h"
#include "mode_menu.h"
#include "run_fixture.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace morvel {
namespace {

TEST_F(ProgramRun, EnterAtOnceShowsOneMenuFrameThenTheDefaultFullScreen) {
    Press(0, present::key::Enter);
    ASSERT_EQ(Run(3), 0);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].width, 400);
    EXPECT_EQ(frames[0].height, 300);
    EXPECT_EQ(frames[0].depth, 0);
    EXPECT_FALSE(frames[0].hasBlob);
    EXPECT_TRUE(frames[0].pointerVisible);
    for (int i = 1; i < 3; ++i) {
        EXPECT_FALSE(frames[i].pointerVisible) << "full screen hides the pointer";
        EXPECT_EQ(frames[i].width, 1024);
        EXPECT_EQ(frames[i].height, 768);
        EXPECT_EQ(frames[i].depth, 32);
        EXPECT_TRUE(frames[i].direct3D7);
        EXPECT_TRUE(frames[i].hasBlob);
    }
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(halfWidth, 512);
    EXPECT_EQ(halfHeight, 384);
    EXPECT_EQ(screenDepth, 32);
    // The game's objects are gone once the run is over.
    EXPECT_EQ(blob, nullptr);
    EXPECT_EQ(level, nullptr);
}

TEST_F(ProgramRun, ModeOneOpensAPacedWindowAfterTheMenuFrames) {
    Press(0, '1');
    // Arrives once three menu frames have been presented, in time for the third's Enter test.
    Press(3, present::key::Enter);
    ASSERT_EQ(Run(7), 0);
    ASSERT_EQ(frames.size(), 7u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(frames[i].width, 400) << "menu frame " << i;
    }
    EXPECT_EQ(frames[3].width, 800);
    EXPECT_EQ(frames[3].height, 600);
    EXPECT_EQ(frames[3].depth, 0);
    EXPECT_TRUE(frames[3].pointerVisible);
    EXPECT_EQ(screenDepth, 0);
    // Paced presentation: 16, 17, 17 ms a frame, 50 ms every three.
    EXPECT_EQ(frames[6].clock - frames[3].clock, 50u);
}

TEST_F(ProgramRun, LaterModeKeyOfTheSameFrameWins) {
    Press(0, '4');
    Press(0, '1');
    Press(0, present::key::Enter);
    ASSERT_EQ(Run(2), 0);
    EXPECT_EQ(frames[1].width, 1280);
    EXPECT_EQ(frames[1].height, 768);
    EXPECT_EQ(frames[1].depth, 32);
}

TEST_F(ProgramRun, KeysPressedInTheMenuDoNotReachTheGame) {
    Press(0, '1');
    Press(0, present::key::Escape);
    Press(0, present::key::Space);
    Press(1, present::key::Enter);
    ASSERT_EQ(Run(8), 0);
    // An Escape left over from the menu would have ended the game after its first frame.
    EXPECT_EQ(frames.size(), 8u);
}

TEST_F(ProgramRun, EscapeEndsTheGameOnceItsFrameIsPresented) {
    Press(0, '1');
    Press(0, present::key::Enter);
    Press(3, present::key::Escape);
    ASSERT_EQ(Run(100), 0);
    // Read at the end of the frame that brought the count to three: nothing after it.
    EXPECT_EQ(frames.size(), 3u);
}

TEST_F(ProgramRun, FrameLimitCanEndTheMenu) {
    ASSERT_EQ(Run(4), 0);
    ASSERT_EQ(frames.size(), 4u);
    for (const TFrameRecord& frame : frames) {
        EXPECT_EQ(frame.width, 400);
        EXPECT_FALSE(frame.hasBlob);
    }
}

TEST_F(ProgramRun, MenuShowsItsLinesWithTheSelectionPulsing) {
    Capture(0);
    Press(0, present::key::Enter);
    ASSERT_EQ(Run(1), 0);
    ASSERT_EQ(shots.count(0), 1u);
    const present::TPixmap& menu = shots[0];
    ASSERT_EQ(menu.width, 400);
    ASSERT_EQ(menu.height, 300);

    // The highlight has one green for the whole frame; find it on the mode line.
    int green = -1;
    for (int g = 0; g <= 255 && green < 0; ++g) {
        if (g != 255 && FindColour(menu, 0, 61, 400, 74, 255, g, 0).count > 0) {
            green = g;
        }
    }
    ASSERT_GE(green, 0) << "no highlight on the selected mode";

    for (int i = 0; i < 9; ++i) {
        const TMenuLine& line = kMenuLines[i];
        const bool selected = line.y == 60 || line.y == 105;
        const TColourSpan span =
            selected ? FindColour(menu, 0, line.y + 1, 400, line.y + 14, 255, green, 0)
                     : FindColour(menu, 0, line.y + 1, 400, line.y + 14, 255, 255, 255);
        const int length = static_cast<int>(std::strlen(line.text));
        EXPECT_GT(span.count, 0) << line.text;
        EXPECT_LT(span.left, 8) << line.text;
        EXPECT_GE(span.right, 8 * (length - 1)) << line.text;
        EXPECT_LT(span.right, 8 * length) << line.text;
        if (selected) {
            // Drawn again over the white line: nothing of the white one shows.
            EXPECT_EQ(FindColour(menu, 0, line.y + 1, 400, line.y + 14, 255, 255, 255).count, 0)
                << line.text;
        }
    }
}

TEST_F(ProgramRun, OverlayShowsTitleControlsAndCreditInTheirColours) {
    Capture(1);
    Press(0, '1');
    Press(0, present::key::Enter);
    ASSERT_EQ(Run(2), 0);
    ASSERT_EQ(shots.count(1), 1u);
    const present::TPixmap& game = shots[1];
    ASSERT_EQ(game.width, 800);
    ASSERT_EQ(game.height, 600);

    struct TExpected {
        int y, length, green;
    };
    const TExpected lines[] = {{15, 30, 0},   {30, 30, 32},   {60, 24, 63},  {75, 26, 95},
                               {90, 24, 127}, {120, 23, 159}, {150, 15, 191}};
    for (const TExpected& line : lines) {
        const TColourSpan colour =
            FindColour(game, 0, line.y, 400, line.y + 16, 0, line.green, 255);
        EXPECT_GT(colour.count, 0) << "line at " << line.y;
        EXPECT_GE(colour.left, 15) << "line at " << line.y;
        EXPECT_LT(colour.right, 15 + 8 * line.length) << "line at " << line.y;
        EXPECT_GE(colour.right, 15 + 8 * (line.length - 1)) << "line at " << line.y;
        // The black shadow shows to the right of and below the coloured text.
        const TColourSpan shadow = FindColour(game, 0, line.y, 400, line.y + 18, 0, 0, 0);
        EXPECT_GT(shadow.right, colour.right) << "line at " << line.y;
    }

    const int creditX = 800 - 175;
    const int creditY = 600 - 30;
    const TColourSpan white = FindColour(game, 600, creditY, 800, creditY + 16, 255, 255, 255);
    const TColourSpan green = FindColour(game, 600, creditY, 800, creditY + 16, 0, 255, 0);
    ASSERT_GT(white.count, 0);
    ASSERT_GT(green.count, 0);
    EXPECT_GE(white.left, creditX);
    EXPECT_LT(white.right, creditX + 80);
    EXPECT_GE(green.left, creditX + 88);
    EXPECT_LT(green.right, creditX + 88 + 56);
    const TColourSpan shadow = FindColour(game, 600, creditY, 800, creditY + 19, 0, 0, 0);
    EXPECT_GT(shadow.right, green.right);
}

// A quit request (here SIGTERM, as kill sends it) ends the menu and the game
// with the normal shutdown.
TEST_F(ProgramRun, ATerminationSignalEndsTheMenuAndTheGame) {
    platform->onPresent = [](int) { std::raise(SIGTERM); };
    EXPECT_EQ(Run(50), 0);
    EXPECT_EQ(present::CurrentScreen(), nullptr);

    int gameFrames = 0;
    platform->onPresent = [&gameFrames](int) {
        if (blob && ++gameFrames == 3) {
            std::raise(SIGTERM);
        }
    };
    Press(0, present::key::Enter);
    EXPECT_EQ(Run(50), 0);
    EXPECT_EQ(gameFrames, 3);
    EXPECT_EQ(blob, nullptr);
}

// A system without Direct3D 7 whose OpenGL cannot open a window either.
class TNoScreenPlatform : public present::THeadlessPlatform {
public:
    TNoScreenPlatform() : THeadlessPlatform(1000000) {}
    bool OffersDirect3D7() const override { return false; }
};

// The figures MORVEL_FRAME_STATS prints: 60 frames a second as the pacing
// schedules them (16, 17, 17 ms) with two late ones.
TEST(FrameIntervals, SummariseMeanPercentilesAndLateFrames) {
    TFrameIntervals intervals;
    for (int i = 0; i < 297; ++i) {
        intervals.Add(i % 3 == 0 ? 16000 : 17000);
    }
    intervals.Add(20000); // on the limit: not late
    intervals.Add(35000);
    intervals.Add(300000); // beyond the histogram, still counted
    const TIntervalSummary s = intervals.Summary();
    EXPECT_EQ(s.count, 300);
    EXPECT_NEAR(s.meanMillis, (99 * 16 + 198 * 17 + 20 + 35 + 300) / 300.0, 1e-9);
    EXPECT_NEAR(s.medianMillis, 17.0, 0.01);
    EXPECT_NEAR(s.percentile99Millis, 17.0, 0.01);
    EXPECT_NEAR(s.maxMillis, 300.0, 1e-9);
    EXPECT_EQ(s.late, 2);
    EXPECT_NE(FormatSummary("OpenGL", s).find("OpenGL: 301 frames, interval mean 17.683 ms"),
              std::string::npos)
        << FormatSummary("OpenGL", s);
}

TEST(ProgramFailure, AScreenThatCannotOpenStopsWithOneLineAndStatusOne) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    present::SetPlatform(std::make_shared<TNoScreenPlatform>());
    testing::internal::CaptureStderr();
    const int status = RunMorvel({5});
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(message, "morvel: cannot open the 400 x 300 window for the mode menu\n");
    EXPECT_EQ(present::CurrentScreen(), nullptr);
}

} // namespace
} // namespace morvel
