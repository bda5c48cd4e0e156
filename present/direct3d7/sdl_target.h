// What the stand-in draws on: an SDL renderer over a window (drawing into a
// canvas texture of the logical size) or over a memory surface.
#pragma once

#include <SDL.h>

namespace present {

struct TSDLTarget {
    SDL_Window* window = nullptr;
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* canvas = nullptr;
    int width = 0;
    int height = 0;
    int maxTextureSide = 0;
    // SDL's software triangles map texture coordinates 0..1 onto the first to
    // the last texel rather than onto the texture's edges; its textures carry
    // one more repeated column and row so the mapping comes out exact.
    bool software = false;

    bool Alive() const { return renderer != nullptr; }
    // Destroys the renderer (and with it every texture made on it), the canvas,
    // the window and the surface. Textures still referring to this target see
    // it is gone and must not destroy their SDL textures again.
    void Destroy();
};

} // namespace present
