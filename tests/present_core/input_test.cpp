#include "input.h"
#include "pad_keys.h"
#include "recording_renderer.h"
#include "web/dom_keys.h"
#include <present/sdl_platform.h>

#include <cstdlib>

#include <SDL.h>

namespace present::testing {
namespace {

using InputTest = PresentTest;

TEST_F(InputTest, PressesAreCountedOnceEachAndCountsAreTakenOnRead) {
    OpenWindow();
    KeyDownEvent(key::Right);
    KeyUpEvent(key::Right);
    KeyDownEvent(key::Right);
    EXPECT_EQ(KeyPressCount(key::Right), 2);
    EXPECT_EQ(KeyPressCount(key::Right), 0);
    // Auto-repeat while held changes nothing.
    KeyDownEvent(key::Right);
    KeyDownEvent(key::Right);
    EXPECT_EQ(KeyPressCount(key::Right), 0);
    EXPECT_EQ(IsKeyDown(key::Right), 1);
    KeyUpEvent(key::Right);
    EXPECT_EQ(IsKeyDown(key::Right), 0);
}

TEST_F(InputTest, HeldStateLastsAcrossFramesUntilTheKeyComesUp) {
    OpenWindow();
    platform->ScheduleKey(PresentedFrames() + 1, key::Left, true);
    platform->ScheduleKey(PresentedFrames() + 4, key::Left, false);
    std::vector<int> held;
    for (int frame = 0; frame < 6; ++frame) {
        held.push_back(IsKeyDown(key::Left));
        PresentFrame(0);
    }
    EXPECT_EQ(held, (std::vector<int>{0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(KeyPressCount(key::Left), 1);
}

TEST_F(InputTest, FocusChangesAndScreenChangesClearBothTables) {
    OpenWindow();
    KeyDownEvent(key::Up);
    FocusChangeEvent();
    EXPECT_EQ(IsKeyDown(key::Up), 0);
    EXPECT_EQ(KeyPressCount(key::Up), 0);

    // A press on the menu screen, not yet counted, must not reach the next screen.
    KeyDownEvent(key::Escape);
    CloseScreen();
    EXPECT_FALSE(InputActive());
    KeyDownEvent(key::Space);
    OpenWindow();
    EXPECT_EQ(KeyPressCount(key::Escape), 0);
    EXPECT_EQ(IsKeyDown(key::Escape), 0);
    EXPECT_EQ(KeyPressCount(key::Space), 0);

    // Opening over an open screen clears too.
    KeyDownEvent(key::Enter);
    OpenWindow();
    EXPECT_EQ(KeyPressCount(key::Enter), 0);
}

TEST_F(InputTest, KeysOutsideTheTablesAreIgnored) {
    OpenWindow();
    KeyDownEvent(-1);
    KeyDownEvent(256);
    KeyUpEvent(1000);
    EXPECT_EQ(KeyPressCount(-1), 0);
    EXPECT_EQ(KeyPressCount(256), 0);
    EXPECT_EQ(IsKeyDown(1 << 30), 0);
    KeyDownEvent(255);
    EXPECT_EQ(KeyPressCount(255), 1);
}

// The keyboard and the pads hold a key apart, and so do a pad's d-pad and
// stick: letting go of one must not release a key another still holds.
TEST_F(InputTest, EveryHolderOfAKeyMustLetGoBeforeItComesUp) {
    OpenWindow();
    KeyDownEvent(key::Left);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    PadAxisEvent(2, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(KeyPressCount(key::Left), 1);
    KeyUpEvent(key::Left);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    PadAxisEvent(2, SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(IsKeyDown(key::Left), 1);
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_LEFTX, -kStickDeadZone);
    EXPECT_EQ(IsKeyDown(key::Left), 0);
    EXPECT_EQ(KeyPressCount(key::Left), 0);

    // Past the dead zone only, and only the left stick's x.
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_LEFTX, kStickDeadZone);
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_LEFTY, 32767);
    EXPECT_EQ(IsKeyDown(key::Right), 0);
    PadAxisEvent(1, SDL_CONTROLLER_AXIS_LEFTX, kStickDeadZone + 1);
    EXPECT_EQ(IsKeyDown(key::Right), 1);

    // A pad that goes lets go of all it held, the d-pad's own codes too.
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_A, true);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_MAX, true);
    PadRemovedEvent(1);
    EXPECT_EQ(IsKeyDown(key::Right), 0);
    EXPECT_EQ(IsKeyDown(key::PadUp), 0);
    EXPECT_EQ(IsKeyDown(key::Up), 0);
    EXPECT_EQ(KeyPressCount(key::Up), 1);
    PadRemovedEvent(2);
}

// Back and Start together on one pad quit; either alone, or one on each of
// two pads, does not.
TEST_F(InputTest, BackWithStartOnOnePadIsAQuitRequest) {
    OpenWindow();
    WatchQuitRequests();
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_BACK, true);
    PadButtonEvent(2, SDL_CONTROLLER_BUTTON_START, true);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_BACK, false);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(QuitRequested(), 0);
    EXPECT_EQ(KeyPressCount(key::Enter), 1);
    PadButtonEvent(1, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(QuitRequested(), 1);
    PadRemovedEvent(1);
    PadRemovedEvent(2);
    WatchQuitRequests();
}

TEST_F(InputTest, MouseEventsReachTheTablesAtTheirFramesAndScreenChangesReleaseButtons) {
    OpenWindow();
    platform->ScheduleMouseMove(PresentedFrames() + 1, 120, 45);
    platform->ScheduleMouseButton(PresentedFrames() + 1, 1, true);
    int x = -1, y = -1;
    GetMousePosition(x, y);
    EXPECT_EQ(IsMouseButtonDown(1), 0);
    PresentFrame(0);
    GetMousePosition(x, y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 45);
    EXPECT_EQ(IsMouseButtonDown(1), 1);
    EXPECT_EQ(IsMouseButtonDown(3), 0);
    EXPECT_EQ(IsMouseButtonDown(0), 0);
    EXPECT_EQ(IsMouseButtonDown(4), 0);
    MouseButtonEvent(7, true);
    FocusChangeEvent();
    EXPECT_EQ(IsMouseButtonDown(1), 0);
    MouseButtonEvent(3, true);
    OpenWindow();
    EXPECT_EQ(IsMouseButtonDown(3), 0);
}

TEST(SdlKeyMapping, MapsTheGameKeysToVirtualKeyCodes) {
    const std::pair<int, int> expected[] = {
        {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32},
        {SDLK_LEFT, 37},   {SDLK_UP, 38},       {SDLK_RIGHT, 39},  {SDLK_DOWN, 40},
        {SDLK_0, 48},      {SDLK_1, 49},        {SDLK_4, 52},      {SDLK_9, 57},
        {SDLK_a, 65},      {SDLK_g, 71},        {SDLK_x, 88},      {SDLK_z, 90},
        {SDLK_KP_0, 96},   {SDLK_KP_1, 97},     {SDLK_KP_9, 105},  {SDLK_F1, 112},
        {SDLK_F12, 123},   {SDLK_LSHIFT, 16},   {SDLK_RCTRL, 17},  {SDLK_SEMICOLON, 186},
        {SDLK_QUOTE, 222}, {SDLK_UNKNOWN, -1},  {SDLK_F13, -1}};
    for (const auto& [sdl, vk] : expected) {
        EXPECT_EQ(VirtualKeyFromSdl(sdl), vk) << sdl;
    }
}

// The browser's keys come as the event's key (the layout's character) and
// code (the place); the page must give the desktop's codes for the same keys,
// whatever Shift does to the character.
TEST(DomKeyMapping, GivesTheDesktopsCodesForTheSameKeys) {
    const struct {
        const char* key;
        const char* code;
        int vk;
    } expected[] = {
        {"Enter", "Enter", 13},       {"Enter", "NumpadEnter", 13}, {"Escape", "Escape", 27},
        {" ", "Space", 32},           {"ArrowLeft", "ArrowLeft", 37}, {"ArrowUp", "ArrowUp", 38},
        {"ArrowRight", "ArrowRight", 39}, {"ArrowDown", "ArrowDown", 40}, {"1", "Digit1", 49},
        {"!", "Digit1", 49},          {"4", "Digit4", 52},          {"g", "KeyG", 71},
        {"G", "KeyG", 71},            {"x", "KeyX", 88},            {"q", "KeyA", 81},
        {"1", "Numpad1", 97},         {"End", "Numpad1", 97},       {"0", "Numpad0", 96},
        {"F1", "F1", 112},            {"F12", "F12", 123},          {"F13", "F13", -1},
        {"F", "KeyF", 70},            {"Shift", "ShiftLeft", 16},   {";", "Semicolon", 186},
        {"Unidentified", "", -1},     {"Dead", "", -1},
    };
    for (const auto& [key, code, vk] : expected) {
        EXPECT_EQ(VirtualKeyFromDom(key, code), vk) << key << " " << code;
    }
}

// SDL's window events reach the key tables; SDL runs on its display-less
// driver so no window is needed.
class SdlEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetPlatform(std::make_shared<TSdlPlatform>());
        StartInput();
    }
    void TearDown() override {
        StopInput();
        SetPlatform(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    static void Push(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.repeat = repeat;
        SDL_PushEvent(&event);
    }
    static void PushWindow(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
};

TEST_F(SdlEventsTest, KeyEventsFillTheTablesAndRepeatsAreIgnored) {
    Push(SDL_KEYDOWN, SDLK_RIGHT);
    Push(SDL_KEYDOWN, SDLK_RIGHT, 1);
    EXPECT_EQ(IsKeyDown(key::Right), 1);
    // Focus loss clears the tables; the held key's repeats must not count again.
    PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
    Push(SDL_KEYDOWN, SDLK_RIGHT, 1);
    EXPECT_EQ(IsKeyDown(key::Right), 0);
    EXPECT_EQ(KeyPressCount(key::Right), 0);

    Push(SDL_KEYDOWN, SDLK_g);
    Push(SDL_KEYUP, SDLK_g);
    Push(SDL_KEYDOWN, SDLK_F13);
    EXPECT_EQ(KeyPressCount('G'), 1);
    EXPECT_EQ(IsKeyDown('G'), 0);
}

TEST_F(SdlEventsTest, MouseEventsGiveThePointerAndTheButtons) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 300;
    event.motion.y = 200;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 310;
    event.button.y = 205;
    SDL_PushEvent(&event);
    int x = 0, y = 0;
    GetMousePosition(x, y);
    EXPECT_EQ(x, 310);
    EXPECT_EQ(y, 205);
    EXPECT_EQ(IsMouseButtonDown(3), 1);
    event.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&event);
    EXPECT_EQ(IsMouseButtonDown(3), 0);
}

TEST_F(SdlEventsTest, ClosingTheWindowIsAQuitRequestNotAnEscape) {
    WatchQuitRequests();
    EXPECT_EQ(QuitRequested(), 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(QuitRequested(), 1);
    EXPECT_EQ(KeyPressCount(key::Escape), 0);
    WatchQuitRequests();
}

} // namespace
} // namespace present::testing
