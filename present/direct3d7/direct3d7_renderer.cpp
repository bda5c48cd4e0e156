#include "direct3d7.h"
#include "rasterizer.h"
#include "screen.h"
#include "soft_texture.h"
#include "texture_levels.h"
#include <present/host_platform.h>

#include <algorithm>

namespace present {

namespace {

// Bounds the memory of one texture copy; larger frames are scaled down to fit.
constexpr int kLargestTextureSide = 8192;

int ColourByte(int value) {
    return std::clamp(value, 0, 255);
}

} // namespace

TDirect3D7Renderer::TDirect3D7Renderer() : device(*this) {}

TDirect3D7Renderer::~TDirect3D7Renderer() {
    Close();
}

bool TDirect3D7Renderer::Open(TScreen& screen) {
    Close();
    if (screen.width < 1 || screen.height < 1 || screen.width > kLargestTextureSide * 2 ||
        screen.height > kLargestTextureSide * 2) {
        return false;
    }
    if (!Platform().Headless() && !display.Open(screen)) {
        return false;
    }
    frame.width = screen.width;
    frame.height = screen.height;
    frame.pixels.assign(static_cast<std::size_t>(frame.width) * frame.height, 0);
    opening = std::make_shared<const int>(0);
    ix = 1, iy = 0, jx = 0, jy = 1;
    red = green = blue = 255;
    alpha = 1.0f;
    blendMode = BlendMasked;
    activeTexture.reset();
    activeFlags = 0;
    return true;
}

void TDirect3D7Renderer::Close() {
    activeTexture.reset();
    opening.reset();
    display.Close();
    frame.width = frame.height = 0;
    frame.pixels = {};
}

void TDirect3D7Renderer::Clear(int r, int g, int b) {
    std::fill(frame.pixels.begin(), frame.pixels.end(),
              PackRGB(ColourByte(r), ColourByte(g), ColourByte(b)));
}

void TDirect3D7Renderer::Present(bool vsync) {
    display.Show(frame, vsync);
}

void TDirect3D7Renderer::SetBlendMode(int mode) {
    blendMode = mode;
}

void TDirect3D7Renderer::SetTransform(float newIx, float newIy, float newJx, float newJy) {
    ix = newIx, iy = newIy, jx = newJx, jy = newJy;
}

void TDirect3D7Renderer::SetColour(int r, int g, int b, float a) {
    red = r, green = g, blue = b;
    alpha = a;
}

std::uint32_t TDirect3D7Renderer::ColourARGB() const {
    const float clamped = std::clamp(alpha, 0.0f, 1.0f);
    const auto a = static_cast<std::uint32_t>(clamped * 255.0f);
    return a << 24 | static_cast<std::uint32_t>(
                         PackRGB(ColourByte(red), ColourByte(green), ColourByte(blue)));
}

void TDirect3D7Renderer::SetActiveFrame(TImage& image, int imageFrame) {
    activeTexture = std::dynamic_pointer_cast<TSoftTexture>(image.FrameTexture(imageFrame));
    activeFlags = image.flags;
}

void TDirect3D7Renderer::Rasterize(const TSoftTexture* texture, int imageFlags,
                                   const TVertex* vertices, int count, const TPaint& paint) {
    if (vertices == nullptr || count < 3 || frame.pixels.empty()) {
        return;
    }
    const TRasterPaint raster{paint.red,       paint.green, paint.blue, paint.alpha,
                              paint.blendMode, texture,     imageFlags};
    const auto corner = [&](int k) {
        const TVertex& v = vertices[k];
        return TRasterVertex{v.x, v.y, v.u, v.v};
    };
    for (int i = 0; i + 2 < count; i += 3) {
        // Shapes, glyphs and pictures arrive as quads of two triangles: one
        // pass over the rows for both.
        if (i + 5 < count) {
            const TRasterVertex six[6] = {corner(i),     corner(i + 1), corner(i + 2),
                                          corner(i + 3), corner(i + 4), corner(i + 5)};
            if (RasterizeTrianglePair(frame, six, raster)) {
                i += 3;
                continue;
            }
        }
        RasterizeTriangle(frame, corner(i), corner(i + 1), corner(i + 2), raster);
    }
}

void TDirect3D7Renderer::FillTriangles(const TVertex* vertices, int count, const TPaint& paint) {
    Rasterize(nullptr, 0, vertices, count, paint);
}

void TDirect3D7Renderer::DrawTexturedTriangles(TRendererTexture& texture, int imageFlags,
                                               const TVertex* vertices, int count,
                                               const TPaint& paint) {
    const auto* soft = dynamic_cast<const TSoftTexture*>(&texture);
    if (soft == nullptr || !soft->MadeFor(opening)) {
        return;
    }
    Rasterize(soft, imageFlags, vertices, count, paint);
}

TextureRef TDirect3D7Renderer::MakeTexture(const TPixmap& pixmap, int imageFlags) {
    if (!opening || pixmap.width < 1 || pixmap.height < 1 ||
        pixmap.rgba.size() != static_cast<std::size_t>(pixmap.width) * pixmap.height * 4) {
        return nullptr;
    }
    const TPixmap fitted = FitToTextureSize(pixmap, kLargestTextureSide);
    const TPixmap padded = PadToPowerOfTwo(fitted);
    std::vector<TTexelLevel> levels;
    if ((imageFlags & ImageMipmapped) != 0) {
        for (const TPixmap& level : MipChain(padded)) {
            levels.push_back(PackTexels(level));
        }
    } else {
        levels.push_back(PackTexels(padded));
    }
    auto texture = std::make_shared<TSoftTexture>(opening, std::move(levels));
    texture->frameWidth = fitted.width;
    texture->frameHeight = fitted.height;
    texture->textureWidth = padded.width;
    texture->textureHeight = padded.height;
    return texture;
}

bool TDirect3D7Renderer::ReadPixels(TPixmap& out) {
    if (frame.pixels.empty()) {
        return false;
    }
    out.width = frame.width;
    out.height = frame.height;
    out.rgba.resize(frame.pixels.size() * 4);
    for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
        const std::uint32_t p = frame.pixels[i];
        out.rgba[i * 4] = static_cast<std::uint8_t>(p >> 16);
        out.rgba[i * 4 + 1] = static_cast<std::uint8_t>(p >> 8);
        out.rgba[i * 4 + 2] = static_cast<std::uint8_t>(p);
        out.rgba[i * 4 + 3] = 255;
    }
    return true;
}

void TDirect3D7Renderer::SetPointerVisible(bool visible) {
    display.SetPointerVisible(visible);
}

void TDirect3D7Renderer::MovePointer(int x, int y) {
    display.MovePointer(x, y);
}

RendererRef MakeDirect3D7Renderer() {
    return std::make_shared<TDirect3D7Renderer>();
}

} // namespace present
