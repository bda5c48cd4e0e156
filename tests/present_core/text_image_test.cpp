#include "font.h"
#include "recording_renderer.h"

namespace present::testing {
namespace {

using TextImageTest = PresentTest;

ImageRef MakeImage(int width, int height, int frames) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = TImageFlags::Filtered;
    for (int i = 0; i < frames; ++i) {
        TPixmap pixmap;
        pixmap.width = width;
        pixmap.height = height;
        pixmap.rgba.assign(static_cast<std::size_t>(width * height) * 4, 255);
        image->pixmaps.push_back(pixmap);
    }
    return image;
}

TEST_F(TextImageTest, CharactersWithoutGlyphsAreSkippedWithoutAdvancing) {
    OpenWindow();
    DrawString("A\xC8\x01"
               "B",
               10, 20);
    ASSERT_EQ(renderer->draws.size(), 2u);
    const TVertex& a = renderer->draws[0].vertices[0];
    const TVertex& b = renderer->draws[1].vertices[0];
    EXPECT_FLOAT_EQ(a.x, 10);
    EXPECT_FLOAT_EQ(a.y, 20);
    EXPECT_FLOAT_EQ(b.x, 18);
    EXPECT_FLOAT_EQ(b.y, 20);
    EXPECT_NE(renderer->draws[0].texture, renderer->draws[1].texture);
    // Each glyph covers its 8 x 16 cell.
    EXPECT_FLOAT_EQ(renderer->draws[0].vertices[2].x, 18);
    EXPECT_FLOAT_EQ(renderer->draws[0].vertices[2].y, 36);
}

TEST_F(TextImageTest, TextFollowsOriginRotationAndColour) {
    OpenWindow();
    SetDrawOrigin(100, 50);
    SetDrawRotation(90);
    SetDrawColour(0, 191, 255);
    DrawString("ab", 0, 0);
    ASSERT_EQ(renderer->draws.size(), 2u);
    EXPECT_NEAR(renderer->draws[1].vertices[0].x, 100, 1e-4);
    EXPECT_NEAR(renderer->draws[1].vertices[0].y, 58, 1e-4);
    EXPECT_EQ(renderer->draws[1].paint.green, 191);
    EXPECT_EQ(renderer->draws[1].imageFlags, TImageFlags::None);
}

TEST_F(TextImageTest, FontBitsMapToGlyphColumnsFromTheLeft) {
    std::uint8_t bits[TFont::kCellHeight * TFont::kGlyphCount] = {};
    bits[3 * TFont::kGlyphCount + 1] = 0x05; // glyph '!' row 3: columns 0 and 2
    const TFont font(bits);
    EXPECT_EQ(font.Glyph(31), nullptr);
    EXPECT_EQ(font.Glyph(128), nullptr);
    ASSERT_NE(font.Glyph(127), nullptr);
    const ImageRef glyph = font.Glyph('!');
    ASSERT_NE(glyph, nullptr);
    ASSERT_EQ(glyph->FrameCount(), 1);
    EXPECT_EQ(glyph->flags, TImageFlags::None);
    const TPixmap& pixels = glyph->pixmaps[0];
    ASSERT_EQ(pixels.width, 8);
    ASSERT_EQ(pixels.height, 16);
    int opaque = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = &pixels.rgba[static_cast<std::size_t>(y * 8 + x) * 4];
            if (p[3] != 0) {
                ++opaque;
                EXPECT_EQ(y, 3);
                EXPECT_TRUE(x == 0 || x == 2) << x;
                EXPECT_EQ(p[0] + p[1] + p[2], 3 * 255);
            }
        }
    }
    EXPECT_EQ(opaque, 2);
}

TEST_F(TextImageTest, ImageIsPlacedByItsOwnAnchorAndScaledAboutIt) {
    OpenWindow();
    const ImageRef face = MakeImage(64, 64, 5);
    SetImageAnchor(face, 32, 32);
    SetDrawScale(0.5f, 0.5f);
    SetDrawOrigin(10, 0);
    DrawImageFrame(face, 90, 100, 4);
    ASSERT_EQ(renderer->draws.size(), 1u);
    const auto& v = renderer->draws[0].vertices;
    ASSERT_EQ(v.size(), 6u);
    EXPECT_FLOAT_EQ(v[0].x, 84);
    EXPECT_FLOAT_EQ(v[0].y, 84);
    EXPECT_FLOAT_EQ(v[2].x, 116);
    EXPECT_FLOAT_EQ(v[2].y, 116);
    EXPECT_EQ(renderer->draws[0].imageFlags, TImageFlags::Filtered);
}

TEST_F(TextImageTest, TextureCoordinatesCoverOnlyTheFrame) {
    OpenWindow();
    const ImageRef skin = MakeImage(139, 139, 1);
    DrawImageFrame(skin, 0, 0, 0);
    ASSERT_EQ(renderer->draws.size(), 1u);
    const auto& v = renderer->draws[0].vertices;
    EXPECT_EQ(v[0].u, 0.0f);
    EXPECT_EQ(v[0].v, 0.0f);
    EXPECT_FLOAT_EQ(v[2].u, 139.0f / 256);
    EXPECT_FLOAT_EQ(v[2].v, 139.0f / 256);
    EXPECT_FLOAT_EQ(v[2].x, 139);
}

TEST_F(TextImageTest, CopiesAreReusedOnAScreenAndRemadeAfterAScreenChange) {
    OpenWindow();
    const ImageRef image = MakeImage(8, 8, 2);
    DrawImageFrame(image, 0, 0, 1);
    DrawImageFrame(image, 5, 5, 1);
    EXPECT_EQ(renderer->texturesMade, 1);
    OpenWindow();
    DrawImageFrame(image, 0, 0, 1);
    EXPECT_EQ(renderer->texturesMade, 2);
    EXPECT_EQ(renderer->draws.size(), 1u);
}

TEST_F(TextImageTest, InvalidImagesAndFramesDrawNothing) {
    OpenWindow();
    const ImageRef image = MakeImage(8, 8, 2);
    DrawImageFrame(nullptr, 0, 0, 0);
    DrawImageFrame(image, 0, 0, -1);
    DrawImageFrame(image, 0, 0, 2);
    DrawImageFrame(MakeImage(0, 0, 1), 0, 0, 0);
    EXPECT_TRUE(renderer->draws.empty());
}

} // namespace
} // namespace present::testing
