#include "driver_options.h"
#include "key_script.h"
#include "trace.h"

#include <gtest/gtest.h>

#include <SDL_gamecontroller.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>
#include <tuple>

namespace morvel_script {
namespace {

TScriptResult Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseKeyScript(in, "keys.txt");
}

TEST(KeyScript, ReadsEventsCommentsAndPresses) {
    const TScriptResult result = Parse("# start\n"
                                       "0 press ENTER   # leave the menu\n"
                                       "\n"
                                       "  12 down right\n"
                                       "40 up RIGHT\n"
                                       "41 press 3\n"
                                       "42 press 65\n");
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.events.size(), 8u);
    EXPECT_EQ(result.events[0].frame, 0);
    EXPECT_EQ(result.events[0].key, 13);
    EXPECT_TRUE(result.events[0].down);
    EXPECT_EQ(result.events[1].key, 13);
    EXPECT_FALSE(result.events[1].down);
    EXPECT_EQ(result.events[2].frame, 12);
    EXPECT_EQ(result.events[2].key, 39);
    EXPECT_TRUE(result.events[2].down);
    EXPECT_FALSE(result.events[3].down);
    EXPECT_EQ(result.events[4].key, 51); // the digit key, not code 3
    EXPECT_EQ(result.events[6].key, 65);
    EXPECT_EQ(result.events[6].frame, 42);
}

TEST(KeyScript, MalformedLinesNameTheFileAndLine) {
    const char* bad[] = {
        "5 press\n",
        "x press ENTER\n",
        "-1 press ENTER\n",
        "5 hold ENTER\n",
        "5 press F13\n",
        "5 press 256\n",
        "5 press ENTER now\n",
        "99999999999 press G\n",
        "5 press 1.5\n",
        "5\n",
        "5 press PAD_Z\n",
        "5 axis LEFTX\n",
        "5 axis RIGHTX 0\n",
        "5 axis LEFTX 32768\n",
        "5 axis LEFTX -32769\n",
        "5 axis LEFTX 1e3\n",
        "5 axis LEFTX --5\n",
        "5 pad-remove now\n",
        "5 pad-add PAD_A\n",
        "5 axis LEFTX 5 5\n",
    };
    for (const char* line : bad) {
        const TScriptResult result = Parse(std::string("0 press 1\n") + line);
        EXPECT_EQ(result.error.rfind("keys.txt:2: ", 0), 0u) << line << " gave " << result.error;
        EXPECT_TRUE(result.events.empty()) << line;
    }
}

// Pad lines go to the pad's own events, in the script's order, and never
// into the keys.
TEST(KeyScript, ReadsPadEvents) {
    const TScriptResult result = Parse("3 press pad_start\n"
                                       "4 down PAD_LEFT\n"
                                       "5 axis LEFTX -32768\n"
                                       "5 axis lefty 32767\n"
                                       "6 pad-remove\n"
                                       "7 pad-add\n"
                                       "8 up PAD_X\n"
                                       "8 press LEFT\n");
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.events.size(), 2u);
    using present::TPadAction;
    const std::vector<std::tuple<int, TPadAction::TKind, int, int>> expected = {
        {3, TPadAction::Button, SDL_CONTROLLER_BUTTON_START, 1},
        {3, TPadAction::Button, SDL_CONTROLLER_BUTTON_START, 0},
        {4, TPadAction::Button, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1},
        {5, TPadAction::Axis, SDL_CONTROLLER_AXIS_LEFTX, -32768},
        {5, TPadAction::Axis, SDL_CONTROLLER_AXIS_LEFTY, 32767},
        {6, TPadAction::Unplug, 0, 0},
        {7, TPadAction::Plug, 0, 0},
        {8, TPadAction::Button, SDL_CONTROLLER_BUTTON_X, 0},
    };
    ASSERT_EQ(result.padEvents.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TPadEvent& event = result.padEvents[i];
        EXPECT_EQ(std::make_tuple(event.frame, event.action.kind, event.action.control,
                                  event.action.value),
                  expected[i])
            << "event " << i;
    }
}

