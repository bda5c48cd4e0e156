// The title, the controls and the engine credit drawn over the game in screen
// coordinates.
#pragma once

namespace morvel {

struct TOverlayLine {
    const char* text;
    int x, y; // where the coloured pass draws it; the shadow sits 2 pixels right and down
    int red, green, blue;
};

inline constexpr int kShadowOffset = 2;

inline constexpr TOverlayLine kOverlayLines[7] = {
    {"Morvel (Prototype) by Tarquell", 15, 15, 0, 0, 255},
    {"------ ----------- -- --------", 15, 30, 0, 32, 255},
    {"[LEFT ARROW] - Roll left", 15, 60, 0, 63, 255},
    {"[RIGHT ARROW] - Roll right", 15, 75, 0, 95, 255},
    {"[UP ARROW] - Bounce/Jump", 15, 90, 0, 127, 255},
    {"[SPACEBAR] - Reset blob", 15, 120, 0, 159, 255},
    {"[ESCAPE] - Exit", 15, 150, 0, 191, 255},
};

// The credit's offsets from the bottom right corner of the screen (colour pass).
inline constexpr int kCreditRight = 175;
inline constexpr int kCreditBottom = 30;
// Width of "Powered by " in the 8-pixel font: the green name starts there.
inline constexpr int kCreditNameOffset = 88;

void DrawOverlay(int screenWidth, int screenHeight);

} // namespace morvel
