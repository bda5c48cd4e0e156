// What both Box2D courses share: the scale from the game's pixels and ticks to Box2D's
// metres and seconds, and the zones' outlines as Box2D's chains. The vector type is
// each Box2D's own (b2Vec2 of 2.4 and of v3 are different types of one shape).
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace scenes::box2d_units {

inline constexpr float kMetresPerPixel = 0.05f;
inline constexpr float kFrame = 1.0f / 60.0f;
// The blob's masses have no radius; Box2D needs a shape to collide.
inline constexpr float kSmallestRadius = 2.0f;

template <class TVec2> TVec2 Metres(float x, float y) {
    return {x * kMetresPerPixel, y * kMetresPerPixel};
}

// Box2D's chains collide on the right of each edge: counter-clockwise in its own
// (here y-down) coordinates faces out, clockwise faces in.
template <class TVec2>
std::vector<TVec2> Loop(const std::vector<float>& points, float x, float y, bool facingOut) {
    std::vector<TVec2> loop;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        loop.push_back(Metres<TVec2>(x + points[i], y + points[i + 1]));
    }
    float area = 0.0f;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const TVec2& a = loop[i];
        const TVec2& b = loop[(i + 1) % loop.size()];
        area += a.x * b.y - b.x * a.y;
    }
    if ((area > 0.0f) != facingOut) {
        std::reverse(loop.begin(), loop.end());
    }
    return loop;
}

} // namespace scenes::box2d_units
