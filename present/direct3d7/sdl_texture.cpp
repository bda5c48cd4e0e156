#include "sdl_texture.h"

#include <algorithm>
#include <cstddef>

namespace present {

TSDLTexture::TSDLTexture(std::shared_ptr<TSDLTarget> renderTarget, std::vector<TPixmap> pixmaps,
                         int cellWidth, int cellHeight)
    : target(std::move(renderTarget)), levels(std::move(pixmaps)) {
    for (std::size_t i = 0; i < this->levels.size(); ++i) {
        TPixmap& level = this->levels[i];
        if (!this->target->software) {
            uvScales.push_back(SDL_FPoint{1, 1});
            continue;
        }
        // Only the frame's own texels, so its far edges are at 1.0, where the
        // software mapping is exact.
        const int shrink = 1 << i;
        const int width = std::clamp((cellWidth + shrink - 1) / shrink, 1, level.width);
        const int height = std::clamp((cellHeight + shrink - 1) / shrink, 1, level.height);
        uvScales.push_back(
            SDL_FPoint{static_cast<float>(level.width) / static_cast<float>(width),
                       static_cast<float>(level.height) / static_cast<float>(height)});
        level = CopyCell(level, 0, 0, width, height);
    }
    for (const TPixmap& level : this->levels) {
        SDL_Texture* texture = Upload(level);
        if (texture == nullptr) {
            valid = false;
            return;
        }
        textures.push_back(texture);
    }
    valid = !textures.empty();
}

TSDLTexture::~TSDLTexture() {
    // Destroying the SDL renderer has already freed every texture made on it.
    if (!target->Alive()) {
        return;
    }
    for (SDL_Texture* texture : textures) {
        SDL_DestroyTexture(texture);
    }
    for (auto& entry : masked) {
        SDL_DestroyTexture(entry.second);
    }
}

namespace {

// The pixmap with its last column and last row repeated once more.
TPixmap WithRepeatedEdge(const TPixmap& pixmap) {
    TPixmap out;
    out.width = pixmap.width + 1;
    out.height = pixmap.height + 1;
    out.rgba.reserve(static_cast<std::size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y) {
        const auto row = pixmap.rgba.begin() +
                         static_cast<long>(std::min(y, pixmap.height - 1)) * pixmap.width * 4;
        out.rgba.insert(out.rgba.end(), row, row + static_cast<long>(pixmap.width) * 4);
        out.rgba.insert(out.rgba.end(), row + static_cast<long>(pixmap.width - 1) * 4,
                        row + static_cast<long>(pixmap.width) * 4);
    }
    return out;
}

} // namespace

SDL_Texture* TSDLTexture::Upload(const TPixmap& original) const {
    if (!target->Alive() || original.width < 1 || original.height < 1) {
        return nullptr;
    }
    const TPixmap& pixmap = target->software ? WithRepeatedEdge(original) : original;
    SDL_Texture* texture = SDL_CreateTexture(target->renderer, SDL_PIXELFORMAT_RGBA32,
                                             SDL_TEXTUREACCESS_STATIC, pixmap.width, pixmap.height);
    if (texture == nullptr) {
        return nullptr;
    }
    if (SDL_UpdateTexture(texture, nullptr, pixmap.rgba.data(), pixmap.width * 4) != 0) {
        SDL_DestroyTexture(texture);
        return nullptr;
    }
    return texture;
}

SDL_Texture* TSDLTexture::Level(int level) const {
    if (level < 0 || level >= static_cast<int>(textures.size())) {
        return nullptr;
    }
    return textures[level];
}

SDL_FPoint TSDLTexture::UvScale(int level) const {
    if (level < 0 || level >= static_cast<int>(uvScales.size())) {
        return SDL_FPoint{1, 1};
    }
    return uvScales[level];
}

SDL_Texture* TSDLTexture::MaskedLevel(int level, int minAlpha) {
    if (level < 0 || level >= static_cast<int>(textures.size())) {
        return nullptr;
    }
    const auto key = std::make_pair(level, minAlpha);
    if (auto found = masked.find(key); found != masked.end()) {
        return found->second;
    }
    TPixmap thresholded = levels[level];
    for (std::size_t i = 3; i < thresholded.rgba.size(); i += 4) {
        thresholded.rgba[i] = thresholded.rgba[i] >= minAlpha ? 255 : 0;
    }
    SDL_Texture* texture = Upload(thresholded);
    if (texture != nullptr) {
        masked.emplace(key, texture);
    }
    return texture;
}

} // namespace present
