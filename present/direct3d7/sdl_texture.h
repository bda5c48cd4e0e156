// The stand-in's copy of an image frame: an SDL texture per mip level, plus
// thresholded copies for the masked blend mode, which SDL cannot alpha-test.
#pragma once

#include "image.h"
#include "sdl_target.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace present {

class TSDLTexture : public TRendererTexture {
public:
    // levels: level 0 is the padded frame, then its mip levels (if any); the
    // frame is frameWidth x frameHeight in the top-left corner of level 0.
    TSDLTexture(std::shared_ptr<TSDLTarget> target, std::vector<TPixmap> levels, int frameWidth,
                int frameHeight);
    ~TSDLTexture() override;
    TSDLTexture(const TSDLTexture&) = delete;
    TSDLTexture& operator=(const TSDLTexture&) = delete;

    // False when an SDL texture could not be made.
    bool Valid() const { return valid; }
    bool MadeOn(const std::shared_ptr<TSDLTarget>& t) const { return target == t; }
    int LevelCount() const { return static_cast<int>(levels.size()); }

    SDL_Texture* Level(int level) const;
    // Factors that turn texture coordinates of the padded texture into those
    // of the SDL texture of a level (1 unless it holds the frame alone).
    SDL_FPoint UvScale(int level) const;
    // The level with every texel's alpha replaced by 255 where it is at least
    // minAlpha and by 0 elsewhere; made on first use and kept.
    SDL_Texture* MaskedLevel(int level, int minAlpha);

private:
    SDL_Texture* Upload(const TPixmap& pixmap) const;

    std::shared_ptr<TSDLTarget> target;
    std::vector<TPixmap> levels;
    std::vector<SDL_FPoint> uvScales;
    std::vector<SDL_Texture*> textures;
    std::map<std::pair<int, int>, SDL_Texture*> masked;
    bool valid = true;
};

} // namespace present
