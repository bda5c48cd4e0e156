#include <present/image.h>

namespace present {

namespace {

bool IsMaskColour(const std::uint8_t* pixel, int red, int green, int blue) {
    return pixel[0] == red && pixel[1] == green && pixel[2] == blue;
}

} // namespace

// A masked pixel takes the mean colour of its unmasked neighbours so that
// bilinear filtering at the edge of a cut-out blends towards the picture's own
// colours rather than towards the mask colour.
void ApplyMask(TPixmap& pixmap, int maskRed, int maskGreen, int maskBlue) {
    const int width = pixmap.width;
    const int height = pixmap.height;
    if (width <= 0 || height <= 0 ||
        pixmap.rgba.size() !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        return;
    }
    const auto at = [&](int x, int y) {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)) *
               4;
    };
    std::vector<bool> masked(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            masked[at(x, y) / 4] =
                IsMaskColour(&pixmap.rgba[at(x, y)], maskRed, maskGreen, maskBlue);
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = &pixmap.rgba[at(x, y)];
            if (!masked[at(x, y) / 4]) {
                pixel[3] = 255;
                continue;
            }
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height || masked[at(nx, ny) / 4]) {
                        continue;
                    }
                    const std::uint8_t* neighbour = &pixmap.rgba[at(nx, ny)];
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += neighbour[c];
                    }
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) {
                pixel[c] = static_cast<std::uint8_t>(count ? (sum[c] + count / 2) / count : 0);
            }
            pixel[3] = 0;
        }
    }
}

} // namespace present
