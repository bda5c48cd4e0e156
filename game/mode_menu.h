// The selection window's menu: four screen modes and two renderers.
#pragma once

#include "program.h"

#include <cstdint>

namespace morvel {

struct TModeChoice {
    int mode = 3;
    int width = 1024;
    int height = 768;
    int depth = 32; // 0 = window
    bool openGL = false;
};

struct TMenuLine {
    int y;
    const char* text;
};

inline constexpr TMenuLine kMenuLines[9] = {
    {0, "Select graphics mode"}, {15, "--------------------"}, {30, "[1] - 800x600 (windowed)"},
    {45, "[2] - 800x600"},       {60, "[3] - 1024x768"},       {75, "[4] - 1280x768 (widescreen)"},
    {105, "[x] - DirectX"},      {120, "[g] - OpenGL"},        {150, "[ENTER] - To continue"},
};

// The highlight's green: swings between red and yellow once every 1440 ms.
int PulseGreen(std::uint32_t millis);

// Selects screen mode 1 to 4; anything else leaves the choice unchanged.
void SelectMode(TModeChoice& choice, int mode);

// Reads 1, 2, 3, 4, X and G in that order, so the later key wins; then a
// controller's d-pad, for a player without a keyboard: down and up step
// through the modes (stopping at the first and the last), left picks DirectX
// and right OpenGL.
void ReadMenuKeys(TModeChoice& choice);

void DrawModeMenu(const TModeChoice& choice, std::uint32_t millis);

enum class TMenuStep { Again, Play, Stop };

// One frame of the menu: drawn, keys read, presented. Play once Enter was
// pressed, Stop when a quit request or the frame limit came first.
TMenuStep StepModeMenu(TModeChoice& choice, TFrameCounter& frames);

// Shows the menu until Enter. False when a quit request or the frame limit
// stopped it first.
bool RunModeMenu(TModeChoice& choice, TFrameCounter& frames);

} // namespace morvel
