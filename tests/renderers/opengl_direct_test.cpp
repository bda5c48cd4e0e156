#include "opengl/opengl.h"
#include "renderer_fixture.h"

namespace present::testing {
namespace {

// The blob's skin is drawn with OpenGL calls of its own, in the pixel-space
// projection the renderer leaves set up, binding a frame's texture by name.
TEST_F(RendererTest, CallersMayDrawInPixelSpaceWithAFramesTextureName) {
    TPixmap frame = SolidPixmap(2, 2, {0, 200, 0, 255});
    frame.rgba[0] = 200; // top-left texel red
    frame.rgba[1] = 0;
    const TextureRef texture = renderer->MakeTexture(frame, TImageFlags::None);
    auto* glTexture = dynamic_cast<TGLTexture*>(texture.get());
    ASSERT_NE(glTexture, nullptr);
    ASSERT_NE(glTexture->name, 0u);
    renderer->Clear(0, 0, 0);
    renderer->SetBlendMode(TBlendMode::Alpha);
    renderer->SetColour(255, 255, 255, 1.0f);

    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, glTexture->name);
    glEnable(GL_TEXTURE_2D);
    glTranslatef(8, 4, 0);
    glBegin(GL_POLYGON);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(16, 0);
    glTexCoord2f(1, 1);
    glVertex2f(16, 16);
    glTexCoord2f(0, 1);
    glVertex2f(0, 16);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();

    // y grows downwards: the red texel lands at the top left of the square.
    EXPECT_RGB_NEAR(Pixel(9, 5), 200, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(22, 18), 0, 200, 0, 0);
    EXPECT_RGB_NEAR(Pixel(7, 5), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(9, 3), 0, 0, 0, 0);
    // The modelview is back to identity for the renderer's own drawing.
    const auto quad = Quad(0, 24, 4, 28);
    renderer->FillTriangles(quad.data(), 6, TPaint{0, 0, 255, 1.0f, TBlendMode::Solid});
    EXPECT_RGB_NEAR(Pixel(1, 25), 0, 0, 255, 0);
}

} // namespace
} // namespace present::testing
