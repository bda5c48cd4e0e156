// The stand-in's rasterizer: triangles into the frame buffer by OpenGL's
// rules, so that both renderers light the same pixels. Pixel centres sit at
// +0.5; a pixel is covered when its centre is inside the triangle, and a
// centre exactly on an edge belongs to the triangle right of it or above a
// horizontal edge (OpenGL's top-left rule, its window's y running upwards), so
// triangles sharing an edge never both draw its pixels. Corners are snapped to 1/256 pixel. Texels
// are sampled with their centres at +0.5, clamped to the texture's edges.
#pragma once

#include "frame_buffer.h"
#include "soft_texture.h"
#include <present/present.h>

namespace present {

// A corner: position in pixels, texture coordinate in 0..1 of the whole
// (padded) texture.
struct TRasterVertex {
    float x, y;
    float u, v;
};

struct TRasterPaint {
    int red = 255, green = 255, blue = 255; // 0..255
    float alpha = 1.0f;                     // 0..1
    int blendMode = BlendMasked;
    // Untextured when Null; sampled by imageFlags: nearest, bilinear with
    // ImageFiltered, and with ImageMipmapped from the nearest mip level, or
    // trilinear between the two nearest levels when also filtered.
    const TSoftTexture* texture = nullptr;
    int imageFlags = 0;
};

// Draws one triangle of either winding. Triangles with a corner that is not a
// finite number within a million pixels of the screen draw nothing.
void RasterizeTriangle(TFrameBuffer& frame, const TRasterVertex& a, const TRasterVertex& b,
                       const TRasterVertex& c, const TRasterPaint& paint);

// Draws two triangles (six corners) that share a diagonal and make a convex
// quadrilateral as one, with the very pixels and texels the two would give:
// a glyph, an unturned picture, a line. Returns false, drawing nothing, when
// they do not, or when the texture is filtered or mip-mapped; the caller then
// draws them one by one.
bool RasterizeTrianglePair(TFrameBuffer& frame, const TRasterVertex* six,
                           const TRasterPaint& paint);

} // namespace present
