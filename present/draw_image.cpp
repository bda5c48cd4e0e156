#include "drawing.h"

namespace present {

void DrawImageFrame(const ImageRef& image, float x, float y, int frame) {
    const TDrawState* state = DrawingTarget();
    if (!state || !image) {
        return;
    }
    DrawFrameAt(*state, *image, frame, x + state->originX, y + state->originY, image->anchorX,
                image->anchorY);
}

} // namespace present
