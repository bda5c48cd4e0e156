#include "skin_opengl.h"

#include "opengl/opengl.h"

namespace morvel {

void DrawSkinThroughOpenGL(const present::RendererRef& renderer, const TSkinPolygon& skin) {
    if (!std::dynamic_pointer_cast<present::TOpenGLRenderer>(renderer)) {
        return;
    }
    auto texture =
        std::dynamic_pointer_cast<present::TGLTexture>(skin.image.FrameTexture(skin.frame));
    if (!texture) {
        return;
    }
    float sx = 1;
    float sy = 1;
    present::GetDrawScale(sx, sy);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glEnable(GL_TEXTURE_2D);
    glTranslatef(skin.ox, skin.oy, 0);
    glRotatef(present::GetDrawRotation(), 0, 0, 1);
    glScalef(sx, sy, 1);
    glBegin(skin.fan != 0 ? GL_POLYGON : GL_TRIANGLE_STRIP);
    const std::size_t count = skin.points.size() / SkinVertexFloats;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = &skin.points[i * SkinVertexFloats];
        glTexCoord2f(static_cast<float>(p[2] * skin.uScale), static_cast<float>(p[3] * skin.vScale));
        glVertex2f(p[0] - skin.ax, p[1] - skin.ay);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

} // namespace morvel
