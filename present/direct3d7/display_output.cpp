#include "display_output.h"

#include "renderer_window.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstring>

namespace present {

namespace {

// True for an OpenGL renderer that Mesa runs on the CPU (machines without a
// GPU: virtual machines, remote desktops, CI). Sampling the uploaded frame
// through it costs several times what drawing the frame did, where SDL's
// software renderer shows it with plain copies.
bool DrawnByTheProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    // The renderer's context is current once it is created.
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (name == nullptr) {
        return false;
    }
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (std::strstr(name, software) != nullptr) {
            return true;
        }
    }
    return false;
}

SDL_Renderer* CreateFrameRenderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    // A renderer the user names is kept.
    const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (renderer == nullptr || (chosen != nullptr && chosen[0] != '\0') ||
        !DrawnByTheProcessor(renderer)) {
        return renderer;
    }
    SDL_DestroyRenderer(renderer);
    // The software renderer draws into the window's own frame buffer; on X11
    // SDL would otherwise keep that buffer in an OpenGL texture too.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return renderer != nullptr ? renderer : SDL_CreateRenderer(window, -1, 0);
}

} // namespace

struct TDisplayOutput::TSurface {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    bool vsyncOn = false;
};

TDisplayOutput::TDisplayOutput() : surface(std::make_unique<TSurface>()) {}

TDisplayOutput::~TDisplayOutput() {
    Close();
}

bool TDisplayOutput::Open(const TScreen& screen) {
    Close();
    TSurface& s = *surface;
    s.window = OpenScreenWindow(screen, 0);
    if (s.window == nullptr) {
        return false;
    }
    s.renderer = CreateFrameRenderer(s.window);
    if (s.renderer != nullptr) {
        s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888,
                                      SDL_TEXTUREACCESS_STREAMING, screen.width, screen.height);
    }
    if (s.texture == nullptr) {
        Close();
        return false;
    }
    SDL_SetTextureBlendMode(s.texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(s.texture, SDL_ScaleModeLinear);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(s.renderer, &info);
    s.vsyncOn = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    s.width = screen.width;
    s.height = screen.height;
    return true;
}

void TDisplayOutput::Close() {
    TSurface& s = *surface;
    // Destroying the renderer frees its texture.
    if (s.renderer != nullptr) {
        SDL_DestroyRenderer(s.renderer);
        s.renderer = nullptr;
        s.texture = nullptr;
    }
    if (s.window != nullptr) {
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
    }
}

void TDisplayOutput::Show(const TFrameBuffer& frame, bool vsync) {
    TSurface& s = *surface;
    if (s.texture == nullptr || frame.width != s.width || frame.height != s.height) {
        return;
    }
    if (vsync != s.vsyncOn) {
        SDL_RenderSetVSync(s.renderer, vsync ? 1 : 0);
        s.vsyncOn = vsync;
    }
    SDL_UpdateTexture(s.texture, nullptr, frame.pixels.data(), s.width * 4);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(s.renderer, &outputWidth, &outputHeight);
    const SDL_Rect rect = LetterboxRect(s.width, s.height, outputWidth, outputHeight);
    if (rect.w != outputWidth || rect.h != outputHeight) {
        SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
        SDL_RenderClear(s.renderer);
    }
    SDL_RenderCopy(s.renderer, s.texture, nullptr, &rect);
    SDL_RenderPresent(s.renderer);
}

void TDisplayOutput::SetPointerVisible(bool visible) {
    ShowPointerOver(surface->window, visible);
}

void TDisplayOutput::MovePointer(int x, int y) {
    MovePointerOver(surface->window, surface->width, surface->height, x, y);
}

} // namespace present
