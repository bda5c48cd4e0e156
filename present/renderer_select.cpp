#include "direct3d7/direct3d7.h"
#include "opengl/opengl.h"
#include <present/host_platform.h>
#include <present/present.h>

namespace present {

RendererRef Direct3D7Renderer() {
    static const RendererRef renderer = MakeDirect3D7Renderer();
    return Platform().OffersDirect3D7() ? renderer : nullptr;
}

RendererRef OpenGLRenderer() {
    static const RendererRef renderer = MakeOpenGLRenderer();
    return renderer;
}

void InitPresent() {
    SelectRenderer(OpenGLRenderer(), ScreenDoubleBuffered);
    if (const RendererRef direct3d7 = Direct3D7Renderer()) {
        SelectRenderer(direct3d7, ScreenDoubleBuffered);
    }
}

} // namespace present
