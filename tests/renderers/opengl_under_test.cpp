#include "host_platform.h"
#include "opengl/opengl.h"
#include "renderer_fixture.h"

namespace present::testing {

RendererRef MakeRendererUnderTest() {
    SetPlatform(nullptr);
    return MakeOpenGLRenderer();
}

} // namespace present::testing
