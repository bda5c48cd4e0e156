// An 8-bit picture in memory: RGB or RGBA, rows top to bottom, no padding.
#pragma once

#include <cstdint>
#include <vector>

namespace pictures {

struct Picture {
    int width = 0;
    int height = 0;
    int channels = 0; // 3 (RGB) or 4 (RGBA)
    std::vector<std::uint8_t> pixels;
};

inline Picture MakePicture(int width, int height, int channels) {
    return Picture{width, height, channels,
                   std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * channels)};
}

inline std::uint8_t* PixelAt(Picture& picture, int x, int y) {
    return &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * picture.channels];
}

inline const std::uint8_t* PixelAt(const Picture& picture, int x, int y) {
    return &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * picture.channels];
}

} // namespace pictures
