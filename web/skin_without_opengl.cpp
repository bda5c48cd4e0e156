// The browser build has no OpenGL renderer (present/web/opengl_fallback.cpp):
// every renderer is the Direct3D 7 stand-in, and the skin goes through it.
#include "skin_opengl.h"

namespace morvel {

void DrawSkinThroughOpenGL(const present::RendererRef&, const TSkinPolygon&) {}

} // namespace morvel
