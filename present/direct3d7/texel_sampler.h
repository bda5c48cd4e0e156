// Reading a texture at a texture coordinate: nearest, bilinear and trilinear,
// clamped to the edges of the texture, texel centres at +0.5.
#pragma once

#include "soft_texture.h"

#include <algorithm>
#include <cstdint>

namespace present {

// Mixes two 0xAABBGGRR texels, w of 256 parts of the second, rounded.
inline std::uint32_t LerpTexel(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    const std::uint32_t keep = 256 - w;
    const std::uint32_t rb =
        (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * w + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t ga =
        (((a >> 8 & 0x00FF00FFu) * keep + (b >> 8 & 0x00FF00FFu) * w + 0x00800080u)) & 0xFF00FF00u;
    return rb | ga;
}

// Coordinates are kept a few texels around the texture before they are
// converted, so far-off values neither overflow nor lose their fraction.
constexpr int kMarginTexels = 64;
constexpr float kCoordinateMargin = kMarginTexels;

inline int ClampIndex(int i, int size) {
    return std::clamp(i, 0, size - 1);
}

// The texel whose square holds (u, v).
inline std::uint32_t SampleNearest(const TTexelLevel& level, float u, float v) {
    const float su = std::clamp(u * static_cast<float>(level.width), -2.0f,
                                static_cast<float>(level.width) + 2.0f);
    const float sv = std::clamp(v * static_cast<float>(level.height), -2.0f,
                                static_cast<float>(level.height) + 2.0f);
    const int x = ClampIndex(static_cast<int>(su + kCoordinateMargin) - kMarginTexels, level.width);
    const int y =
        ClampIndex(static_cast<int>(sv + kCoordinateMargin) - kMarginTexels, level.height);
    return level.texels[static_cast<std::size_t>(y) * level.width + x];
}

// The four texels around (u, v), weighted by distance.
inline std::uint32_t SampleBilinear(const TTexelLevel& level, float u, float v) {
    const float su = std::clamp(u * static_cast<float>(level.width) - 0.5f, -2.0f,
                                static_cast<float>(level.width) + 2.0f);
    const float sv = std::clamp(v * static_cast<float>(level.height) - 0.5f, -2.0f,
                                static_cast<float>(level.height) + 2.0f);
    const int fx = static_cast<int>((su + kCoordinateMargin) * 256.0f) - kMarginTexels * 256;
    const int fy = static_cast<int>((sv + kCoordinateMargin) * 256.0f) - kMarginTexels * 256;
    const int x0 = ClampIndex(fx >> 8, level.width);
    const int x1 = ClampIndex((fx >> 8) + 1, level.width);
    const int y0 = ClampIndex(fy >> 8, level.height);
    const int y1 = ClampIndex((fy >> 8) + 1, level.height);
    const std::uint32_t* top = &level.texels[static_cast<std::size_t>(y0) * level.width];
    const std::uint32_t* bottom = &level.texels[static_cast<std::size_t>(y1) * level.width];
    const auto wx = static_cast<std::uint32_t>(fx & 0xFF);
    const auto wy = static_cast<std::uint32_t>(fy & 0xFF);
    return LerpTexel(LerpTexel(top[x0], top[x1], wx), LerpTexel(bottom[x0], bottom[x1], wx), wy);
}

} // namespace present
