#include "renderer_fixture.h"

namespace present::testing {
namespace {

constexpr TRGB kDestination{100, 150, 200};
constexpr TRGB kSource{200, 100, 50};

struct TBlendCase {
    TBlendMode mode;
    TRGB expected; // for the source at alpha 0.5 over the destination
};

// src = (200, 100, 50) at alpha 0.5, dst = (100, 150, 200).
const TBlendCase kCases[] = {
    {TBlendMode::Solid, {200, 100, 50}},   {TBlendMode::Alpha, {150, 125, 125}},
    {TBlendMode::Add, {200, 200, 225}},    {TBlendMode::Multiply, {78, 59, 39}},
    {TBlendMode::Masked, {100, 150, 200}}, // alpha 0.5 is not above the
                                           // threshold
};

class BlendTest : public RendererTest {
protected:
    void StartFrame(TBlendMode mode) {
        renderer->Clear(kDestination.r, kDestination.g, kDestination.b);
        renderer->SetBlendMode(mode);
    }
    void Fill(TBlendMode mode, float alpha, TRGB colour = kSource) {
        const auto quad = Quad(4, 4, 28, 28);
        renderer->FillTriangles(quad.data(), 6, TPaint{colour.r, colour.g, colour.b, alpha, mode});
    }
    void DrawTexture(const TextureRef& texture, TBlendMode mode, float alpha,
                     TRGB colour = kSource) {
        const auto quad = Quad(4, 4, 28, 28);
        renderer->DrawTexturedTriangles(*texture, TImageFlags::None, quad.data(), 6,
                                        TPaint{colour.r, colour.g, colour.b, alpha, mode});
    }
};

TEST_F(BlendTest, ShapesFollowEachModesArithmetic) {
    for (const TBlendCase& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        StartFrame(c.mode);
        Fill(c.mode, 0.5f);
        EXPECT_RGB_NEAR(Pixel(16, 16), c.expected.r, c.expected.g, c.expected.b, 2);
        EXPECT_RGB_NEAR(Pixel(1, 1), kDestination.r, kDestination.g, kDestination.b, 0);
    }
}

TEST_F(BlendTest, TexelAlphaActsLikeTheCurrentAlpha) {
    // White texels at alpha 128 / 255 tinted by the source colour at alpha 1.
    const TextureRef texture =
        renderer->MakeTexture(SolidPixmap(8, 8, {255, 255, 255, 128}), TImageFlags::None);
    ASSERT_TRUE(texture);
    for (const TBlendCase& c : kCases) {
        if (c.mode == TBlendMode::Masked) {
            continue; // 128 / 255 is above one half: covered below
        }
        SCOPED_TRACE(static_cast<int>(c.mode));
        StartFrame(c.mode);
        DrawTexture(texture, c.mode, 1.0f);
        EXPECT_RGB_NEAR(Pixel(16, 16), c.expected.r, c.expected.g, c.expected.b, 2);
    }
}

TEST_F(BlendTest, MaskedShapesNeedAlphaAboveOneHalf) {
    StartFrame(TBlendMode::Masked);
    Fill(TBlendMode::Masked, 0.3f);
    EXPECT_RGB_NEAR(Pixel(16, 16), 100, 150, 200, 0);
    Fill(TBlendMode::Masked, 0.5f);
    EXPECT_RGB_NEAR(Pixel(16, 16), 100, 150, 200, 0);
    // Drawn, and not blended: the colour replaces the destination.
    Fill(TBlendMode::Masked, 0.51f);
    EXPECT_RGB_NEAR(Pixel(16, 16), 200, 100, 50, 0);
}

TEST_F(BlendTest, MaskedTexelsNeedTexelAlphaTimesAlphaAboveOneHalf) {
    struct TMaskCase {
        std::uint8_t texelAlpha;
        float alpha;
        bool drawn;
    };
    const TMaskCase cases[] = {
        {77, 1.0f, false},  // 0.3
        {127, 1.0f, false}, // just below one half
        {130, 1.0f, true},  // 0.51
        {255, 0.5f, false}, // exactly one half
        {200, 0.6f, false}, // 0.47
        {255, 0.6f, true},  {0, 1.0f, false},
    };
    for (const TMaskCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.texelAlpha) << " x " << c.alpha);
        const TextureRef texture = renderer->MakeTexture(
            SolidPixmap(8, 8, {40, 80, 120, c.texelAlpha}), TImageFlags::None);
        ASSERT_TRUE(texture);
        StartFrame(TBlendMode::Masked);
        DrawTexture(texture, TBlendMode::Masked, c.alpha, TRGB{255, 255, 255});
        if (c.drawn) {
            EXPECT_RGB_NEAR(Pixel(16, 16), 40, 80, 120, 0);
        } else {
            EXPECT_RGB_NEAR(Pixel(16, 16), 100, 150, 200, 0);
        }
    }
}

// Filtering makes the edge of a cut-out partly transparent; the masked mode
// still cuts it at one half and draws what passes at its own colour.
TEST_F(BlendTest, MaskedFilteredEdgesAreCutNotBlended) {
    TPixmap edge = SolidPixmap(2, 1, {40, 80, 120, 0});
    edge.rgba[7] = 255;
    const TextureRef texture = renderer->MakeTexture(edge, TImageFlags::Filtered);
    ASSERT_TRUE(texture);
    StartFrame(TBlendMode::Masked);
    const auto quad = Quad(0, 0, 32, 8);
    renderer->DrawTexturedTriangles(*texture, TImageFlags::Filtered, quad.data(), 6,
                                    TPaint{255, 255, 255, 1.0f, TBlendMode::Masked});
    // The alpha ramps from texel centre 7.5 to 23.5 and passes 0.5 at 15.5.
    for (int x = 0; x < 32; ++x) {
        SCOPED_TRACE(x);
        if (x < 16) {
            EXPECT_RGB_NEAR(Pixel(x, 4), kDestination.r, kDestination.g, kDestination.b, 0);
        } else {
            EXPECT_RGB_NEAR(Pixel(x, 4), 40, 80, 120, 0);
        }
    }
}

TEST_F(BlendTest, ColourTintsTexels) {
    const TextureRef texture =
        renderer->MakeTexture(SolidPixmap(8, 8, {200, 100, 50, 255}), TImageFlags::None);
    ASSERT_TRUE(texture);
    StartFrame(TBlendMode::Solid);
    DrawTexture(texture, TBlendMode::Solid, 1.0f, TRGB{255, 128, 0});
    EXPECT_RGB_NEAR(Pixel(16, 16), 200, 50, 0, 1);
}

} // namespace
} // namespace present::testing
