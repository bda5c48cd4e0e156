#include "direct3d7.h"
#include "host_platform.h"
#include "renderer_window.h"
#include "screen.h"
#include "sdl_texture.h"
#include "texture_levels.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace present {

namespace {

// Texture side assumed where the SDL renderer reports no limit.
constexpr int kUnlimitedTextureSide = 16384;

Uint8 AlphaByte(float alpha) {
    return static_cast<Uint8>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
}

Uint8 ColourByte(int value) {
    return static_cast<Uint8>(std::clamp(value, 0, 255));
}

SDL_BlendMode SDLBlendFor(int mode) {
    switch (mode) {
    case BlendAlpha:
        return SDL_BLENDMODE_BLEND;
    case BlendAdd:
        return SDL_BLENDMODE_ADD;
    case BlendMultiply:
        return SDL_BLENDMODE_MOD;
    default:
        return SDL_BLENDMODE_NONE;
    }
}

// Smallest texel alpha that passes the masked test texelAlpha x alpha > 0.5
// (256 when none does).
int MinimumMaskedAlpha(float alpha) {
    for (int a = 0; a < 256; ++a) {
        if (static_cast<float>(a) / 255.0f * alpha > 0.5f) {
            return a;
        }
    }
    return 256;
}

// Texels per screen pixel over the whole draw, for choosing a mip level.
float TexelsPerPixel(const std::vector<SDL_Vertex>& v, const std::vector<int>& indices,
                     int textureWidth, int textureHeight) {
    double screenArea = 0;
    double texelArea = 0;
    const auto triangle = [&](const SDL_Vertex& a, const SDL_Vertex& b, const SDL_Vertex& c) {
        screenArea += std::fabs((b.position.x - a.position.x) * (c.position.y - a.position.y) -
                                (c.position.x - a.position.x) * (b.position.y - a.position.y));
        texelArea += std::fabs((b.tex_coord.x - a.tex_coord.x) * (c.tex_coord.y - a.tex_coord.y) -
                               (c.tex_coord.x - a.tex_coord.x) * (b.tex_coord.y - a.tex_coord.y)) *
                     textureWidth * textureHeight;
    };
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        triangle(v[indices[i]], v[indices[i + 1]], v[indices[i + 2]]);
    }
    if (screenArea <= 0) {
        return 1.0f;
    }
    return static_cast<float>(std::sqrt(texelArea / screenArea));
}

bool OpenInMemory(TSDLTarget& target) {
    target.surface =
        SDL_CreateRGBSurfaceWithFormat(0, target.width, target.height, 32, SDL_PIXELFORMAT_RGB888);
    if (target.surface == nullptr) {
        return false;
    }
    target.renderer = SDL_CreateSoftwareRenderer(target.surface);
    return target.renderer != nullptr;
}

bool OpenOnDisplay(TSDLTarget& target, const TScreen& screen) {
    target.window = OpenScreenWindow(screen, 0);
    if (target.window == nullptr) {
        return false;
    }
    target.renderer = SDL_CreateRenderer(target.window, -1, SDL_RENDERER_TARGETTEXTURE);
    if (target.renderer == nullptr) {
        return false;
    }
    // Drawing goes to a canvas of the logical size; presenting scales it into
    // the window, so a full-screen fallback keeps the same coordinates.
    target.canvas = SDL_CreateTexture(target.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_TARGET, target.width, target.height);
    if (target.canvas == nullptr) {
        return false;
    }
    SDL_SetTextureBlendMode(target.canvas, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(target.canvas, SDL_ScaleModeLinear);
    return SDL_SetRenderTarget(target.renderer, target.canvas) == 0;
}

} // namespace

TDirect3D7Renderer::TDirect3D7Renderer() : device(*this) {}

TDirect3D7Renderer::~TDirect3D7Renderer() {
    Close();
}

