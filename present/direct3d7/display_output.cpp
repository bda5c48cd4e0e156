#include "display_output.h"

#include "renderer_window.h"

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

bool TDisplayOutput::Open(const TScreen& screen) {
    Close();
    window = OpenScreenWindow(screen, 0);
    if (window == nullptr) {
        return false;
    }
    renderer = CreateFrameRenderer(window);
    if (renderer != nullptr) {
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    screen.width, screen.height);
    }
    if (texture == nullptr) {
        Close();
        return false;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    vsyncOn = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    width = screen.width;
    height = screen.height;
    return true;
}

void TDisplayOutput::Close() {
    // Destroying the renderer frees its texture.
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
        texture = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

void TDisplayOutput::Show(const TFrameBuffer& frame, bool vsync) {
    if (texture == nullptr || frame.width != width || frame.height != height) {
        return;
    }
    if (vsync != vsyncOn) {
        SDL_RenderSetVSync(renderer, vsync ? 1 : 0);
        vsyncOn = vsync;
    }
    SDL_UpdateTexture(texture, nullptr, frame.pixels.data(), width * 4);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const SDL_Rect rect = LetterboxRect(width, height, outputWidth, outputHeight);
    if (rect.w != outputWidth || rect.h != outputHeight) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    SDL_RenderCopy(renderer, texture, nullptr, &rect);
    SDL_RenderPresent(renderer);
}

void TDisplayOutput::SetPointerVisible(bool visible) {
    ShowPointerOver(window, visible);
}

void TDisplayOutput::MovePointer(int x, int y) {
    MovePointerOver(window, width, height, x, y);
}

} // namespace present
