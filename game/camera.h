// The view origin that centres the blob, kept inside the course.
#pragma once

namespace morvel {

struct TViewOrigin {
    float x;
    float y;
};

struct TViewFrame {
    int halfWidth, halfHeight;
    int screenWidth, screenHeight;
    int levelWidth, levelHeight;
};

// No smoothing: the view jumps with the centre every frame. Near the far edges
// the second clamp wins, so a course smaller than the screen sticks to its far
// edge.
TViewOrigin CameraOrigin(float centreX, float centreY, const TViewFrame& frame);

} // namespace morvel
