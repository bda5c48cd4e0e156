// Where the stand-in's frames are shown on a display: a window (or full
// screen) with an SDL renderer and one streaming texture of the frame's size.
// Presenting uploads the frame buffer into the texture and draws it unscaled,
// or scaled and letterboxed when full screen fell back to the desktop's size.
// Where OpenGL itself runs on the processor, SDL's software renderer shows the
// frame instead, with no vertical sync (the pacing then keeps the rate).
#pragma once

#include "frame_buffer.h"
#include "screen.h"

#include <SDL.h>

namespace present {

class TDisplayOutput {
public:
    TDisplayOutput() = default;
    ~TDisplayOutput() { Close(); }
    TDisplayOutput(const TDisplayOutput&) = delete;
    TDisplayOutput& operator=(const TDisplayOutput&) = delete;

    bool Open(const TScreen& screen);
    void Close();
    bool IsOpen() const { return window != nullptr; }
    void Show(const TFrameBuffer& frame, bool vsync);
    void SetPointerVisible(bool visible);
    // x, y in the frame's coordinates.
    void MovePointer(int x, int y);

private:
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    bool vsyncOn = false;
};

} // namespace present
