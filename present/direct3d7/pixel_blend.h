// The blend modes on one 0x00RRGGBB pixel, in 8-bit arithmetic rounded to the
// nearest value as an 8-bit OpenGL frame buffer does.
#pragma once

#include "frame_buffer.h"
#include <present/present.h>

#include <algorithm>
#include <cstdint>

namespace present {

// a x b / 255, rounded, for a and b in 0..255.
inline int Mul255(int a, int b) {
    const int t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline int Red(std::uint32_t pixel) {
    return static_cast<int>(pixel >> 16 & 0xFF);
}
inline int Green(std::uint32_t pixel) {
    return static_cast<int>(pixel >> 8 & 0xFF);
}
inline int Blue(std::uint32_t pixel) {
    return static_cast<int>(pixel & 0xFF);
}

// The blended modes; BlendMasked and BlendSolid write the source as it is.
template <int Mode> inline void BlendPixel(std::uint32_t& d, int r, int g, int b, int a) {
    if constexpr (Mode == BlendAlpha) {
        if (a == 255) {
            d = PackRGB(r, g, b);
        } else if (a != 0) {
            const int keep = 255 - a;
            const auto mix = [&](int s, int dst) {
                const int t = s * a + dst * keep + 128;
                return (t + (t >> 8)) >> 8;
            };
            d = PackRGB(mix(r, Red(d)), mix(g, Green(d)), mix(b, Blue(d)));
        }
    } else if constexpr (Mode == BlendAdd) {
        d = PackRGB(std::min(255, Red(d) + Mul255(r, a)), std::min(255, Green(d) + Mul255(g, a)),
                    std::min(255, Blue(d) + Mul255(b, a)));
    } else if constexpr (Mode == BlendMultiply) {
        d = PackRGB(Mul255(Red(d), r), Mul255(Green(d), g), Mul255(Blue(d), b));
    } else {
        (void)a;
        d = PackRGB(r, g, b);
    }
}

} // namespace present
