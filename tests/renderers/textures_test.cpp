#include "renderer_fixture.h"

#include <string>
#include <vector>

namespace present::testing {
namespace {

// Texel (x, y) of a picture with a distinct colour for every pixel.
std::array<std::uint8_t, 4> Texel(int x, int y) {
    return {static_cast<std::uint8_t>(20 + 70 * x), static_cast<std::uint8_t>(20 + 70 * y), 90,
            255};
}

TPixmap Gradient(int width, int height) {
    TPixmap pixmap;
    pixmap.width = width;
    pixmap.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto t = Texel(x, y);
            pixmap.rgba.insert(pixmap.rgba.end(), t.begin(), t.end());
        }
    }
    return pixmap;
}

using TexturesTest = RendererTest;

TEST_F(TexturesTest, FrameSitsTopLeftWithItsLastColumnAndRowRepeated) {
    const TextureRef texture = renderer->MakeTexture(Gradient(3, 3), 0);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->frameWidth, 3);
    EXPECT_EQ(texture->frameHeight, 3);
    EXPECT_EQ(texture->textureWidth, 4);
    EXPECT_EQ(texture->textureHeight, 4);
    // The frame's own area drawn over 6 x 6 pixels: two pixels a texel.
    renderer->Clear(0, 0, 0);
    const TPaint solid{255, 255, 255, 1.0f, BlendSolid};
    const auto frameArea = Quad(0, 0, 6, 6, 0.75f, 0.75f);
    renderer->DrawTexturedTriangles(*texture, 0, frameArea.data(), 6, solid);
    for (int ty = 0; ty < 3; ++ty) {
        for (int tx = 0; tx < 3; ++tx) {
            SCOPED_TRACE(::testing::Message() << "texel " << tx << ", " << ty);
            const auto t = Texel(tx, ty);
            for (int corner = 0; corner < 4; ++corner) {
                EXPECT_RGB_NEAR(Pixel(tx * 2 + corner % 2, ty * 2 + corner / 2), t[0], t[1], t[2],
                                0);
            }
        }
    }
    if (std::string(renderer->Name()) != "OpenGL") {
        return; // the stand-in samples the frame's own area only
    }
    // The whole texture: the padding repeats the last column and row.
    const auto whole = Quad(8, 8, 16, 16);
    renderer->DrawTexturedTriangles(*texture, 0, whole.data(), 6, solid);
    for (int ty = 0; ty < 4; ++ty) {
        for (int tx = 0; tx < 4; ++tx) {
            SCOPED_TRACE(::testing::Message() << "texel " << tx << ", " << ty);
            const auto t = Texel(std::min(tx, 2), std::min(ty, 2));
            EXPECT_RGB_NEAR(Pixel(8 + tx * 2 + 1, 8 + ty * 2 + 1), t[0], t[1], t[2], 0);
        }
    }
}

TEST_F(TexturesTest, MipmappedTexturesAreMinifiedFromTheMatchingLevel) {
    // A one-pixel checkerboard: any single texel is black or white, every
    // level below the first is mid grey.
    TPixmap checker;
    checker.width = checker.height = 16;
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t v = ((i % 16) + (i / 16)) % 2 == 0 ? 255 : 0;
        checker.rgba.insert(checker.rgba.end(), {v, v, v, 255});
    }
    const TextureRef plain = renderer->MakeTexture(checker, 0);
    const TextureRef mipmapped = renderer->MakeTexture(checker, ImageMipmapped);
    ASSERT_TRUE(plain && mipmapped);
    renderer->Clear(0, 0, 0);
    const TPaint paint{255, 255, 255, 1.0f, BlendSolid};
    const auto left = Quad(0, 0, 4, 4);
    renderer->DrawTexturedTriangles(*plain, 0, left.data(), 6, paint);
    const auto right = Quad(8, 0, 12, 4);
    renderer->DrawTexturedTriangles(*mipmapped, ImageMipmapped, right.data(), 6, paint);
    const TRGB sharp = Pixel(1, 1);
    EXPECT_TRUE(sharp.r == 0 || sharp.r == 255) << sharp.r;
    EXPECT_RGB_NEAR(Pixel(9, 1), 128, 128, 128, 1);
    // Drawn at its own size the mip-mapped texture shows its top level.
    const auto full = Quad(0, 16, 16, 32);
    renderer->DrawTexturedTriangles(*mipmapped, ImageMipmapped, full.data(), 6, paint);
    EXPECT_RGB_NEAR(Pixel(0, 16), 255, 255, 255, 0);
    EXPECT_RGB_NEAR(Pixel(1, 16), 0, 0, 0, 0);
}

TEST_F(TexturesTest, TexturesOfAClosedScreenAreNeitherDrawnNorFreedTwice) {
    TextureRef old = renderer->MakeTexture(SolidPixmap(4, 4, {255, 0, 0, 255}), 0);
    ASSERT_TRUE(old);
    renderer->Close();
    EXPECT_FALSE(renderer->MakeTexture(SolidPixmap(4, 4, {255, 0, 0, 255}), 0));
    ASSERT_TRUE(renderer->Open(screen));
    renderer->Clear(0, 0, 0);
    const auto quad = Quad(0, 0, 32, 32);
    renderer->DrawTexturedTriangles(*old, 0, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, BlendSolid});
    EXPECT_RGB_NEAR(Pixel(16, 16), 0, 0, 0, 0);
    old.reset();
    TextureRef fresh = renderer->MakeTexture(SolidPixmap(4, 4, {0, 255, 0, 255}), 0);
    ASSERT_TRUE(fresh);
    renderer->DrawTexturedTriangles(*fresh, 0, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, BlendSolid});
    EXPECT_RGB_NEAR(Pixel(16, 16), 0, 255, 0, 0);
}

TEST_F(TexturesTest, RejectsEmptyAndInconsistentFramesAndScreens) {
    EXPECT_FALSE(renderer->MakeTexture(TPixmap{}, 0));
    TPixmap shortData = SolidPixmap(4, 4, {1, 2, 3, 4});
    shortData.rgba.resize(10);
    EXPECT_FALSE(renderer->MakeTexture(shortData, 0));
    TScreen empty;
    EXPECT_FALSE(renderer->Open(empty));
    TPixmap shot;
    EXPECT_FALSE(renderer->ReadPixels(shot));
}

} // namespace
} // namespace present::testing
