#include "direct3d7/direct3d7.h"
#include "headless.h"
#include "renderer_fixture.h"

namespace present::testing {

RendererRef MakeRendererUnderTest() {
    SetPlatform(std::make_shared<THeadlessPlatform>());
    return MakeDirect3D7Renderer();
}

} // namespace present::testing
