// How drawing commands meet the drawing state: the placement of local points,
// the paint handed to the renderer, and textured frames at a position.
#pragma once

#include "renderer.h"
#include "screen.h"

namespace present {

// The current screen's drawing state, or nullptr when there is nothing to draw
// on (no screen open).
const TDrawState* DrawingTarget();

// Places local point (px, py) of a command translated to (tx, ty) through the
// state's matrix.
TVertex Place(const TDrawState& state, float px, float py, float tx, float ty);

TPaint Paint(const TDrawState& state);

// Draws frame number frame of image as the rectangle (-ax, -ay) .. (width - ax,
// height - ay) translated to (tx, ty); nothing when the frame has no renderer
// copy.
void DrawFrameAt(const TDrawState& state, TImage& image, int frame, float tx, float ty, float ax,
                 float ay);

} // namespace present
