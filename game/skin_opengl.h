// The blob's skin drawn straight through OpenGL, past the drawing layer. A
// unit of its own because the browser build has no OpenGL renderer: there the
// skin only ever goes through the Direct3D 7 stand-in.
#pragma once

#include "image.h"
#include "present.h"

#include <vector>

namespace morvel {

// The skin's vertices: x, y, u, v each.
inline constexpr int SkinVertexFloats = 4;

struct TSkinPolygon {
    const std::vector<float>& points; // x, y, u, v per vertex
    present::TImage& image;
    int frame;
    int fan; // != 0: a fan around the first vertex; else a strip
    double uScale, vScale; // the frame's share of its texture
    float ax, ay;          // the drawing anchor
    float ox, oy;          // the drawing origin
};

// Draws the polygon when renderer is the OpenGL renderer; nothing otherwise.
void DrawSkinThroughOpenGL(const present::RendererRef& renderer, const TSkinPolygon& skin);

} // namespace morvel
