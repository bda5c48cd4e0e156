#include "embedded_picture.h"
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <unistd.h>

namespace {

using testpng::Bytes;
using Rgba = std::array<int, 4>;

Rgba PixelAt(const present::TPixmap& pixmap, int x, int y) {
    const auto at = (static_cast<std::size_t>(y) * pixmap.width + x) * 4;
    return {pixmap.rgba[at], pixmap.rgba[at + 1], pixmap.rgba[at + 2], pixmap.rgba[at + 3]};
}

// Every load in this file starts from the default mask colour.
class ImageLoading : public testing::Test {
protected:
    void SetUp() override { present::SetLoadMaskColour(0, 0, 0); }
    void TearDown() override { present::SetLoadMaskColour(0, 0, 0); }
};

TEST_F(ImageLoading, DefaultMaskMakesExactlyPureBlackTransparentWithNeighbourMeanColour) {
    const Bytes rgb = {
        10, 20, 30, 0, 0, 0, 11,  21,  31, 0, 0, 1, //
        0,  0,  0,  0, 0, 0, 200, 100, 50, 0, 0, 0, //
        0,  0,  0,  0, 0, 0, 0,   0,   0,  0, 0, 0,
    };
    const auto image =
        present::LoadImageFile(testpng::Embed("test/mask.png", testpng::MakePng(4, 3, 2, rgb)), -1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, present::ImageMasked + present::ImageFiltered);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->anchorX, 0);
    EXPECT_EQ(image->anchorY, 0);
    ASSERT_EQ(image->FrameCount(), 1);
    ASSERT_EQ(image->frames.size(), 1u);
    EXPECT_EQ(image->frames[0], nullptr);
    const auto& pixels = image->pixmaps[0];

    EXPECT_EQ(PixelAt(pixels, 0, 0), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(PixelAt(pixels, 3, 0), (Rgba{0, 0, 1, 255})); // near-black is not the mask
    // Means of the unmasked neighbours, rounded to nearest: 221/3, 141/3, 111/3.
    EXPECT_EQ(PixelAt(pixels, 1, 0), (Rgba{74, 47, 37, 0}));
    // 211/3, 121/3, 82/3 from (11,21,31), (0,0,1), (200,100,50).
    EXPECT_EQ(PixelAt(pixels, 3, 1), (Rgba{70, 40, 27, 0}));
    // Surrounded by masked pixels only: black.
    EXPECT_EQ(PixelAt(pixels, 0, 2), (Rgba{0, 0, 0, 0}));
    int transparent = 0;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            transparent += PixelAt(pixels, x, y)[3] == 0;
        }
    }
    EXPECT_EQ(transparent, 8);
}

TEST_F(ImageLoading, MaskColourIsClampedAndRecordedInTheImage) {
    const Bytes rgb = {255, 0, 128, 255, 0, 127, 0, 0, 0};
    const std::string url = testpng::Embed("test/mask-colour.png", testpng::MakePng(3, 1, 2, rgb));
    present::SetLoadMaskColour(300, -5, 128);
    const auto image = present::LoadImageFile(url, present::ImageMasked);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->maskRed, 255);
    EXPECT_EQ(image->maskGreen, 0);
    EXPECT_EQ(image->maskBlue, 128);
    EXPECT_EQ(PixelAt(image->pixmaps[0], 0, 0)[3], 0);
    EXPECT_EQ(PixelAt(image->pixmaps[0], 1, 0), (Rgba{255, 0, 127, 255}));
    EXPECT_EQ(PixelAt(image->pixmaps[0], 2, 0), (Rgba{0, 0, 0, 255}));

    // A later change of the mask colour does not touch images already loaded.
    present::SetLoadMaskColour(1, 2, 3);
    EXPECT_EQ(image->maskRed, 255);
}

