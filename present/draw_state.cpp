#include "font.h"
#include "renderer.h"
#include "screen.h"

#include <algorithm>

namespace present {

namespace {

int ClampColour(int value) {
    return std::clamp(value, 0, 255);
}

void MirrorTransform(const TDrawState& state) {
    if (state.renderer) {
        state.renderer->SetTransform(state.ix, state.iy, state.jx, state.jy);
    }
}

void MirrorColour(const TDrawState& state) {
    if (state.renderer) {
        state.renderer->SetColour(state.red, state.green, state.blue, state.alpha);
    }
}

// The sine and cosine are taken in double and rounded to float before they
// meet the scale, so the matrix is the same on every build.
void UpdateMatrix(TDrawState& state) {
    const auto s = static_cast<float>(SinDeg(state.rotation));
    const auto c = static_cast<float>(CosDeg(state.rotation));
    state.ix = c * state.scaleX;
    state.iy = -s * state.scaleY;
    state.jx = s * state.scaleX;
    state.jy = c * state.scaleY;
    MirrorTransform(state);
}

} // namespace

void ResetDrawState(const ScreenRef& screen) {
    TDrawState& state = screen->state;
    state = TDrawState{};
    state.viewportWidth = screen->width;
    state.viewportHeight = screen->height;
    state.font = BuiltinFont();
    state.screen = screen;
    state.renderer = screen->renderer;
}

void ApplyDrawState(const TDrawState& state) {
    if (state.renderer) {
        state.renderer->SetBlendMode(state.blendMode);
    }
    MirrorTransform(state);
    MirrorColour(state);
}

void SetDrawColour(int r, int g, int b) {
    TDrawState& state = State();
    state.red = ClampColour(r);
    state.green = ClampColour(g);
    state.blue = ClampColour(b);
    MirrorColour(state);
}

void SetDrawAlpha(float alpha) {
    TDrawState& state = State();
    // Written so that NaN ends up transparent rather than poisoning the paint.
    state.alpha = alpha >= 1.0f ? 1.0f : (alpha > 0.0f ? alpha : 0.0f);
    MirrorColour(state);
}

void SetClearColour(int r, int g, int b) {
    TDrawState& state = State();
    state.clearRed = ClampColour(r);
    state.clearGreen = ClampColour(g);
    state.clearBlue = ClampColour(b);
}

void SetBlendMode(TBlendMode mode) {
    TDrawState& state = State();
    if (mode < TBlendMode::Masked || mode > TBlendMode::Multiply || mode == state.blendMode) {
        return;
    }
    state.blendMode = mode;
    if (state.renderer) {
        state.renderer->SetBlendMode(mode);
    }
}

void SetLineThickness(float width) {
    State().lineWidth = width;
}

void SetDrawRotation(float degrees) {
    TDrawState& state = State();
    state.rotation = degrees;
    UpdateMatrix(state);
}

float GetDrawRotation() {
    return State().rotation;
}

void SetDrawScale(float sx, float sy) {
    TDrawState& state = State();
    state.scaleX = sx;
    state.scaleY = sy;
    UpdateMatrix(state);
}

void GetDrawScale(float& sx, float& sy) {
    const TDrawState& state = State();
    sx = state.scaleX;
    sy = state.scaleY;
}

void SetDrawOrigin(float x, float y) {
    TDrawState& state = State();
    state.originX = x;
    state.originY = y;
}

void GetDrawOrigin(float& x, float& y) {
    const TDrawState& state = State();
    x = state.originX;
    y = state.originY;
}

void GetDrawAnchor(float& x, float& y) {
    const TDrawState& state = State();
    x = state.anchorX;
    y = state.anchorY;
}

} // namespace present
