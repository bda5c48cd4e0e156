#include "blob_skin.h"
#include "game_world.h"
#include "screen.h"
#include <present/image.h>
#include <present/present.h>

#include <cmath>

namespace {

using morvel::FaceFrame;
using morvel::Pow2Size;
using morvel::SkinTexCoord;

TEST(Pow2Size, CountsUpFromOne) {
    EXPECT_EQ(Pow2Size(-5), 1);
    EXPECT_EQ(Pow2Size(0), 1);
    EXPECT_EQ(Pow2Size(1), 1);
    EXPECT_EQ(Pow2Size(2), 2);
    EXPECT_EQ(Pow2Size(47), 64);
    EXPECT_EQ(Pow2Size(64), 64);
    EXPECT_EQ(Pow2Size(65), 128);
    EXPECT_EQ(Pow2Size(139), 256);
    // The skins' texture scales.
    EXPECT_EQ(139.0 / Pow2Size(139), 0.54296875);
    EXPECT_EQ(47.0 / Pow2Size(47), 0.734375);
}

TEST(SkinTexCoord, DependsOnlyOnDirection) {
    float u = 0;
    float v = 0;
    SkinTexCoord(110, 50, 100, 50, u, v);
    EXPECT_FLOAT_EQ(u, 1.0f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    SkinTexCoord(100, 20, 100, 50, u, v);
    EXPECT_FLOAT_EQ(u, 0.5f);
    EXPECT_FLOAT_EQ(v, 0.0f);
    SkinTexCoord(97, 53, 100, 50, u, v);
    EXPECT_NEAR(u, 0.5 - 0.5 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(v, 0.5 + 0.5 / std::sqrt(2.0), 1e-6);
    // A point on the centre has no direction and takes the texture's centre.
    SkinTexCoord(100, 50, 100, 50, u, v);
    EXPECT_EQ(u, 0.5f);
    EXPECT_EQ(v, 0.5f);
}

TEST(FaceFrame, FollowsDirectionAndHorizontalSpeed) {
    EXPECT_EQ(FaceFrame(0, 5.0f), 0);
    EXPECT_EQ(FaceFrame(0, -5.0f), 0);
    EXPECT_EQ(FaceFrame(7, 5.0f), 0);
    EXPECT_EQ(FaceFrame(1, 3.0f), 1);
    EXPECT_EQ(FaceFrame(1, 2.0f), 3);
    EXPECT_EQ(FaceFrame(1, 1.5f), 3);
    EXPECT_EQ(FaceFrame(1, -4.0f), 3);
    EXPECT_EQ(FaceFrame(-1, -3.0f), 2);
    EXPECT_EQ(FaceFrame(-1, -2.0f), 4);
    EXPECT_EQ(FaceFrame(-1, 4.0f), 4);
}

// Draws through the Direct3D 7 stand-in into memory.
class SkinDrawTest : public morvel_test::GameWorld {
protected:
    void SetUp() override {
        GameWorld::SetUp();
        present::InitPresent();
        present::SelectRenderer(present::Direct3D7Renderer(), 2);
        ASSERT_TRUE(present::OpenScreen(200, 200, 0, 60, 0));
        present::StartInput();
    }
    void TearDown() override {
        morvel::skinImage.reset();
        present::CloseScreen();
        GameWorld::TearDown();
    }

    static present::ImageRef HalfImage(int size) {
        // Left half red, right half blue.
        auto image = std::make_shared<present::TImage>();
        image->width = size;
        image->height = size;
        image->flags = 0;
        present::TPixmap pixmap;
        pixmap.width = size;
        pixmap.height = size;
        pixmap.rgba.resize(static_cast<std::size_t>(size) * size * 4);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                std::uint8_t* p = &pixmap.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
                p[0] = x < size / 2 ? 255 : 0;
                p[2] = x < size / 2 ? 0 : 255;
                p[3] = 255;
            }
        }
        image->pixmaps.push_back(pixmap);
        image->frames.resize(1);
        image->frameScreens.resize(1);
        return image;
    }

    static const std::uint8_t* Pixel(const present::TPixmap& shot, int x, int y) {
        return &shot.rgba[(static_cast<std::size_t>(y) * shot.width + x) * 4];
    }
};

TEST_F(SkinDrawTest, TexturedFanMapsTheImageOntoThePolygon) {
    // A non-power-of-two image only lands right if the texture scale is applied.
    auto image = HalfImage(40);
    present::SetClearColour(0, 255, 0);
    present::ClearScreen();
    present::SetDrawOrigin(50, 50);
    const std::vector<float> square = {0, 0, 0, 0, 100, 0, 1, 0, 100, 100, 1, 1, 0, 100, 0, 1};
    morvel::DrawTexturedPolygon(square, image, 0, 1);
    present::TPixmap shot;
    ASSERT_TRUE(present::CaptureScreen(shot));
    EXPECT_GT(Pixel(shot, 60, 100)[0], 200); // left part red
    EXPECT_LT(Pixel(shot, 60, 100)[2], 50);
    EXPECT_GT(Pixel(shot, 140, 100)[2], 200); // right part blue
    EXPECT_LT(Pixel(shot, 140, 100)[0], 50);
    EXPECT_GT(Pixel(shot, 160, 100)[1], 200); // outside: the clear colour
    EXPECT_GT(Pixel(shot, 30, 100)[1], 200);
}

TEST_F(SkinDrawTest, BlobDrawLeavesWhiteAndUnitScale) {
    morvel::skinImage = HalfImage(64);
    auto blob = morvel::TBlob::Create(100, 100);
    present::SetDrawColour(10, 20, 30);
    blob->Draw();
    EXPECT_EQ(present::State().red, 255);
    EXPECT_EQ(present::State().green, 255);
    EXPECT_EQ(present::State().blue, 255);
    float sx = 0;
    float sy = 0;
    present::GetDrawScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    present::TPixmap shot;
    ASSERT_TRUE(present::CaptureScreen(shot));
    EXPECT_GT(Pixel(shot, 90, 100)[0], 200);
    EXPECT_GT(Pixel(shot, 110, 100)[2], 200);
    // The outline on the rim is black.
    const std::uint8_t* rim = Pixel(shot, 124, 100);
    EXPECT_LT(rim[0] + rim[1] + rim[2], 200);
    present::SetDrawScale(2, 3);
    blob->DrawFlat();
    EXPECT_EQ(present::State().red, 255);
    present::GetDrawScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
}

} // namespace
