#include "renderer.h"
#include "screen.h"
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

namespace {

using present::TPixmap;

TPixmap Numbered(int width, int height) {
    TPixmap pixmap{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        pixmap.rgba.insert(pixmap.rgba.end(), {static_cast<std::uint8_t>(i), 1, 2, 3});
    }
    return pixmap;
}

int RedAt(const TPixmap& pixmap, int x, int y) {
    return pixmap.rgba[(static_cast<std::size_t>(y) * pixmap.width + x) * 4];
}

TEST(PaddedFrames, SidesGrowToPowersOfTwoWithTheLastColumnAndRowRepeated) {
    EXPECT_EQ(present::NextPowerOfTwo(-3), 1);
    EXPECT_EQ(present::NextPowerOfTwo(1), 1);
    EXPECT_EQ(present::NextPowerOfTwo(47), 64);
    EXPECT_EQ(present::NextPowerOfTwo(64), 64);
    EXPECT_EQ(present::NextPowerOfTwo(139), 256);

    const TPixmap frame = Numbered(3, 3); // red = y * 3 + x
    const TPixmap padded = present::PadToPowerOfTwo(frame);
    ASSERT_EQ(padded.width, 4);
    ASSERT_EQ(padded.height, 4);
    ASSERT_EQ(padded.rgba.size(), 64u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(RedAt(padded, x, y), y * 3 + x);
        }
        EXPECT_EQ(RedAt(padded, 3, y), y * 3 + 2);
    }
    EXPECT_EQ(RedAt(padded, 0, 3), 6);
    EXPECT_EQ(RedAt(padded, 1, 3), 7);
    EXPECT_EQ(RedAt(padded, 3, 3), 8);
    EXPECT_EQ(padded.rgba[(4 * 3 + 3) * 4 + 3], 3); // whole pixels, alpha included

    const TPixmap wide = present::PadToPowerOfTwo(Numbered(5, 1));
    ASSERT_EQ(wide.width, 8);
    ASSERT_EQ(wide.height, 1);
    EXPECT_EQ(RedAt(wide, 7, 0), 4);

    const TPixmap square = Numbered(64, 64);
    EXPECT_EQ(present::PadToPowerOfTwo(square).rgba, square.rgba);
    EXPECT_TRUE(present::PadToPowerOfTwo(TPixmap{}).rgba.empty());
    EXPECT_TRUE(present::PadToPowerOfTwo(TPixmap{2, 2, std::vector<std::uint8_t>(3)}).rgba.empty());
}

// Counts the texture copies it is asked to make; draws nothing.
class TCountingRenderer : public present::TRenderer {
public:
    const char* Name() const override { return "counting"; }
    bool Open(present::TScreen&) override { return true; }
    void Close() override {}
    void Clear(int, int, int) override {}
    void Present(bool) override {}
    void SetBlendMode(int) override {}
    void FillTriangles(const present::TVertex*, int, const present::TPaint&) override {}
    void DrawTexturedTriangles(present::TRendererTexture&, int, const present::TVertex*, int,
                               const present::TPaint&) override {}
    bool ReadPixels(TPixmap&) override { return false; }

    present::TextureRef MakeTexture(const TPixmap& frame, int imageFlags) override {
        ++made;
        lastFlags = imageFlags;
        lastRed = frame.rgba.empty() ? -1 : frame.rgba[0];
        if (failing) {
            return nullptr;
        }
        auto texture = std::make_shared<present::TRendererTexture>();
        texture->frameWidth = frame.width;
        texture->frameHeight = frame.height;
        return texture;
    }

    int made = 0;
    int lastFlags = 0;
    int lastRed = 0;
    bool failing = false;
};

class FrameTextures : public testing::Test {
protected:
    void SetUp() override {
        present::SetPlatform(std::make_shared<present::THeadlessPlatform>());
        present::SelectRenderer(renderer, 0);
        image->width = 2;
        image->height = 1;
        image->flags = 6;
        for (int frame = 0; frame < 2; ++frame) {
            image->pixmaps.push_back(
                TPixmap{2, 1, {static_cast<std::uint8_t>(10 + frame), 0, 0, 0, 0, 0, 0, 0}});
            image->frames.push_back(nullptr);
            image->frameScreens.push_back(0);
        }
    }
    void TearDown() override { present::SelectRenderer(nullptr, 0); }

    std::shared_ptr<TCountingRenderer> renderer = std::make_shared<TCountingRenderer>();
    present::ImageRef image = std::make_shared<present::TImage>();
};

TEST_F(FrameTextures, MadeOnFirstUseAndReusedOnTheSameScreen) {
    ASSERT_NE(present::OpenScreen(64, 32, 0, 0, 0), nullptr);
    const int opened = renderer->made; // whatever the screen set-up itself uploads

    const auto first = image->FrameTexture(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(renderer->made, opened + 1);
    EXPECT_EQ(renderer->lastRed, 11);
    EXPECT_EQ(renderer->lastFlags, 6);
    EXPECT_EQ(image->frameScreens[1], present::CurrentScreenNumber());
    EXPECT_EQ(image->frames[0], nullptr);

    for (int draw = 0; draw < 5; ++draw) {
        EXPECT_EQ(image->FrameTexture(1), first);
    }
    EXPECT_EQ(renderer->made, opened + 1);

    EXPECT_EQ(image->FrameTexture(-1), nullptr);
    EXPECT_EQ(image->FrameTexture(2), nullptr);
    EXPECT_EQ(renderer->made, opened + 1);
    present::CloseScreen();
}

TEST_F(FrameTextures, MadeAgainAfterEveryScreenChange) {
    ASSERT_NE(present::OpenScreen(64, 32, 0, 0, 0), nullptr);
    const auto onFirst = image->FrameTexture(0);
    const int firstScreen = present::CurrentScreenNumber();

    ASSERT_NE(present::OpenScreen(64, 32, 0, 0, 0), nullptr);
    ASSERT_NE(present::CurrentScreenNumber(), firstScreen);
    const int before = renderer->made;
    const auto onSecond = image->FrameTexture(0);
    ASSERT_NE(onSecond, nullptr);
    EXPECT_NE(onSecond, onFirst);
    EXPECT_EQ(renderer->made, before + 1);
    EXPECT_EQ(image->frameScreens[0], present::CurrentScreenNumber());
    EXPECT_EQ(image->FrameTexture(0), onSecond);
    EXPECT_EQ(renderer->made, before + 1);

    present::CloseScreen();
    EXPECT_NE(image->FrameTexture(0), onSecond);
    EXPECT_EQ(renderer->made, before + 2);
}

TEST_F(FrameTextures, FailedCopiesGiveNullAndAreTriedAgain) {
    ASSERT_NE(present::OpenScreen(64, 32, 0, 0, 0), nullptr);
    renderer->failing = true;
    const int before = renderer->made;
    EXPECT_EQ(image->FrameTexture(0), nullptr);
    EXPECT_EQ(image->FrameTexture(0), nullptr);
    EXPECT_EQ(renderer->made, before + 2);
    renderer->failing = false;
    EXPECT_NE(image->FrameTexture(0), nullptr);
    present::CloseScreen();

    present::SelectRenderer(nullptr, 0);
    EXPECT_EQ(image->FrameTexture(1), nullptr);
}

} // namespace
