#include "renderer_fixture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
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
    const TextureRef texture = renderer->MakeTexture(Gradient(3, 3), TImageFlags::None);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->frameWidth, 3);
    EXPECT_EQ(texture->frameHeight, 3);
    EXPECT_EQ(texture->textureWidth, 4);
    EXPECT_EQ(texture->textureHeight, 4);
    // The frame's own area drawn over 6 x 6 pixels: two pixels a texel.
    renderer->Clear(0, 0, 0);
    const TPaint solid{255, 255, 255, 1.0f, TBlendMode::Solid};
    const auto frameArea = Quad(0, 0, 6, 6, 0.75f, 0.75f);
    renderer->DrawTexturedTriangles(*texture, TImageFlags::None, frameArea.data(), 6, solid);
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
    renderer->DrawTexturedTriangles(*texture, TImageFlags::None, whole.data(), 6, solid);
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
    const TextureRef plain = renderer->MakeTexture(checker, TImageFlags::None);
    const TextureRef mipmapped = renderer->MakeTexture(checker, TImageFlags::Mipmapped);
    ASSERT_TRUE(plain && mipmapped);
    renderer->Clear(0, 0, 0);
    const TPaint paint{255, 255, 255, 1.0f, TBlendMode::Solid};
    const auto left = Quad(0, 0, 4, 4);
    renderer->DrawTexturedTriangles(*plain, TImageFlags::None, left.data(), 6, paint);
    const auto right = Quad(8, 0, 12, 4);
    renderer->DrawTexturedTriangles(*mipmapped, TImageFlags::Mipmapped, right.data(), 6, paint);
    const TRGB sharp = Pixel(1, 1);
    EXPECT_TRUE(sharp.r == 0 || sharp.r == 255) << sharp.r;
    EXPECT_RGB_NEAR(Pixel(9, 1), 128, 128, 128, 1);
    // Drawn at its own size the mip-mapped texture shows its top level.
    const auto full = Quad(0, 16, 16, 32);
    renderer->DrawTexturedTriangles(*mipmapped, TImageFlags::Mipmapped, full.data(), 6, paint);
    EXPECT_RGB_NEAR(Pixel(0, 16), 255, 255, 255, 0);
    EXPECT_RGB_NEAR(Pixel(1, 16), 0, 0, 0, 0);
}

// Pixel centres at +0.5 and the top-left rule: both renderers light the same
// pixels for the same triangles.
TEST_F(TexturesTest, PlacementFollowsPixelCentresAndTheTopLeftRule) {
    const TextureRef dot =
        renderer->MakeTexture(SolidPixmap(1, 1, {255, 255, 255, 255}), TImageFlags::None);
    ASSERT_TRUE(dot);
    renderer->Clear(0, 0, 0);
    const TPaint solid{255, 255, 255, 1.0f, TBlendMode::Solid};
    const auto one = Quad(15, 15, 16, 16);
    renderer->DrawTexturedTriangles(*dot, TImageFlags::None, one.data(), 6, solid);
    // Edges through pixel centres: the left and bottom ones take their pixels,
    // OpenGL's top-left rule in its upward window coordinates.
    const auto square = Quad(2.5f, 2.5f, 6.5f, 6.5f);
    renderer->FillTriangles(square.data(), 6, solid);
    TPixmap shot;
    ASSERT_TRUE(renderer->ReadPixels(shot));
    std::vector<std::pair<int, int>> lit;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (shot.rgba[(static_cast<std::size_t>(y) * kSize + x) * 4] != 0) {
                lit.emplace_back(x, y);
            }
        }
    }
    std::vector<std::pair<int, int>> expected;
    for (int y = 3; y < 7; ++y) {
        for (int x = 2; x < 6; ++x) {
            expected.emplace_back(x, y);
        }
    }
    expected.emplace_back(15, 15);
    EXPECT_EQ(lit, expected);
}

