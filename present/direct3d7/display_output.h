// Where the stand-in's frames are shown on a display: a window (or full
// screen) with an SDL renderer and one streaming texture of the frame's size.
// Presenting uploads the frame buffer into the texture and draws it unscaled,
// or scaled and letterboxed when full screen fell back to the desktop's size.
// Where OpenGL itself runs on the processor, SDL's software renderer shows the
// frame instead, with no vertical sync (the pacing then keeps the rate). In
// the browser the frame goes onto the page's canvas.
#pragma once

#include "frame_buffer.h"
#include "screen.h"

#include <memory>

namespace present {

class TDisplayOutput {
public:
    TDisplayOutput();
    ~TDisplayOutput();
    TDisplayOutput(const TDisplayOutput&) = delete;
    TDisplayOutput& operator=(const TDisplayOutput&) = delete;

    bool Open(const TScreen& screen);
    void Close();
    void Show(const TFrameBuffer& frame, bool vsync);
    void SetPointerVisible(bool visible);
    // x, y in the frame's coordinates.
    void MovePointer(int x, int y);

private:
    // The platform's own: SDL's window, renderer and texture on the desktop,
    // the page's canvas in the browser.
    struct TSurface;
    std::unique_ptr<TSurface> surface;
};

} // namespace present
