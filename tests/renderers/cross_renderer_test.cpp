#include "display_readback.h"
#include "font.h"
#include "renderer.h"
#include "scene.h"
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace present::testing {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Both follow the same rasterization and sampling rules: only rounding in
// filtered texels may differ, by a step or two, and a few edge pixels.
constexpr double kMeanTolerance = 0.25;
constexpr int kPercentile999Tolerance = 64;

TPixmap Render(const RendererRef& renderer, void (*draw)()) {
    SelectRenderer(renderer, ScreenDoubleBuffered);
    TPixmap shot;
    if (!OpenScreen(kWidth, kHeight, 0, 0, 0)) {
        ADD_FAILURE() << "cannot open a screen with " << renderer->Name();
        return shot;
    }
    draw();
    EXPECT_TRUE(CaptureScreen(shot));
    CloseScreen();
    return shot;
}

// The stand-in in memory, then OpenGL on the display.
std::pair<TPixmap, TPixmap> RenderBoth(void (*draw)()) {
    InitPresent();
    SetPlatform(std::make_shared<THeadlessPlatform>());
    TPixmap standIn = Render(Direct3D7Renderer(), draw);
    SetPlatform(nullptr);
    TPixmap openGL = Render(OpenGLRenderer(), draw);
    return {std::move(standIn), std::move(openGL)};
}

using TPixelSet = std::set<std::pair<int, int>>;

// The pixels of the box [x0, x1) x [y0, y1) that are not black.
TPixelSet Lit(const TPixmap& shot, int x0, int y0, int x1, int y1) {
    TPixelSet lit;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::uint8_t* p = &shot.rgba[(static_cast<std::size_t>(y) * shot.width + x) * 4];
            if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                lit.emplace(x, y);
            }
        }
    }
    return lit;
}

// White on black, each shape alone in its own box (see PlacementIsExact...).
void DrawPlacementShapes() {
    SetBlendMode(BlendMasked);
    SetClearColour(0, 0, 0);
    ClearScreen();
    static const ImageRef dot = [] {
        auto image = std::make_shared<TImage>();
        image->width = image->height = 1;
        TPixmap pixel;
        pixel.width = pixel.height = 1;
        pixel.rgba = {255, 255, 255, 255};
        image->pixmaps.push_back(pixel);
        image->frames.resize(1);
        image->frameScreens.resize(1);
        return image;
    }();
    DrawImageFrame(dot, 15, 15, 0);
    DrawString("H", 40, 8);
    SetLineThickness(1.0f);
    const float ring[] = {10.5f, 40.5f, 29.5f, 40.5f, 29.5f, 59.5f, 10.5f, 59.5f};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        RendererDrawLine(ring[i * 2], ring[i * 2 + 1], ring[j * 2], ring[j * 2 + 1], 0, 0);
    }
    FillEllipse(60, 40, 16, 16);
}

TEST(CrossRenderer, StandInInMemoryMatchesOpenGL) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    const auto [standIn, openGL] = RenderBoth(DrawScene);
    ASSERT_EQ(standIn.width, kWidth);
    ASSERT_EQ(openGL.width, kWidth);
    ASSERT_EQ(standIn.rgba.size(), openGL.rgba.size());

    std::vector<int> differences;
    double sum = 0;
    for (std::size_t i = 0; i < standIn.rgba.size(); ++i) {
        if (i % 4 == 3) {
            continue;
        }
        const int d = std::abs(int(standIn.rgba[i]) - int(openGL.rgba[i]));
        differences.push_back(d);
        sum += d;
    }
    const double mean = sum / static_cast<double>(differences.size());
    const std::size_t rank = differences.size() * 999 / 1000;
    std::nth_element(differences.begin(), differences.begin() + static_cast<long>(rank),
                     differences.end());
    const int percentile999 = differences[rank];
    RecordProperty("mean", std::to_string(mean));
    RecordProperty("p99.9", percentile999);
    EXPECT_LT(mean, kMeanTolerance);
    EXPECT_LE(percentile999, kPercentile999Tolerance);
    if (::testing::Test::HasFailure() || std::getenv("RENDERERS_KEEP_IMAGES") != nullptr) {
        const std::string dir = RENDERERS_OUTPUT_DIR;
        SavePng(dir + "/cross_renderer_direct3d7.png", standIn);
        SavePng(dir + "/cross_renderer_opengl.png", openGL);
        std::printf("mean %f, 99.9th percentile %d; pictures saved in %s\n", mean, percentile999,
                    dir.c_str());
    }
}