TEST(KeyNames, CoverTheGameKeys) {
    EXPECT_EQ(KeyCode("ESCAPE"), 27);
    EXPECT_EQ(KeyCode("SPACE"), 32);
    EXPECT_EQ(KeyCode("LEFT"), 37);
    EXPECT_EQ(KeyCode("UP"), 38);
    EXPECT_EQ(KeyCode("DOWN"), 40);
    EXPECT_EQ(KeyCode("4"), 52);
    EXPECT_EQ(KeyCode("x"), 88);
    EXPECT_EQ(KeyCode("G"), 71);
    EXPECT_EQ(KeyCode("0"), 0);
    EXPECT_EQ(KeyCode(""), std::nullopt);
}

TOptionsResult ParseArgs(std::vector<std::string> arguments) {
    return ParseDriverOptions(arguments);
}

TEST(DriverOptions, DefaultsAndEveryOption) {
    const TOptionsResult defaults = ParseArgs({});
    ASSERT_EQ(defaults.error, "");
    EXPECT_EQ(defaults.options.clockStart, 1000000u);
    EXPECT_EQ(defaults.options.frames, 0);
    EXPECT_FALSE(defaults.options.openGL);

    const TOptionsResult all = ParseArgs(
        {"--input", "k.txt", "--clock-start", "4294967295", "--frames", "300", "--screenshot",
         "10:a.png", "--screenshot", "20:dir/b:c.png", "--trace", "t.csv", "--renderer", "gl"});
    ASSERT_EQ(all.error, "");
    EXPECT_EQ(all.options.inputPath, "k.txt");
    EXPECT_EQ(all.options.clockStart, 4294967295u);
    EXPECT_EQ(all.options.frames, 300);
    ASSERT_EQ(all.options.screenshots.size(), 2u);
    EXPECT_EQ(all.options.screenshots[1].frame, 20);
    EXPECT_EQ(all.options.screenshots[1].path, "dir/b:c.png");
    EXPECT_EQ(all.options.tracePath, "t.csv");
    EXPECT_TRUE(all.options.openGL);
}

TEST(DriverOptions, BadArgumentsAreRejected) {
    const std::vector<std::vector<std::string>> bad = {
        {"--frames"},
        {"--frames", "0"},
        {"--frames", "-3"},
        {"--frames", "2x"},
        {"--clock-start", "4294967296"},
        {"--screenshot", "5"},
        {"--screenshot", "5:"},
        {"--screenshot", ":a.png"},
        {"--renderer", "vulkan"},
        {"--verbose"},
        {"input.txt"},
    };
    for (const auto& arguments : bad) {
        EXPECT_NE(ParseArgs(arguments).error, "") << arguments.front();
    }
}

TEST(Trace, RowsKeepFloatsExactly) {
    EXPECT_EQ(TraceHeader(), "frame,clock,x,y,vx,vy,speed,direction,finished,passes\n");
    EXPECT_EQ(TraceLine({7, 1000117, 25.0f, 850.5f, 0.1f, -0.25f, 1e-7f, -1, 1, 6}),
              "7,1000117,25,850.5,0.1,-0.25,1e-07,-1,1,6\n");
}

// The trace's floats are written without std::to_chars, which the browser
// build lacks, yet must come out as its very bytes, so that a trace from the
// browser's arithmetic compares byte for byte with the desktop's.
TEST(Trace, FloatsAreWrittenAsToCharsWritesThem) {
    std::vector<float> values = {0.0f, -0.0f, 1.0f, 10.0f, 100000.0f, 1234567.0f, 123456792.0f,
                                 1e-4f, 1e-5f, 0.001f, 3.0e38f, 1e-45f, 16777216.0f, 2048.0f};
    std::uint32_t bits = 12345;
    for (int i = 0; i < 100000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
        // Values of the game's own sizes: positions, speeds, small steps.
        values.push_back(static_cast<float>(bits % 2000000) / 1024.0f - 900.0f);
    }
    for (const float value : values) {
        char text[64];
        char* end = std::to_chars(text, text + sizeof text, value).ptr;
        ASSERT_EQ(Shortest(value), std::string(text, static_cast<std::size_t>(end - text))) << value;
    }
}

} // namespace
} // namespace morvel_script
