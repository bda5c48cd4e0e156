// The window both renderers open for a screen on a display.
#pragma once

#include "screen.h"

#include <SDL.h>

namespace present {

// Starts SDL's video subsystem on first use; false when there is no display.
bool StartVideo();

// On X11, makes a lost connection to the display end the program at once with
// status 1 and one line on stderr. Called once the video subsystem has started.
void EndWhenTheDisplayIsLost();

// Opens the window of a screen: depth 0 gives a fixed-size window whose client
// area is exactly width x height; any other depth a full-screen display mode of
// that size, depth and refresh, or, where the display cannot switch to it, full
// screen at the desktop's size (the picture is then scaled to fit).
// extraFlags are added to the window flags (SDL_WINDOW_OPENGL). Null on failure.
SDL_Window* OpenScreenWindow(const TScreen& screen, Uint32 extraFlags);

// The largest rectangle of the logical aspect ratio centred in the output.
SDL_Rect LetterboxRect(int logicalWidth, int logicalHeight, int outputWidth, int outputHeight);

// Shows or hides the mouse pointer over a renderer's window; nothing without one.
void ShowPointerOver(SDL_Window* window, bool visible);

// Moves the pointer to (x, y) of a logical screen of width x height shown
// letterboxed in the window; nothing without a window.
void MovePointerOver(SDL_Window* window, int width, int height, int x, int y);

} // namespace present
