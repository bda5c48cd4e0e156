#include "camera.h"

namespace morvel {

namespace {

float ClampAxis(float origin, int screenSize, int levelSize) {
    if (origin > 0) {
        origin = 0;
    }
    const float farEdge = static_cast<float>(screenSize - levelSize);
    if (origin < farEdge) {
        origin = farEdge;
    }
    return origin;
}

} // namespace

TViewOrigin CameraOrigin(float centreX, float centreY, const TViewFrame& frame) {
    return {ClampAxis(static_cast<float>(frame.halfWidth) - centreX, frame.screenWidth,
                      frame.levelWidth),
            ClampAxis(static_cast<float>(frame.halfHeight) - centreY, frame.screenHeight,
                      frame.levelHeight)};
}

} // namespace morvel