TEST_F(ImageLoading, PicturesWithAlphaAndUnmaskedLoadsKeepTheirPixels) {
    const Bytes rgba = {0, 0, 0, 255, 0, 0, 0, 7, 5, 6, 7, 0, 9, 9, 9, 128};
    const auto withAlpha = present::LoadImageFile(
        testpng::Embed("test/alpha.png", testpng::MakePng(4, 1, 6, rgba)), -1);
    ASSERT_NE(withAlpha, nullptr);
    EXPECT_EQ(withAlpha->pixmaps[0].rgba, std::vector<std::uint8_t>(rgba.begin(), rgba.end()));

    const auto unmasked = present::LoadImageFile(
        testpng::Embed("test/unmasked.png", testpng::MakePng(2, 1, 2, {0, 0, 0, 1, 2, 3})),
        present::ImageFiltered);
    ASSERT_NE(unmasked, nullptr);
    EXPECT_EQ(PixelAt(unmasked->pixmaps[0], 0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(unmasked->pixmaps[0], 1, 0), (Rgba{1, 2, 3, 255}));
}

TEST_F(ImageLoading, UnreadableSourcesGiveNull) {
    EXPECT_EQ(present::LoadImageFile("incbin::test/never-registered.png", -1), nullptr);
    EXPECT_EQ(present::LoadImageFile("/nonexistent/picture.png", -1), nullptr);
    EXPECT_EQ(present::LoadImageFile(std::filesystem::temp_directory_path().string(), -1), nullptr);
    const std::string text = testpng::Embed("test/not-a-png.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(present::LoadImageFile(text, -1), nullptr);
    EXPECT_EQ(present::LoadImageStrip(text, 1, 1, 0, 1, -1), nullptr);
    const std::string empty = testpng::Embed("test/empty.png", Bytes{});
    EXPECT_EQ(present::LoadImageFile(empty, -1), nullptr);

    present::SetImageAnchor(nullptr, 1, 2);
    const auto image = present::LoadImageFile(
        testpng::Embed("test/anchor.png", testpng::MakePng(1, 1, 2, {1, 1, 1})), 0);
    ASSERT_NE(image, nullptr);
    present::SetImageAnchor(image, 32, 0.5f);
    EXPECT_EQ(image->anchorX, 32);
    EXPECT_EQ(image->anchorY, 0.5f);
}

// A strip picture whose cell i (cells numbered left to right, then top to
// bottom) is filled with red = 10 * (i + 1).
Bytes NumberedCells(int across, int down, int cellWidth, int cellHeight) {
    const int width = across * cellWidth;
    const int height = down * cellHeight;
    Bytes rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cell = (y / cellHeight) * across + x / cellWidth;
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(10 * (cell + 1)), 0, 0, 255});
        }
    }
    return testpng::MakePng(width, height, 6, rgba);
}

