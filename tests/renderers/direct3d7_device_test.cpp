#include "direct3d7/direct3d7.h"
#include "direct3d7/rasterizer.h"
#include "renderer_fixture.h"
#include <present/headless.h>
#include <present/present.h>

#include <array>
#include <cmath>
#include <vector>

namespace present::testing {
namespace {

constexpr std::uint32_t kFormat = 322;
constexpr std::uint32_t kRed = 0xFFFF0000u;

D3DTLVERTEX322 V(float x, float y, std::uint32_t diffuse = kRed, float u = 0, float v = 0) {
    return D3DTLVERTEX322{x, y, 0, diffuse, u, v};
}

class DeviceTest : public RendererTest {
protected:
    void SetUp() override {
        RendererTest::SetUp();
        d3d = dynamic_cast<TDirect3D7Renderer*>(renderer.get());
        ASSERT_NE(d3d, nullptr);
    }

    int CountRed() {
        TPixmap shot;
        EXPECT_TRUE(d3d->ReadPixels(shot));
        int count = 0;
        for (std::size_t i = 0; i < shot.rgba.size(); i += 4) {
            count += shot.rgba[i] == 255 && shot.rgba[i + 1] == 0 ? 1 : 0;
        }
        return count;
    }

    TDirect3D7Renderer* d3d = nullptr;
};

TEST_F(DeviceTest, FanCoversItsPolygon) {
    d3d->SetBlendMode(BlendSolid);
    d3d->Clear(0, 0, 0);
    // A square as a fan around its centre, closed by repeating the first corner.
    const std::vector<D3DTLVERTEX322> fan = {V(16, 16), V(8, 8),  V(24, 8),
                                             V(24, 24), V(8, 24), V(8, 8)};
    EXPECT_EQ(d3d->Device().DrawPrimitive(D3DPT_TRIANGLEFAN, kFormat, fan.data(), 6, 0), D3D_OK);
    EXPECT_EQ(CountRed(), 16 * 16);
    EXPECT_RGB_NEAR(Pixel(8, 8), 255, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(23, 23), 255, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(24, 16), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(7, 16), 0, 0, 0, 0);
}

TEST_F(DeviceTest, StripAlternatesItsTriangles) {
    d3d->SetBlendMode(BlendSolid);
    d3d->Clear(0, 0, 0);
    // Five vertices: three triangles making the band [4, 28) x [8, 16).
    const std::vector<D3DTLVERTEX322> strip = {V(4, 8), V(4, 16), V(16, 8), V(16, 16), V(28, 8)};
    EXPECT_EQ(d3d->Device().DrawPrimitive(D3DPT_TRIANGLESTRIP, kFormat, strip.data(), 5, 0),
              D3D_OK);
    EXPECT_RGB_NEAR(Pixel(5, 14), 255, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(15, 9), 255, 0, 0, 0);
    EXPECT_RGB_NEAR(Pixel(17, 9), 255, 0, 0, 0);
    // The last triangle is (16,8) (16,16) (28,8): below its diagonal stays clear.
    EXPECT_RGB_NEAR(Pixel(26, 14), 0, 0, 0, 0);
    EXPECT_NEAR(CountRed(), 12 * 8 + 12 * 8 / 2, 8);
}

TEST_F(DeviceTest, RejectsOtherTypesAndFormatsAndIgnoresShortLists) {
    d3d->SetBlendMode(BlendSolid);
    d3d->Clear(0, 0, 0);
    const std::vector<D3DTLVERTEX322> tri = {V(0, 0), V(32, 0), V(0, 32)};
    auto& device = d3d->Device();
    EXPECT_EQ(device.DrawPrimitive(4 /* triangle list */, kFormat, tri.data(), 3, 0),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLEFAN, 0x144, tri.data(), 3, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLEFAN, 0x142 | 0x200, tri.data(), 3, 0),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLEFAN, kFormat, tri.data(), 2, 0), D3D_OK);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLESTRIP, kFormat, tri.data(), 0, 0), D3D_OK);
    EXPECT_EQ(device.DrawPrimitive(D3DPT_TRIANGLEFAN, kFormat, nullptr, 3, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(CountRed(), 0);
}

TEST_F(DeviceTest, ColourIsPackedAsARGBWithTruncatedClampedAlpha) {
    d3d->SetColour(10, 20, 30, 0.5f);
    EXPECT_EQ(d3d->ColourARGB(), 0x7F0A141Eu);
    d3d->SetColour(255, 0, 128, 1.0f);
    EXPECT_EQ(d3d->ColourARGB(), 0xFFFF0080u);
    d3d->SetColour(300, -5, 0, 2.0f);
    EXPECT_EQ(d3d->ColourARGB(), 0xFFFF0000u);
    d3d->SetColour(0, 0, 0, -1.0f);
    EXPECT_EQ(d3d->ColourARGB(), 0x00000000u);
    d3d->SetColour(1, 2, 3, 0.999f);
    EXPECT_EQ(d3d->ColourARGB() >> 24, 254u);
}

TEST_F(DeviceTest, WithoutATextureTheDiffuseColourIsDrawn) {
    d3d->SetBlendMode(BlendSolid);
    d3d->Clear(0, 0, 0);
    const std::uint32_t grey = 0xFF808080u;
    const std::vector<D3DTLVERTEX322> fan = {V(0, 0, grey), V(16, 0, grey), V(16, 16, grey),
                                             V(0, 16, grey)};
    EXPECT_EQ(d3d->Device().DrawPrimitive(D3DPT_TRIANGLEFAN, kFormat, fan.data(), 4, 0), D3D_OK);
    EXPECT_RGB_NEAR(Pixel(8, 8), 128, 128, 128, 1);
}

TEST(StandInFacade, SkinDrawingThroughTheDeviceUsesTheActiveFrame) {
    SetPlatform(std::make_shared<THeadlessPlatform>());
    SelectRenderer(Direct3D7Renderer(), ScreenDoubleBuffered);
    ASSERT_TRUE(OpenScreen(32, 32, 0, 0, 0));
    auto* d3d = dynamic_cast<TDirect3D7Renderer*>(CurrentRenderer().get());
    ASSERT_NE(d3d, nullptr);
    TImage image;
    image.width = image.height = 2;
    image.flags = 0;
    image.pixmaps = {SolidPixmap(2, 2, {0, 0, 255, 255}), SolidPixmap(2, 2, {0, 255, 0, 255})};
    image.frames.resize(2);
    image.frameScreens.resize(2);
    d3d->SetActiveFrame(image, 1);
    ASSERT_TRUE(image.frames[1]);
    d3d->Clear(0, 0, 0);
    d3d->SetBlendMode(BlendAlpha);
    d3d->SetColour(255, 255, 255, 1.0f);
    const std::uint32_t white = d3d->ColourARGB();
    const std::vector<D3DTLVERTEX322> fan = {{0, 0, 0, white, 0, 0},
                                             {32, 0, 0, white, 1, 0},
                                             {32, 32, 0, white, 1, 1},
                                             {0, 32, 0, white, 0, 1}};
    EXPECT_EQ(d3d->Device().DrawPrimitive(D3DPT_TRIANGLEFAN, 322, fan.data(), 4, 0), D3D_OK);
    TPixmap shot;
    ASSERT_TRUE(d3d->ReadPixels(shot));
    EXPECT_EQ(shot.rgba[(16 * 32 + 16) * 4 + 1], 255);
    EXPECT_EQ(shot.rgba[(16 * 32 + 16) * 4 + 2], 0);
    CloseScreen();
}

// Quads arrive as two triangles and are drawn in one pass over their rows:
// that pass must light the very pixels, with the very texels, that the two
// triangles drawn one by one do, at any position, angle and blend mode. (A
// pixel centre exactly on a texel's edge may take either texel, as it may in
// OpenGL, so the scaled cases keep off such edges.) Upright quads always take
// the single pass; turned textured ones may not, their snapped corners no
// longer lying on one texture plane.
TEST(TrianglePairs, DrawnAsOneQuadMatchTheirTwoTriangles) {
    TPixmap glyph = SolidPixmap(8, 16, {0, 0, 0, 0});
    for (int i = 0; i < 8 * 16; ++i) {
        const std::uint8_t lit = (i * 7 + i / 8) % 3 == 0 ? 255 : 0;
        glyph.rgba[i * 4] = static_cast<std::uint8_t>(i * 2);
        glyph.rgba[i * 4 + 1] = 255;
        glyph.rgba[i * 4 + 3] = lit;
    }
    const TSoftTexture texture(nullptr, {PackTexels(glyph)});
    struct TCase {
        float x, y, width, height, degrees;
        bool textured;
        int mode;
    };
    const TCase cases[] = {
        {3, 4, 8, 16, 0, true, BlendAlpha},
        {2.3f, 7.6f, 12.2f, 24.4f, 0, true, BlendMasked},
        {5.3f, 2.7f, 11.4f, 20.2f, 0, false, BlendSolid},
        {20, 3, 9, 18, 30, true, BlendAlpha},
        {18, 20, 13, 1, 45, false, BlendAlpha},
        {4, 25, 20, 1, 0, false, BlendAdd},
        {30.5f, 0.5f, 1, 30, 0, false, BlendMultiply},
        {12, 12, 10, 10, -70, true, BlendAdd},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.degrees);
        const float cs = std::cos(c.degrees * 3.14159265f / 180);
        const float sn = std::sin(c.degrees * 3.14159265f / 180);
        const auto at = [&](float px, float py, float u, float v) {
            return TRasterVertex{c.x + px * cs - py * sn, c.y + px * sn + py * cs, u, v};
        };
        const TRasterVertex a = at(0, 0, 0, 0);
        const TRasterVertex b = at(c.width, 0, 1, 0);
        const TRasterVertex d = at(c.width, c.height, 1, 1);
        const TRasterVertex e = at(0, c.height, 0, 1);
        TRasterPaint paint{200, 120, 255, 0.8f, c.mode, c.textured ? &texture : nullptr, 0};
        for (const std::array<TRasterVertex, 6>& six :
             {std::array{a, b, d, a, d, e}, std::array{b, a, e, b, e, d}}) {
            TFrameBuffer pair{40, 40, std::vector<std::uint32_t>(40 * 40, 0x00405060u)};
            TFrameBuffer one = pair;
            const bool single = RasterizeTrianglePair(pair, six.data(), paint);
            EXPECT_TRUE(single || (c.textured && c.degrees != 0));
            if (!single) {
                EXPECT_EQ(pair.pixels, one.pixels) << "drew though it declined";
                RasterizeTriangle(pair, six[0], six[1], six[2], paint);
                RasterizeTriangle(pair, six[3], six[4], six[5], paint);
            }
            RasterizeTriangle(one, six[0], six[1], six[2], paint);
            RasterizeTriangle(one, six[3], six[4], six[5], paint);
            int differing = 0;
            for (std::size_t i = 0; i < pair.pixels.size(); ++i) {
                if (pair.pixels[i] != one.pixels[i] && differing++ < 4) {
                    ADD_FAILURE() << "pixel (" << i % 40 << ", " << i / 40 << ") " << std::hex
                                  << pair.pixels[i] << " instead of " << one.pixels[i];
                }
            }
            EXPECT_EQ(differing, 0) << "case at (" << c.x << ", " << c.y << ")";
        }
    }
    // Filtered textures, and triangles that share no diagonal, go one by one.
    TFrameBuffer frame{40, 40, std::vector<std::uint32_t>(40 * 40, 0)};
    const TRasterVertex quad[6] = {{0, 0, 0, 0}, {8, 0, 1, 0},  {8, 16, 1, 1},
                                   {0, 0, 0, 0}, {8, 16, 1, 1}, {0, 16, 0, 1}};
    TRasterPaint filtered{255, 255, 255, 1.0f, BlendAlpha, &texture, ImageFiltered};
    EXPECT_FALSE(RasterizeTrianglePair(frame, quad, filtered));
    const TRasterVertex apart[6] = {{0, 0, 0, 0},  {8, 0, 1, 0},   {8, 16, 1, 1},
                                    {20, 0, 0, 0}, {28, 16, 1, 1}, {20, 16, 0, 1}};
    EXPECT_FALSE(RasterizeTrianglePair(frame, apart, TRasterPaint{}));
    EXPECT_EQ(frame.pixels, std::vector<std::uint32_t>(40 * 40, 0));
}

} // namespace
} // namespace present::testing
