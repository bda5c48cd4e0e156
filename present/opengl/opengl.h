// The OpenGL 1.1 renderer: fixed function, immediate mode, in an SDL OpenGL
// context with a pixel-space projection (origin top left, y downwards) and an
// identity modelview at rest, so callers may draw with OpenGL directly.
#pragma once

#include "renderer.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <memory>
#include <utility>

namespace present {

// Tells textures whether the context they were made in still exists.
struct TGLContextLife {
    bool alive = true;
};

// The OpenGL copy of an image frame: one texture object.
class TGLTexture : public TRendererTexture {
public:
    explicit TGLTexture(std::shared_ptr<TGLContextLife> life) : context(std::move(life)) {}
    ~TGLTexture() override;
    TGLTexture(const TGLTexture&) = delete;
    TGLTexture& operator=(const TGLTexture&) = delete;

    bool MadeIn(const std::shared_ptr<TGLContextLife>& c) const { return context == c; }

    GLuint name = 0;

private:
    std::shared_ptr<TGLContextLife> context;
};

class TOpenGLRenderer : public TRenderer {
public:
    TOpenGLRenderer() = default;
    ~TOpenGLRenderer() override;
    TOpenGLRenderer(const TOpenGLRenderer&) = delete;
    TOpenGLRenderer& operator=(const TOpenGLRenderer&) = delete;

    const char* Name() const override { return "OpenGL"; }
    bool Open(TScreen& screen) override;
    void Close() override;
    void Clear(int red, int green, int blue) override;
    void Present(bool vsync) override;
    void SetBlendMode(TBlendMode mode) override;
    void SetColour(int red, int green, int blue, float alpha) override;
    void FillTriangles(const TVertex* vertices, int count, const TPaint& paint) override;
    void DrawTexturedTriangles(TRendererTexture& texture, TImageFlags imageFlags,
                               const TVertex* vertices, int count, const TPaint& paint) override;
    TextureRef MakeTexture(const TPixmap& frame, TImageFlags imageFlags) override;
    bool ReadPixels(TPixmap& out) override;
    void SetPointerVisible(bool visible) override;
    void MovePointer(int x, int y) override;

private:
    void ApplyBlendMode(TBlendMode mode);
    void ApplyColour(int red, int green, int blue, float alpha);
    void SetUpState();
    void FitViewport();

    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    std::shared_ptr<TGLContextLife> life;
    int width = 0;
    int height = 0;
    SDL_Rect viewport{};
    int drawableHeight = 0;
    bool letterboxed = false;
    int maxTextureSide = 0;
    GLint clampMode = GL_CLAMP;
    TBlendMode appliedMode{}; // 0, no mode: none applied yet
    int swapInterval = -1;
};

RendererRef MakeOpenGLRenderer();

} // namespace present
