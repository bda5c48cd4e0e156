#include "texture_levels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace present {

namespace {

// Averages the source box [x0, x1) x [y0, y1) into one RGBA pixel.
void AverageBox(const TPixmap& src, int x0, int y0, int x1, int y1, std::uint8_t* out) {
    unsigned sum[4] = {0, 0, 0, 0};
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint8_t* p = &src.rgba[(static_cast<std::size_t>(y) * src.width + x) * 4];
            for (int c = 0; c < 4; ++c) {
                sum[c] += p[c];
            }
        }
    }
    const unsigned count = static_cast<unsigned>((x1 - x0) * (y1 - y0));
    for (int c = 0; c < 4; ++c) {
        out[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
    }
}

// Box-filters src down by the integer factors fx, fy (the last box in each
// direction may be narrower).
TPixmap Shrink(const TPixmap& src, int fx, int fy) {
    TPixmap out;
    out.width = std::max(1, (src.width + fx - 1) / fx);
    out.height = std::max(1, (src.height + fy - 1) / fy);
    out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            AverageBox(src, x * fx, y * fy, std::min(src.width, (x + 1) * fx),
                       std::min(src.height, (y + 1) * fy),
                       &out.rgba[(static_cast<std::size_t>(y) * out.width + x) * 4]);
        }
    }
    return out;
}

int ShrinkFactor(int side, int maxSide) {
    int factor = 1;
    while (NextPowerOfTwo(side) > maxSide * factor) {
        factor *= 2;
    }
    return factor;
}

} // namespace

TPixmap FitToTextureSize(const TPixmap& frame, int maxSide) {
    if (maxSide < 1 || frame.width < 1 || frame.height < 1) {
        return frame;
    }
    const int fx = ShrinkFactor(frame.width, maxSide);
    const int fy = ShrinkFactor(frame.height, maxSide);
    if (fx == 1 && fy == 1) {
        return frame;
    }
    return Shrink(frame, fx, fy);
}

std::vector<TPixmap> MipChain(const TPixmap& padded) {
    std::vector<TPixmap> levels{padded};
    while (levels.back().width > 1 || levels.back().height > 1) {
        const TPixmap& last = levels.back();
        levels.push_back(Shrink(last, last.width > 1 ? 2 : 1, last.height > 1 ? 2 : 1));
    }
    return levels;
}

int MipLevelFor(float texelsPerPixel, int levels) {
    if (!(texelsPerPixel > 1.0f) || levels < 2) {
        return 0;
    }
    const int level = static_cast<int>(std::floor(std::log2(texelsPerPixel) + 0.5f));
    return std::clamp(level, 0, levels - 1);
}

} // namespace present
