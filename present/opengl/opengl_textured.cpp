#include "opengl_textured.h"

#include "opengl.h"

namespace present {

void DrawTexturedThroughOpenGL(const RendererRef& renderer, const std::vector<float>& vertices,
                               TImage& image, int frame, int fan, float ax, float ay, float ox,
                               float oy) {
    if (!std::dynamic_pointer_cast<TOpenGLRenderer>(renderer)) {
        return;
    }
    auto texture = std::dynamic_pointer_cast<TGLTexture>(image.FrameTexture(frame));
    if (!texture) {
        return;
    }
    float sx = 1;
    float sy = 1;
    GetDrawScale(sx, sy);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glEnable(GL_TEXTURE_2D);
    glTranslatef(ox, oy, 0);
    glRotatef(GetDrawRotation(), 0, 0, 1);
    glScalef(sx, sy, 1);
    glBegin(fan != 0 ? GL_POLYGON : GL_TRIANGLE_STRIP);
    const std::size_t count = vertices.size() / kTexturedVertexFloats;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = &vertices[i * kTexturedVertexFloats];
        glTexCoord2f(p[2], p[3]);
        glVertex2f(p[0] - ax, p[1] - ay);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

} // namespace present
