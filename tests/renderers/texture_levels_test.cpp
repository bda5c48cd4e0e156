#include "texture_levels.h"

#include <gtest/gtest.h>

namespace present {
namespace {

TPixmap Filled(int width, int height, std::uint8_t value) {
    TPixmap pixmap;
    pixmap.width = width;
    pixmap.height = height;
    pixmap.rgba.assign(static_cast<std::size_t>(width) * height * 4, value);
    return pixmap;
}

TEST(MipChain, HalvesEachSideDownToOnePixelAveragingBoxes) {
    TPixmap base = Filled(4, 2, 0);
    // Left half 0, right half 200 in the red channel; alpha 255 everywhere.
    for (int i = 0; i < 8; ++i) {
        base.rgba[i * 4] = (i % 4) >= 2 ? 200 : 0;
        base.rgba[i * 4 + 3] = 255;
    }
    const std::vector<TPixmap> levels = MipChain(base);
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[1].width, 2);
    EXPECT_EQ(levels[1].height, 1);
    EXPECT_EQ(levels[1].rgba[0], 0);
    EXPECT_EQ(levels[1].rgba[4], 200);
    EXPECT_EQ(levels[1].rgba[7], 255);
    EXPECT_EQ(levels[2].width, 1);
    EXPECT_EQ(levels[2].height, 1);
    EXPECT_EQ(levels[2].rgba[0], 100);
    EXPECT_EQ(MipChain(Filled(1, 1, 7)).size(), 1u);
}

TEST(MipChain, LevelChoiceFollowsTheMinification) {
    EXPECT_EQ(MipLevelFor(0.5f, 5), 0);
    EXPECT_EQ(MipLevelFor(1.0f, 5), 0);
    EXPECT_EQ(MipLevelFor(1.3f, 5), 0);
    EXPECT_EQ(MipLevelFor(2.0f, 5), 1);
    EXPECT_EQ(MipLevelFor(4.0f, 5), 2);
    EXPECT_EQ(MipLevelFor(1000.0f, 5), 4);
    EXPECT_EQ(MipLevelFor(8.0f, 1), 0);
}

TEST(FitToTextureSize, ShrinksOnlyWhatDoesNotFitKeepingItsShareOfTheTexture) {
    const TPixmap small = Filled(100, 60, 9);
    EXPECT_EQ(FitToTextureSize(small, 128).width, 100);
    // 3000 wide needs a 4096 texture; at most 2048 it becomes 1500 (the same
    // 3000 / 4096 of its texture), the height untouched.
    const TPixmap wide = FitToTextureSize(Filled(3000, 10, 77), 2048);
    EXPECT_EQ(wide.width, 1500);
    EXPECT_EQ(wide.height, 10);
    EXPECT_EQ(wide.rgba.size(), 1500u * 10 * 4);
    EXPECT_EQ(wide.rgba[123], 77);
    const TPixmap both = FitToTextureSize(Filled(300, 500, 1), 64);
    EXPECT_EQ(both.width, 300 / 8 + 1);
    EXPECT_EQ(both.height, 500 / 8 + 1);
}

} // namespace
} // namespace present
