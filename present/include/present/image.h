// Images: one or more equal-size frames with an anchor point, their RGBA
// pixels, the renderer copies drawing makes of them, and PNG reading and
// writing.
//
// Sizes are pixels; an image's frames all have its width and height, and its
// anchor (SetImageAnchor) is the point of a frame drawn at the given
// position. Images are shared (ImageRef): the loaders of present.h make them,
// and whoever holds one may read its pixmaps. A frame's renderer copy is made
// lazily by FrameTexture for the current renderer and screen, and made again
// after the screen changes; images themselves need no screen. The decoders
// trust nothing: a truncated, corrupt or oversized PNG gives false, never a
// partial picture.
#pragma once

#include "present.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace present {

// 8-bit RGBA pixels, rows top to bottom, 4 bytes a pixel, no padding.
struct TPixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// A renderer's copy of one frame: a texture whose sides are the next powers of
// two of the frame's, with the frame in its top-left corner.
class TRendererTexture {
public:
    virtual ~TRendererTexture() = default;
    int frameWidth = 0;
    int frameHeight = 0;
    int textureWidth = 0;
    int textureHeight = 0;
};
using TextureRef = std::shared_ptr<TRendererTexture>;

struct TImage {
    int width = 0;
    int height = 0;
    int flags = 0;
    int maskRed = 0;
    int maskGreen = 0;
    int maskBlue = 0;
    float anchorX = 0;
    float anchorY = 0;
    std::vector<TPixmap> pixmaps;   // one per frame
    std::vector<TextureRef> frames; // renderer copy per frame, Null until first drawn
    std::vector<int> frameScreens;  // screen number each copy was made for

    int FrameCount() const { return static_cast<int>(pixmaps.size()); }
    // The current renderer's copy of frame i, made (again) when missing or made
    // for another screen. Null when it cannot be made or i is out of range.
    TextureRef FrameTexture(int i);
};

// Smallest power of two not below n (1 for n <= 1).
int NextPowerOfTwo(int n);

// The pixmap a renderer uploads for a frame: sides the next powers of two of
// the frame's, the frame in the top-left corner, its last column repeated into
// the padding on the right, its last row into the padding below (and the
// bottom-right pixel into the corner), so filtering at the frame's edges never
// picks up foreign texels. An empty frame gives an empty pixmap.
TPixmap PadToPowerOfTwo(const TPixmap& frame);

// The cellWidth x cellHeight rectangle of picture whose top left is (left, top);
// the rectangle must lie inside the picture.
TPixmap CopyCell(const TPixmap& picture, int left, int top, int cellWidth, int cellHeight);

// Decodes a PNG held in memory into 8-bit RGBA. hasAlpha tells whether the
// picture had an alpha channel (or transparency) of its own. Returns false for
// anything that is not a complete, valid PNG within the decoder's limits.
bool DecodePng(const std::uint8_t* data, std::size_t size, TPixmap& out, bool& hasAlpha);
// The same from a stream, read as the decoder needs it.
bool DecodePng(TStream& source, TPixmap& out, bool& hasAlpha);

// The size a PNG declares in its header, read from its first 24 bytes without
// decoding anything; false when the stream does not start like a PNG.
bool ReadPngSize(TStream& source, std::uint32_t& width, std::uint32_t& height);

// Writes RGBA pixels as a PNG file; false on failure.
bool SavePng(const std::string& path, const TPixmap& pixmap);

// Applies the load mask to a picture without alpha: pixels equal to the mask
// colour get alpha 0 and the mean colour of their unmasked 8-neighbours (or
// black, means rounded to the nearest integer, halves up); all others alpha 255.
void ApplyMask(TPixmap& pixmap, int maskRed, int maskGreen, int maskBlue);

} // namespace present
