// A renderer on a small screen, with helpers to draw quads and read pixels
// back. Each test program says which renderer it tests and on which platform.
#pragma once

#include "renderer.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace present::testing {

// Installs the platform and makes the renderer the program tests.
RendererRef MakeRendererUnderTest();

struct TRGB {
    int r, g, b;
};

class RendererTest : public ::testing::Test {
protected:
    static constexpr int kSize = 32;

    void SetUp() override {
        renderer = MakeRendererUnderTest();
        screen.width = kSize;
        screen.height = kSize;
        ASSERT_TRUE(renderer->Open(screen));
    }
    void TearDown() override { renderer->Close(); }

    TRGB Pixel(int x, int y) {
        TPixmap shot;
        EXPECT_TRUE(renderer->ReadPixels(shot));
        if (shot.width != kSize || shot.height != kSize) {
            ADD_FAILURE() << "read back " << shot.width << " x " << shot.height;
            return TRGB{-1, -1, -1};
        }
        const std::uint8_t* p = &shot.rgba[(static_cast<std::size_t>(y) * shot.width + x) * 4];
        return TRGB{p[0], p[1], p[2]};
    }

    // Two triangles covering [x0, x1) x [y0, y1), uv over [0, u1] x [0, v1].
    static std::array<TVertex, 6> Quad(float x0, float y0, float x1, float y1, float u1 = 1,
                                       float v1 = 1) {
        return {TVertex{x0, y0, 0, 0}, TVertex{x1, y0, u1, 0},  TVertex{x1, y1, u1, v1},
                TVertex{x0, y0, 0, 0}, TVertex{x1, y1, u1, v1}, TVertex{x0, y1, 0, v1}};
    }

    RendererRef renderer;
    TScreen screen;
};

// A pixmap of one colour.
inline TPixmap SolidPixmap(int width, int height, std::array<std::uint8_t, 4> rgba) {
    TPixmap pixmap;
    pixmap.width = width;
    pixmap.height = height;
    pixmap.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < pixmap.rgba.size(); ++i) {
        pixmap.rgba[i] = rgba[i % 4];
    }
    return pixmap;
}

} // namespace present::testing

#define EXPECT_RGB_NEAR(actual, er, eg, eb, tolerance)                                             \
    do {                                                                                           \
        const auto got_ = (actual);                                                                \
        EXPECT_NEAR(got_.r, (er), (tolerance));                                                    \
        EXPECT_NEAR(got_.g, (eg), (tolerance));                                                    \
        EXPECT_NEAR(got_.b, (eb), (tolerance));                                                    \
    } while (false)
