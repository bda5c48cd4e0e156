// Textured fans and strips drawn straight through OpenGL, for the drawing
// layer. A unit of its own because the browser build has no OpenGL: there
// every renderer is the Direct3D 7 stand-in, and this draws nothing.
#pragma once

#include <present/image.h>
#include <present/present.h>

#include <vector>

namespace present {

// Textured vertices: x, y, u, v each.
inline constexpr int kTexturedVertexFloats = 4;

// Draws frame `frame` of image over vertices (a fan around the first vertex
// when fan != 0, else a strip), with the anchor (ax, ay) and the origin
// (ox, oy) of the drawing state, when renderer is the OpenGL renderer;
// nothing otherwise.
void DrawTexturedThroughOpenGL(const RendererRef& renderer, const std::vector<float>& vertices,
                               TImage& image, int frame, int fan, float ax, float ay, float ox,
                               float oy);

} // namespace present
