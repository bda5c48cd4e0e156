// The stand-in's own frame: 32-bit pixels, rows top to bottom, each pixel
// 0x00RRGGBB (the byte order of SDL's RGB888 and of XRGB8888 displays).
#pragma once

#include <cstdint>
#include <vector>

namespace present {

struct TFrameBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

inline std::uint32_t PackRGB(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue);
}

} // namespace present
