// Pixel work shared by both renderers when they make a texture of a frame:
// shrinking a frame that would not fit the largest texture, and mip levels.
#pragma once

#include <present/image.h>

#include <vector>

namespace present {

// A frame whose padded texture would exceed maxSide is scaled down by the
// power of two that makes it fit, so the frame keeps its share of the
// texture (frame size / texture size) and texture coordinates stay valid.
// Frames that fit are returned unchanged.
TPixmap FitToTextureSize(const TPixmap& frame, int maxSide);

// The mip chain of a power-of-two pixmap: level 0 is the pixmap itself, each
// further level a 2 x 2 box filter of the one before, down to 1 x 1.
std::vector<TPixmap> MipChain(const TPixmap& padded);

// Mip level for drawing texels at texelsPerPixel (linear ratio) with levels
// levels: the nearest level, 0 when magnified.
int MipLevelFor(float texelsPerPixel, int levels);

} // namespace present
