#include "opengl.h"

namespace present {

TGLTexture::~TGLTexture() {
    // A texture of a closed context went with it; its name may already belong
    // to a texture of a newer one.
    if (context->alive && name != 0) {
        glDeleteTextures(1, &name);
    }
}

} // namespace present
