#include "drawing.h"

namespace present {

const TDrawState* DrawingTarget() {
    const ScreenRef screen = CurrentScreen();
    if (!screen || !screen->state.renderer) {
        return nullptr;
    }
    return &screen->state;
}

TVertex Place(const TDrawState& state, float px, float py, float tx, float ty) {
    return TVertex{tx + px * state.ix + py * state.iy, ty + px * state.jx + py * state.jy, 0, 0};
}

TPaint Paint(const TDrawState& state) {
    return TPaint{state.red, state.green, state.blue, state.alpha, state.blendMode};
}

void DrawFrameAt(const TDrawState& state, TImage& image, int frame, float tx, float ty, float ax,
                 float ay) {
    if (frame < 0 || frame >= image.FrameCount()) {
        return;
    }
    const TextureRef texture = image.FrameTexture(frame);
    if (!texture || texture->textureWidth <= 0 || texture->textureHeight <= 0) {
        return;
    }
    // Only the frame's own corner of the padded texture is sampled.
    const float u = static_cast<float>(texture->frameWidth) / texture->textureWidth;
    const float v = static_cast<float>(texture->frameHeight) / texture->textureHeight;
    const float x0 = -ax;
    const float y0 = -ay;
    const float x1 = static_cast<float>(image.width) - ax;
    const float y1 = static_cast<float>(image.height) - ay;

    TVertex topLeft = Place(state, x0, y0, tx, ty);
    TVertex topRight = Place(state, x1, y0, tx, ty);
    TVertex bottomRight = Place(state, x1, y1, tx, ty);
    TVertex bottomLeft = Place(state, x0, y1, tx, ty);
    topRight.u = u;
    bottomRight.u = u;
    bottomRight.v = v;
    bottomLeft.v = v;
    const TVertex vertices[6] = {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft};
    state.renderer->DrawTexturedTriangles(*texture, image.flags, vertices, 6, Paint(state));
}

} // namespace present