// A 2 x 1 picture, black then white, over 32 pixels: bilinear sampling ramps
// between the texel centres, nearest sampling steps at the middle.
TEST_F(TexturesTest, FilteredPicturesRampAndUnfilteredOnesStep) {
    TPixmap pair = SolidPixmap(2, 1, {0, 0, 0, 255});
    pair.rgba[4] = pair.rgba[5] = pair.rgba[6] = 255;
    const TextureRef texture = renderer->MakeTexture(pair, TImageFlags::Filtered);
    const TextureRef sharp = renderer->MakeTexture(pair, TImageFlags::None);
    ASSERT_TRUE(texture && sharp);
    const TPaint solid{255, 255, 255, 1.0f, TBlendMode::Solid};
    renderer->Clear(0, 0, 0);
    const auto top = Quad(0, 0, 32, 4);
    renderer->DrawTexturedTriangles(*texture, TImageFlags::Filtered, top.data(), 6, solid);
    const auto bottom = Quad(0, 8, 32, 12);
    renderer->DrawTexturedTriangles(*sharp, TImageFlags::None, bottom.data(), 6, solid);
    for (int x = 0; x < 32; ++x) {
        SCOPED_TRACE(x);
        // Texel centres at pixels 7.5 and 23.5, clamped beyond them.
        const double ramp = std::clamp((x + 0.5 - 8.0) / 16.0, 0.0, 1.0) * 255.0;
        EXPECT_NEAR(Pixel(x, 1).r, ramp, 2.0);
        EXPECT_EQ(Pixel(x, 9).r, x < 16 ? 0 : 255);
    }
}

// Between two mip levels the trilinear sample mixes them by the level of
// detail. One-texel stripes of white and black are mid grey from level 1 on;
// drawn at 1.5 texels a pixel (level of detail log2 1.5) each pixel is its
// bilinear level-0 sample mixed with that grey.
TEST_F(TexturesTest, TrilinearSamplingBlendsNeighbouringMipLevels) {
    TPixmap stripes;
    stripes.width = stripes.height = 16;
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t v = i % 2 == 0 ? 255 : 0;
        stripes.rgba.insert(stripes.rgba.end(), {v, v, v, 255});
    }
    const TImageFlags flags = TImageFlags::Filtered | TImageFlags::Mipmapped;
    const TextureRef texture = renderer->MakeTexture(stripes, flags);
    ASSERT_TRUE(texture);
    renderer->Clear(0, 0, 0);
    const auto quad = Quad(0, 0, 32.0f / 3, 32.0f / 3);
    renderer->DrawTexturedTriangles(*texture, flags, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, TBlendMode::Solid});
    const double levelWeight = std::log2(1.5);
    for (int x = 0; x < 10; ++x) {
        SCOPED_TRACE(x);
        const double s = (x + 0.5) * 1.5 - 0.5;
        const int left = static_cast<int>(std::floor(s));
        const double f = s - left;
        const double top =
            (left % 2 == 0 ? 255.0 : 0.0) * (1 - f) + (left % 2 == 0 ? 0.0 : 255.0) * f;
        EXPECT_NEAR(Pixel(x, 4).r, top * (1 - levelWeight) + 127.5 * levelWeight, 3.0);
    }
}

TEST_F(TexturesTest, TexturesOfAClosedScreenAreNeitherDrawnNorFreedTwice) {
    TextureRef old = renderer->MakeTexture(SolidPixmap(4, 4, {255, 0, 0, 255}), TImageFlags::None);
    ASSERT_TRUE(old);
    renderer->Close();
    EXPECT_FALSE(renderer->MakeTexture(SolidPixmap(4, 4, {255, 0, 0, 255}), TImageFlags::None));
    ASSERT_TRUE(renderer->Open(screen));
    renderer->Clear(0, 0, 0);
    const auto quad = Quad(0, 0, 32, 32);
    renderer->DrawTexturedTriangles(*old, TImageFlags::None, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, TBlendMode::Solid});
    EXPECT_RGB_NEAR(Pixel(16, 16), 0, 0, 0, 0);
    old.reset();
    TextureRef fresh =
        renderer->MakeTexture(SolidPixmap(4, 4, {0, 255, 0, 255}), TImageFlags::None);
    ASSERT_TRUE(fresh);
    renderer->DrawTexturedTriangles(*fresh, TImageFlags::None, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, TBlendMode::Solid});
    EXPECT_RGB_NEAR(Pixel(16, 16), 0, 255, 0, 0);
}

TEST_F(TexturesTest, RejectsEmptyAndInconsistentFramesAndScreens) {
    EXPECT_FALSE(renderer->MakeTexture(TPixmap{}, TImageFlags::None));
    TPixmap shortData = SolidPixmap(4, 4, {1, 2, 3, 4});
    shortData.rgba.resize(10);
    EXPECT_FALSE(renderer->MakeTexture(shortData, TImageFlags::None));
    TScreen empty;
    EXPECT_FALSE(renderer->Open(empty));
    TPixmap shot;
    EXPECT_FALSE(renderer->ReadPixels(shot));
}

} // namespace
} // namespace present::testing
