// The screen, its drawing state and its frame pacing.
#pragma once

#include <present/present.h>

#include <cstdint>
#include <memory>

namespace present {

class TFont;

// The one current drawing state; created fresh with these defaults by every
// OpenScreen.
struct DrawState {
    int red = 255, green = 255, blue = 255;
    float alpha = 1.0f;
    int clearRed = 0, clearGreen = 0, clearBlue = 0;
    float lineWidth = 1.0f;
    float rotation = 0;
    float scaleX = 1, scaleY = 1;
    float ix = 1, iy = 0, jx = 0, jy = 1;
    int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
    float originX = 0, originY = 0;
    float anchorX = 0, anchorY = 0;
    std::shared_ptr<const TFont> font;
    int blendMode = BlendMasked;
    std::weak_ptr<TScreen> screen;
    RendererRef renderer;
};

struct TScreen {
    int width = 0;
    int height = 0;
    int depth = 0;
    int refreshHz = 0;
    int flags = 0;
    int number = 0; // the screen number current when it was opened
    RendererRef renderer;
    DrawState state;

    // Frame pacing.
    bool softwarePacing = false;
    int period = 0;
    int remainder = 0;
    int accumulator = 0;
    std::uint32_t target = 0;

    bool Fullscreen() const { return depth != 0; }
};

// The current screen (Null when none is open) and the current screen number,
// advanced by every OpenScreen and CloseScreen and never 0.
ScreenRef CurrentScreen();
int CurrentScreenNumber();
// The current drawing state. With no screen open it is a detached state that
// no renderer sees and the next OpenScreen replaces.
DrawState& State();

// Gives the screen a fresh drawing state with the defaults.
void ResetDrawState(const ScreenRef& screen);
// Hands the drawing state's blend mode, matrix and colour to its renderer.
void ApplyDrawState(const DrawState& state);

} // namespace present
