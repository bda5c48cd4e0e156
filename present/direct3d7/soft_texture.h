// The stand-in's copy of an image frame: the padded frame and, when the image
// is mip-mapped, its smaller levels, as packed texels the rasterizer reads
// directly.
#pragma once

#include <present/image.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace present {

// One level: texels 0xAABBGGRR (the RGBA bytes of a pixmap read as one
// little-endian word), rows top to bottom.
struct TTexelLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> texels;
};

class TSoftTexture : public TRendererTexture {
public:
    // owner tells which opening of the device the texture belongs to.
    TSoftTexture(std::shared_ptr<const int> owner, std::vector<TTexelLevel> levels);

    bool MadeFor(const std::shared_ptr<const int>& o) const { return owner == o; }
    const std::vector<TTexelLevel>& Levels() const { return levels; }

private:
    std::shared_ptr<const int> owner;
    std::vector<TTexelLevel> levels;
};

TTexelLevel PackTexels(const TPixmap& pixmap);

} // namespace present