TEST_F(ImageLoading, StripFramesComeFromCellsInReadingOrder) {
    const std::string row = testpng::Embed("test/strip-row.png", NumberedCells(5, 1, 64, 64));
    const auto strip = present::LoadImageStrip(row, 64, 64, 0, 5, 6);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->flags, 6);
    EXPECT_EQ(strip->width, 64);
    EXPECT_EQ(strip->height, 64);
    ASSERT_EQ(strip->FrameCount(), 5);
    EXPECT_EQ(strip->frames.size(), 5u);
    EXPECT_EQ(strip->frameScreens.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const auto& frame = strip->pixmaps[static_cast<std::size_t>(i)];
        ASSERT_EQ(frame.width, 64);
        ASSERT_EQ(frame.height, 64);
        EXPECT_EQ(PixelAt(frame, 0, 0)[0], 10 * (i + 1));
        EXPECT_EQ(PixelAt(frame, 63, 63)[0], 10 * (i + 1));
    }
    EXPECT_EQ(present::LoadImageStrip(row, 64, 64, 0, 6, 6), nullptr);
    EXPECT_EQ(present::LoadImageStrip(row, 64, 64, 1, 5, 6), nullptr);
    EXPECT_NE(present::LoadImageStrip(row, 64, 64, 4, 1, 6), nullptr);

    // Cells 2, 3, 4 of a 3 x 2 grid wrap onto the second row.
    const std::string grid = testpng::Embed("test/strip-grid.png", NumberedCells(3, 2, 32, 32));
    const auto wrapped = present::LoadImageStrip(grid, 32, 32, 2, 3, 0);
    ASSERT_NE(wrapped, nullptr);
    ASSERT_EQ(wrapped->FrameCount(), 3);
    EXPECT_EQ(PixelAt(wrapped->pixmaps[0], 0, 0)[0], 30);
    EXPECT_EQ(PixelAt(wrapped->pixmaps[1], 0, 0)[0], 40);
    EXPECT_EQ(PixelAt(wrapped->pixmaps[2], 31, 31)[0], 50);
    // 40-pixel cells fit twice into 96 pixels; the 16 columns left over are ignored.
    const auto narrow = present::LoadImageStrip(grid, 40, 32, 0, 4, 0);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(PixelAt(narrow->pixmaps[1], 0, 0)[0], 20); // x 40 lies in cell 1
    EXPECT_EQ(PixelAt(narrow->pixmaps[2], 0, 0)[0], 40); // second row starts at x 0
    EXPECT_EQ(present::LoadImageStrip(grid, 40, 32, 0, 5, 0), nullptr);
}

TEST_F(ImageLoading, StripRejectsImpossibleCellRequests) {
    const std::string row = testpng::Embed("test/strip-bad.png", NumberedCells(5, 1, 64, 64));
    for (const auto& [w, h, first, count] : std::vector<std::array<int, 4>>{
             {0, 64, 0, 1},
             {64, 0, 0, 1},
             {-64, 64, 0, 1},
             {64, -64, 0, 1},
             {64, 64, -1, 1},
             {64, 64, 0, 0},
             {64, 64, 0, -1},
             {321, 64, 0, 1},
             {64, 65, 0, 1},
             {64, 64, INT_MAX, INT_MAX},
             {1, 1, INT_MAX, 1},
         }) {
        EXPECT_EQ(present::LoadImageStrip(row, w, h, first, count, 0), nullptr)
            << w << "x" << h << " cells " << first << "+" << count;
    }
    EXPECT_EQ(present::LoadImageStrip("incbin::test/missing-strip.png", 64, 64, 0, 1, 0), nullptr);
}

TEST_F(ImageLoading, StripMasksEachFrameWithinItsOwnCell) {
    const Bytes rgb = {100, 100, 100, 0, 0, 0, 50, 50, 50, 7, 7, 7};
    const auto strip = present::LoadImageStrip(
        testpng::Embed("test/strip-mask.png", testpng::MakePng(4, 1, 2, rgb)), 2, 1, 0, 2, -1);
    ASSERT_NE(strip, nullptr);
    // The neighbour at x 2 belongs to the next cell and does not count.
    EXPECT_EQ(PixelAt(strip->pixmaps[0], 1, 0), (Rgba{100, 100, 100, 0}));
    EXPECT_EQ(PixelAt(strip->pixmaps[1], 0, 0), (Rgba{50, 50, 50, 255}));
}

TEST_F(ImageLoading, SavedPicturesLoadBackUnchanged) {
    present::TPixmap pixmap{3, 2, {}};
    for (int i = 0; i < 24; ++i) {
        pixmap.rgba.push_back(static_cast<std::uint8_t>(i * 11));
    }
    const auto path = std::filesystem::temp_directory_path() /
                      ("present_saved_" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(present::SavePng(path.string(), pixmap));
    const auto image = present::LoadImageFile(path.string(), -1);
    std::filesystem::remove(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmaps[0].rgba, pixmap.rgba);

    EXPECT_FALSE(present::SavePng("/nonexistent/dir/x.png", pixmap));
    present::TPixmap shortPixels{3, 2, std::vector<std::uint8_t>(23)};
    EXPECT_FALSE(present::SavePng(path.string(), shortPixels));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
