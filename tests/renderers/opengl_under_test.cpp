#include "opengl/opengl.h"
#include "renderer_fixture.h"
#include <present/host_platform.h>

namespace present::testing {

RendererRef MakeRendererUnderTest() {
    SetPlatform(nullptr);
    return MakeOpenGLRenderer();
}

} // namespace present::testing