bool TDirect3D7Renderer::Open(TScreen& screen) {
    Close();
    if (screen.width < 1 || screen.height < 1) {
        return false;
    }
    auto opened = std::make_shared<TSDLTarget>();
    opened->width = screen.width;
    opened->height = screen.height;
    const bool ok = Platform().Headless() ? OpenInMemory(*opened) : OpenOnDisplay(*opened, screen);
    if (!ok) {
        opened->Destroy();
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(opened->renderer, &info);
    opened->maxTextureSide =
        std::min(info.max_texture_width > 0 ? info.max_texture_width : kUnlimitedTextureSide,
                 info.max_texture_height > 0 ? info.max_texture_height : kUnlimitedTextureSide);
    opened->software = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    target = opened;
    ix = 1, iy = 0, jx = 0, jy = 1;
    red = green = blue = 255;
    alpha = 1.0f;
    blendMode = BlendMasked;
    activeTexture.reset();
    activeFlags = 0;
    vsyncOn = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return true;
}

void TDirect3D7Renderer::Close() {
    activeTexture.reset();
    if (target) {
        target->Destroy();
        target.reset();
    }
}

void TDirect3D7Renderer::Clear(int r, int g, int b) {
    if (!target) {
        return;
    }
    SDL_SetRenderDrawBlendMode(target->renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(target->renderer, ColourByte(r), ColourByte(g), ColourByte(b), 255);
    SDL_RenderClear(target->renderer);
}

void TDirect3D7Renderer::Present(bool vsync) {
    if (!target || target->window == nullptr) {
        return;
    }
    SDL_Renderer* renderer = target->renderer;
    if (vsync != vsyncOn) {
        SDL_RenderSetVSync(renderer, vsync ? 1 : 0);
        vsyncOn = vsync;
    }
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const SDL_Rect rect = LetterboxRect(target->width, target->height, outputWidth, outputHeight);
    SDL_RenderCopy(renderer, target->canvas, nullptr, &rect);
    SDL_RenderPresent(renderer);
    SDL_SetRenderTarget(renderer, target->canvas);
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
    return a << 24 | std::uint32_t{ColourByte(red)} << 16 | std::uint32_t{ColourByte(green)} << 8 |
           std::uint32_t{ColourByte(blue)};
}

void TDirect3D7Renderer::SetActiveFrame(TImage& image, int frame) {
    activeTexture = std::dynamic_pointer_cast<TSDLTexture>(image.FrameTexture(frame));
    activeFlags = image.flags;
}

void TDirect3D7Renderer::FillTriangles(const TVertex* vertices, int count, const TPaint& paint) {
    if (vertices == nullptr || count < 3) {
        return;
    }
    const SDL_Color colour{ColourByte(paint.red), ColourByte(paint.green), ColourByte(paint.blue),
                           AlphaByte(paint.alpha)};
    scratch.resize(static_cast<std::size_t>(count / 3 * 3));
    for (std::size_t i = 0; i < scratch.size(); ++i) {
        scratch[i] = SDL_Vertex{SDL_FPoint{vertices[i].x, vertices[i].y}, colour, SDL_FPoint{0, 0}};
    }
    DrawGeometry(nullptr, 0, scratch, ListIndices(scratch.size()), paint.blendMode, paint.alpha);
}

void TDirect3D7Renderer::DrawTexturedTriangles(TRendererTexture& texture, int imageFlags,
                                               const TVertex* vertices, int count,
                                               const TPaint& paint) {
    auto* sdlTexture = dynamic_cast<TSDLTexture*>(&texture);
    if (sdlTexture == nullptr || vertices == nullptr || count < 3) {
        return;
    }
    const SDL_Color colour{ColourByte(paint.red), ColourByte(paint.green), ColourByte(paint.blue),
                           AlphaByte(paint.alpha)};
    scratch.resize(static_cast<std::size_t>(count / 3 * 3));
    for (std::size_t i = 0; i < scratch.size(); ++i) {
        scratch[i] = SDL_Vertex{SDL_FPoint{vertices[i].x, vertices[i].y}, colour,
                                SDL_FPoint{vertices[i].u, vertices[i].v}};
    }
    DrawGeometry(sdlTexture, imageFlags, scratch, ListIndices(scratch.size()), paint.blendMode,
                 paint.alpha);
}

void TDirect3D7Renderer::DrawGeometry(TSDLTexture* texture, int imageFlags,
                                      std::vector<SDL_Vertex>& vertices,
                                      const std::vector<int>& indices, int mode, float drawAlpha) {
    if (!target || vertices.empty() || indices.empty()) {
        return;
    }
    const bool masked = mode == BlendMasked;
    SDL_Texture* sdlTexture = nullptr;
    if (texture != nullptr) {
        sdlTexture = PrepareTexture(*texture, imageFlags, vertices, indices, mode, drawAlpha);
        if (sdlTexture == nullptr) {
            return;
        }
    } else {
        if (masked && !(drawAlpha > 0.5f)) {
            return;
        }
        SDL_SetRenderDrawBlendMode(target->renderer, SDLBlendFor(mode));
    }
    if (masked) {
        // Drawn opaque (shapes) or by a copy whose alpha already holds the
        // test's outcome (textures).
        for (SDL_Vertex& v : vertices) {
            v.color.a = 255;
        }
    }
    SDL_RenderGeometry(target->renderer, sdlTexture, vertices.data(),
                       static_cast<int>(vertices.size()), indices.data(),
                       static_cast<int>(indices.size()));
}

SDL_Texture* TDirect3D7Renderer::PrepareTexture(TSDLTexture& texture, int imageFlags,
                                                std::vector<SDL_Vertex>& vertices,
                                                const std::vector<int>& indices, int mode,
                                                float drawAlpha) {
    if (!texture.MadeOn(target) || !texture.Valid()) {
        return nullptr;
    }
    int level = 0;
    if ((imageFlags & ImageMipmapped) != 0) {
        level = MipLevelFor(
            TexelsPerPixel(vertices, indices, texture.textureWidth, texture.textureHeight),
            texture.LevelCount());
    }
    SDL_Texture* sdlTexture = nullptr;
    if (mode == BlendMasked) {
        // The alpha test as a copy with alpha 0 or 255 by the test, blended:
        // opaque texels replace the destination, transparent ones keep it.
        const int minAlpha = MinimumMaskedAlpha(drawAlpha);
        sdlTexture = minAlpha > 255 ? nullptr : texture.MaskedLevel(level, minAlpha);
    } else {
        sdlTexture = texture.Level(level);
    }
    if (sdlTexture == nullptr) {
        return nullptr;
    }
    const SDL_FPoint uvScale = texture.UvScale(level);
    if (uvScale.x != 1.0f || uvScale.y != 1.0f) {
        // SDL draws nothing at all for coordinates outside the texture.
        for (SDL_Vertex& v : vertices) {
            v.tex_coord.x = std::clamp(v.tex_coord.x * uvScale.x, 0.0f, 1.0f);
            v.tex_coord.y = std::clamp(v.tex_coord.y * uvScale.y, 0.0f, 1.0f);
        }
    }
    SDL_SetTextureBlendMode(sdlTexture,
                            mode == BlendMasked ? SDL_BLENDMODE_BLEND : SDLBlendFor(mode));
    SDL_SetTextureScaleMode(sdlTexture, (imageFlags & ImageFiltered) != 0 ? SDL_ScaleModeLinear
                                                                          : SDL_ScaleModeNearest);
    return sdlTexture;
}

const std::vector<int>& TDirect3D7Renderer::ListIndices(std::size_t count) {
    // Always indexed: SDL's software renderer takes unindexed quads for
    // rectangles and then ignores the blend mode.
    listIndices.resize(count);
    std::iota(listIndices.begin(), listIndices.end(), 0);
    return listIndices;
}

TextureRef TDirect3D7Renderer::MakeTexture(const TPixmap& frame, int imageFlags) {
    if (!target || frame.width < 1 || frame.height < 1 ||
        frame.rgba.size() != static_cast<std::size_t>(frame.width) * frame.height * 4) {
        return nullptr;
    }
    const TPixmap fitted = FitToTextureSize(frame, target->maxTextureSide);
    TPixmap padded = PadToPowerOfTwo(fitted);
    std::vector<TPixmap> levels;
    if ((imageFlags & ImageMipmapped) != 0) {
        levels = MipChain(padded);
    } else {
        levels.push_back(std::move(padded));
    }
    const int textureWidth = levels.front().width;
    const int textureHeight = levels.front().height;
    auto texture =
        std::make_shared<TSDLTexture>(target, std::move(levels), fitted.width, fitted.height);
    if (!texture->Valid()) {
        return nullptr;
    }
    texture->frameWidth = fitted.width;
    texture->frameHeight = fitted.height;
    texture->textureWidth = textureWidth;
    texture->textureHeight = textureHeight;
    return texture;
}

bool TDirect3D7Renderer::ReadPixels(TPixmap& out) {
    if (!target) {
        return false;
    }
    out.width = target->width;
    out.height = target->height;
    out.rgba.assign(static_cast<std::size_t>(out.width) * out.height * 4, 0);
    if (SDL_RenderReadPixels(target->renderer, nullptr, SDL_PIXELFORMAT_RGBA32, out.rgba.data(),
                             out.width * 4) != 0) {
        return false;
    }
    // The back buffer has no alpha of its own.
    for (std::size_t i = 3; i < out.rgba.size(); i += 4) {
        out.rgba[i] = 255;
    }
    return true;
}

void TDirect3D7Renderer::SetPointerVisible(bool visible) {
    if (target && target->window != nullptr) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

void TDirect3D7Renderer::MovePointer(int x, int y) {
    if (!target || target->window == nullptr) {
        return;
    }
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(target->window, &windowWidth, &windowHeight);
    const SDL_Rect shown = LetterboxRect(target->width, target->height, windowWidth, windowHeight);
    SDL_WarpMouseInWindow(target->window, shown.x + x * shown.w / target->width,
                          shown.y + y * shown.h / target->height);
}

RendererRef MakeDirect3D7Renderer() {
    return std::make_shared<TDirect3D7Renderer>();
}

} // namespace present
