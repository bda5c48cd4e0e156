#include "soft_texture.h"

#include <cstring>

namespace present {

TSoftTexture::TSoftTexture(std::shared_ptr<const int> openedFor, std::vector<TTexelLevel> texels)
    : owner(std::move(openedFor)), levels(std::move(texels)) {}

TTexelLevel PackTexels(const TPixmap& pixmap) {
    TTexelLevel level;
    level.width = pixmap.width;
    level.height = pixmap.height;
    level.texels.resize(static_cast<std::size_t>(pixmap.width) * pixmap.height);
    for (std::size_t i = 0; i < level.texels.size(); ++i) {
        const std::uint8_t* p = &pixmap.rgba[i * 4];
        level.texels[i] = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                          std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    }
    return level;
}

} // namespace present
