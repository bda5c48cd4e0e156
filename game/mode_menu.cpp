#include "mode_menu.h"

#include <present/present.h>

#include <algorithm>
#include <cmath>

namespace morvel {

namespace {

struct TScreenMode {
    int key;
    int width;
    int height;
    int depth;
};

constexpr TScreenMode kScreenModes[4] = {
    {present::key::One, 800, 600, 0},
    {present::key::One + 1, 800, 600, 32},
    {present::key::One + 2, 1024, 768, 32},
    {present::key::One + 3, 1280, 768, 32},
};

constexpr int kFirstModeLine = 2;
constexpr int kDirectXLine = 6;
constexpr int kOpenGLLine = 7;

void DrawMenuLine(int index) {
    present::DrawString(kMenuLines[index].text, 0, static_cast<float>(kMenuLines[index].y));
}

} // namespace

int PulseGreen(std::uint32_t millis) {
    return static_cast<int>(std::trunc(present::SinDeg(millis * 0.25) * 127 + 127));
}

void SelectMode(TModeChoice& choice, int mode) {
    if (mode < 1 || mode > 4) {
        return;
    }
    const TScreenMode& screenMode = kScreenModes[mode - 1];
    choice.mode = mode;
    choice.width = screenMode.width;
    choice.height = screenMode.height;
    choice.depth = screenMode.depth;
}

void ReadMenuKeys(TModeChoice& choice) {
    for (int mode = 1; mode <= 4; ++mode) {
        if (present::KeyPressCount(kScreenModes[mode - 1].key) != 0) {
            SelectMode(choice, mode);
        }
    }
    if (present::KeyPressCount(present::key::X) != 0) {
        choice.openGL = false;
    }
    if (present::KeyPressCount(present::key::G) != 0) {
        choice.openGL = true;
    }
    const int step =
        present::KeyPressCount(present::key::PadDown) - present::KeyPressCount(present::key::PadUp);
    SelectMode(choice, std::clamp(choice.mode + step, 1, 4));
    if (present::KeyPressCount(present::key::PadLeft) != 0) {
        choice.openGL = false;
    }
    if (present::KeyPressCount(present::key::PadRight) != 0) {
        choice.openGL = true;
    }
}

void DrawModeMenu(const TModeChoice& choice, std::uint32_t millis) {
    present::ClearScreen();
    present::SetDrawColour(255, 255, 255);
    for (int i = 0; i < 9; ++i) {
        DrawMenuLine(i);
    }
    present::SetDrawColour(255, PulseGreen(millis), 0);
    DrawMenuLine(kFirstModeLine + choice.mode - 1);
    DrawMenuLine(choice.openGL ? kOpenGLLine : kDirectXLine);
}

TMenuStep StepModeMenu(TModeChoice& choice, TFrameCounter& frames) {
    DrawModeMenu(choice, present::ClockMillis());
    ReadMenuKeys(choice);
    if (frames.PresentFrame() || present::QuitRequested() != 0) {
        return TMenuStep::Stop;
    }
    if (present::KeyPressCount(present::key::Enter) != 0) {
        return TMenuStep::Play;
    }
    return TMenuStep::Again;
}

bool RunModeMenu(TModeChoice& choice, TFrameCounter& frames) {
    TMenuStep step = TMenuStep::Again;
    while (step == TMenuStep::Again) {
        step = StepModeMenu(choice, frames);
    }
    return step == TMenuStep::Play;
}

} // namespace morvel
