// The browser build has no OpenGL renderer (opengl_fallback.cpp): no renderer
// is ever OpenGL's, and textured vertices all go through the stand-in.
#include "opengl/opengl_textured.h"

namespace present {

void DrawTexturedThroughOpenGL(const RendererRef&, const std::vector<float>&, TImage&, int, int,
                               float, float, float, float) {}

} // namespace present
