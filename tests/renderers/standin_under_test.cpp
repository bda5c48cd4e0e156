#include "direct3d7/direct3d7.h"
#include "renderer_fixture.h"
#include <present/headless.h>

namespace present::testing {

RendererRef MakeRendererUnderTest() {
    SetPlatform(std::make_shared<THeadlessPlatform>());
    return MakeDirect3D7Renderer();
}

} // namespace present::testing
