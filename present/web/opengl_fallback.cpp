// The browser build has no OpenGL 1.1: choosing it draws with the software
// device, the Direct3D 7 stand-in, which gives the same pictures, and the
// page's console says so.
#include "direct3d7/direct3d7.h"
#include "opengl/opengl.h"
#include "page.h"

namespace present {

namespace {

class TOpenGLStandIn : public TDirect3D7Renderer {
public:
    bool Open(TScreen& screen) override {
        if (!noted) {
            noted = true;
            morvel_page_warn("morvel: OpenGL is not available in the browser; the software "
                             "device draws instead");
        }
        return TDirect3D7Renderer::Open(screen);
    }

private:
    bool noted = false;
};

} // namespace

RendererRef MakeOpenGLRenderer() {
    return std::make_shared<TOpenGLStandIn>();
}

} // namespace present