// On a display the stand-in shows its frame as it drew it, pixel for pixel:
// what was drawn in memory (masked filtered edges cut, not blended, among the
// rest) reaches the window unchanged.
TEST(CrossRenderer, StandInOnADisplayShowsItsFrameExactly) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    SetPlatform(nullptr);
    InitPresent();
    SelectRenderer(Direct3D7Renderer(), ScreenDoubleBuffered);
    ASSERT_TRUE(OpenScreen(kWidth, kHeight, 0, 0, 0));
    DrawScene();
    TPixmap drawn;
    ASSERT_TRUE(CaptureScreen(drawn));
    PresentFrame(0);
    TPixmap shown;
    int differing = -1;
    // The window may take a moment to receive the frame.
    for (int attempt = 0; attempt < 50 && differing != 0; ++attempt) {
        SDL_Delay(20);
        ASSERT_TRUE(ReadWindowFromDisplay(kWidth, kHeight, shown));
        differing = 0;
        for (std::size_t i = 0; i < drawn.rgba.size(); i += 4) {
            differing += drawn.rgba[i] != shown.rgba[i] || drawn.rgba[i + 1] != shown.rgba[i + 1] ||
                         drawn.rgba[i + 2] != shown.rgba[i + 2];
        }
    }
    CloseScreen();
    EXPECT_EQ(differing, 0) << "pixels shown otherwise than drawn";
    if (differing != 0) {
        SavePng(std::string(RENDERERS_OUTPUT_DIR) + "/standin_drawn.png", drawn);
        SavePng(std::string(RENDERERS_OUTPUT_DIR) + "/standin_shown.png", shown);
    }
}

// A 1 x 1 picture lights exactly its pixel, a glyph exactly its set bits in
// its cell, a one-pixel outline one pixel of its square's rim, and an ellipse
// exactly its box; and both renderers light the very same pixels.
TEST(CrossRenderer, PlacementIsExactAndTheSameInBothRenderers) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs a display";
    const auto [standIn, openGL] = RenderBoth(DrawPlacementShapes);
    ASSERT_EQ(standIn.width, kWidth);
    ASSERT_EQ(openGL.width, kWidth);
    EXPECT_EQ(Lit(standIn, 0, 0, kWidth, kHeight), Lit(openGL, 0, 0, kWidth, kHeight));

    for (const TPixmap* shot : {&standIn, &openGL}) {
        SCOPED_TRACE(shot == &standIn ? "stand-in" : "OpenGL");
        EXPECT_EQ(Lit(*shot, 0, 0, 32, 32), (TPixelSet{{15, 15}}));

        const TPixmap& glyph = BuiltinFont()->Glyph('H')->pixmaps.front();
        TPixelSet bits;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                if (glyph.rgba[(static_cast<std::size_t>(y) * glyph.width + x) * 4 + 3] > 127) {
                    bits.emplace(40 + x, 8 + y);
                }
            }
        }
        EXPECT_FALSE(bits.empty());
        EXPECT_EQ(Lit(*shot, 32, 0, 64, 32), bits);

        const TPixelSet outline = Lit(*shot, 0, 32, 40, 70);
        EXPECT_TRUE(Lit(*shot, 11, 41, 29, 59).empty()) << "the outline is thicker than a pixel";
        int rim = 0;
        for (const auto& [x, y] : outline) {
            const bool onRim = x == 10 || x == 29 || y == 40 || y == 59;
            EXPECT_TRUE(onRim && x >= 10 && x <= 29 && y >= 40 && y <= 59)
                << "(" << x << ", " << y << ") off the rim";
            rim += onRim ? 1 : 0;
        }
        EXPECT_GE(rim, 4 * 19 - 4) << "the outline has gaps";

        const TPixelSet ellipse = Lit(*shot, 50, 32, 90, 70);
        ASSERT_FALSE(ellipse.empty());
        int left = kWidth, right = -1, top = kHeight, bottom = -1;
        for (const auto& [x, y] : ellipse) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
        EXPECT_EQ(left, 60);
        EXPECT_EQ(right, 75);
        EXPECT_EQ(top, 40);
        EXPECT_EQ(bottom, 55);
        EXPECT_EQ(ellipse.count({60, 40}) + ellipse.count({75, 40}) + ellipse.count({60, 55}) +
                      ellipse.count({75, 55}),
                  0u)
            << "an ellipse leaves its box's corners";
    }
}

} // namespace
} // namespace present::testing
