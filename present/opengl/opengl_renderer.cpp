#include "opengl.h"
#include "renderer_window.h"
#include "screen.h"
#include "texture_levels.h"
#include <present/image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace present {

namespace {

float Unit(int value) {
    return static_cast<float>(std::clamp(value, 0, 255)) / 255.0f;
}

// GL_CLAMP would blend the texture's border colour into the edge texels under
// bilinear sampling; clamping to the edge exists from OpenGL 1.2 on.
GLint EdgeClampMode() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 1;
    int minor = 1;
    if (version != nullptr && std::sscanf(version, "%d.%d", &major, &minor) == 2 &&
        (major > 1 || minor >= 2)) {
        return GL_CLAMP_TO_EDGE;
    }
    return GL_CLAMP;
}

GLint MinFilterFor(int imageFlags) {
    const bool filtered = (imageFlags & ImageFiltered) != 0;
    if ((imageFlags & ImageMipmapped) != 0) {
        return filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    }
    return filtered ? GL_LINEAR : GL_NEAREST;
}

// Nearest-pixel resample of a top-down RGBA picture to another size.
TPixmap ResampleNearest(const TPixmap& in, int width, int height) {
    TPixmap out;
    out.width = width;
    out.height = height;
    out.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(in.height - 1, y * in.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = std::min(in.width - 1, x * in.width / width);
            std::memcpy(&out.rgba[(static_cast<std::size_t>(y) * width + x) * 4],
                        &in.rgba[(static_cast<std::size_t>(sy) * in.width + sx) * 4], 4);
        }
    }
    return out;
}

} // namespace

TOpenGLRenderer::~TOpenGLRenderer() {
    Close();
}

bool TOpenGLRenderer::Open(TScreen& screen) {
    Close();
    if (screen.width < 1 || screen.height < 1 || !StartVideo()) {
        return false;
    }
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    window = OpenScreenWindow(screen, SDL_WINDOW_OPENGL);
    if (window == nullptr) {
        return false;
    }
    glContext = SDL_GL_CreateContext(window);
    if (glContext == nullptr || SDL_GL_MakeCurrent(window, glContext) != 0) {
        Close();
        return false;
    }
    life = std::make_shared<TGLContextLife>();
    width = screen.width;
    height = screen.height;
    SetUpState();
    return true;
}

void TOpenGLRenderer::FitViewport() {
    // A full-screen window may reach its final size only after it was made,
    // and setting the viewport is what makes OpenGL look at the window's size
    // again: done once a frame.
    int drawableWidth = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    viewport = LetterboxRect(width, height, drawableWidth, drawableHeight);
    letterboxed = viewport.w != drawableWidth || viewport.h != drawableHeight;
    // OpenGL's viewport origin is the bottom left of the drawable.
    glViewport(viewport.x, drawableHeight - viewport.y - viewport.h, viewport.w, viewport.h);
    glScissor(viewport.x, drawableHeight - viewport.y - viewport.h, viewport.w, viewport.h);
}

void TOpenGLRenderer::SetUpState() {
    viewport = SDL_Rect{};
    drawableHeight = 0;
    FitViewport();
    glEnable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DITHER);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    maxTextureSide = maxSide > 0 ? maxSide : 64;
    clampMode = EdgeClampMode();
    appliedMode = 0;
    ApplyBlendMode(BlendMasked);
    ApplyColour(255, 255, 255, 1.0f);
    swapInterval = -1;
}

void TOpenGLRenderer::Close() {
    if (life) {
        life->alive = false;
        life.reset();
    }
    if (glContext != nullptr) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(glContext);
        glContext = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

void TOpenGLRenderer::Clear(int red, int green, int blue) {
    if (glContext == nullptr) {
        return;
    }
    FitViewport();
    if (letterboxed) {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
    }
    glClearColor(Unit(red), Unit(green), Unit(blue), 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void TOpenGLRenderer::Present(bool vsync) {
    if (glContext == nullptr) {
        return;
    }
    const int interval = vsync ? 1 : 0;
    if (interval != swapInterval) {
        SDL_GL_SetSwapInterval(interval);
        swapInterval = interval;
    }
    SDL_GL_SwapWindow(window);
}

void TOpenGLRenderer::SetBlendMode(int mode) {
    if (glContext != nullptr) {
        ApplyBlendMode(mode);
    }
}

void TOpenGLRenderer::ApplyBlendMode(int mode) {
    if (mode == appliedMode) {
        return;
    }
    appliedMode = mode;
    switch (mode) {
    case BlendMasked:
        glDisable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
        break;
    case BlendAlpha:
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendAdd:
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case BlendMultiply:
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    default:
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_BLEND);
        break;
    }
}

void TOpenGLRenderer::SetColour(int red, int green, int blue, float alpha) {
    if (glContext != nullptr) {
        ApplyColour(red, green, blue, alpha);
    }
}

void TOpenGLRenderer::ApplyColour(int red, int green, int blue, float alpha) {
    glColor4f(Unit(red), Unit(green), Unit(blue), std::clamp(alpha, 0.0f, 1.0f));
}

void TOpenGLRenderer::FillTriangles(const TVertex* vertices, int count, const TPaint& paint) {
    if (glContext == nullptr || vertices == nullptr || count < 3) {
        return;
    }
    ApplyBlendMode(paint.blendMode);
    ApplyColour(paint.red, paint.green, paint.blue, paint.alpha);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < count / 3 * 3; ++i) {
        glVertex2f(vertices[i].x, vertices[i].y);
    }
    glEnd();
}

void TOpenGLRenderer::DrawTexturedTriangles(TRendererTexture& texture, int imageFlags,
                                            const TVertex* vertices, int count,
                                            const TPaint& paint) {
    (void)imageFlags;
    auto* glTexture = dynamic_cast<TGLTexture*>(&texture);
    if (glContext == nullptr || glTexture == nullptr || !glTexture->MadeIn(life) ||
        vertices == nullptr || count < 3) {
        return;
    }
    ApplyBlendMode(paint.blendMode);
    ApplyColour(paint.red, paint.green, paint.blue, paint.alpha);
    glBindTexture(GL_TEXTURE_2D, glTexture->name);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < count / 3 * 3; ++i) {
        glTexCoord2f(vertices[i].u, vertices[i].v);
        glVertex2f(vertices[i].x, vertices[i].y);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

TextureRef TOpenGLRenderer::MakeTexture(const TPixmap& frame, int imageFlags) {
    if (glContext == nullptr || frame.width < 1 || frame.height < 1 ||
        frame.rgba.size() != static_cast<std::size_t>(frame.width) * frame.height * 4) {
        return nullptr;
    }
    const TPixmap fitted = FitToTextureSize(frame, maxTextureSide);
    const TPixmap padded = PadToPowerOfTwo(fitted);
    auto texture = std::make_shared<TGLTexture>(life);
    glGenTextures(1, &texture->name);
    if (texture->name == 0) {
        return nullptr;
    }
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, MinFilterFor(imageFlags));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                    (imageFlags & ImageFiltered) != 0 ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clampMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, clampMode);
    const auto upload = [](GLint level, const TPixmap& pixmap) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, pixmap.width, pixmap.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, pixmap.rgba.data());
    };
    for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
    }
    if ((imageFlags & ImageMipmapped) != 0) {
        const std::vector<TPixmap> levels = MipChain(padded);
        for (std::size_t i = 0; i < levels.size(); ++i) {
            upload(static_cast<GLint>(i), levels[i]);
        }
    } else {
        upload(0, padded);
    }
    const bool failed = glGetError() != GL_NO_ERROR;
    glBindTexture(GL_TEXTURE_2D, 0);
    if (failed) {
        return nullptr;
    }
    texture->frameWidth = fitted.width;
    texture->frameHeight = fitted.height;
    texture->textureWidth = padded.width;
    texture->textureHeight = padded.height;
    return texture;
}

bool TOpenGLRenderer::ReadPixels(TPixmap& out) {
    if (glContext == nullptr || viewport.w < 1 || viewport.h < 1) {
        return false;
    }
    TPixmap bottomUp;
    bottomUp.width = viewport.w;
    bottomUp.height = viewport.h;
    bottomUp.rgba.resize(static_cast<std::size_t>(viewport.w) * viewport.h * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(viewport.x, drawableHeight - viewport.y - viewport.h, viewport.w, viewport.h,
                 GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.rgba.data());
    TPixmap topDown = bottomUp;
    const std::size_t row = static_cast<std::size_t>(viewport.w) * 4;
    for (int y = 0; y < viewport.h; ++y) {
        std::memcpy(&topDown.rgba[y * row], &bottomUp.rgba[(viewport.h - 1 - y) * row], row);
    }
    for (std::size_t i = 3; i < topDown.rgba.size(); i += 4) {
        topDown.rgba[i] = 255;
    }
    out = viewport.w == width && viewport.h == height ? std::move(topDown)
                                                      : ResampleNearest(topDown, width, height);
    return true;
}

void TOpenGLRenderer::SetPointerVisible(bool visible) {
    if (window != nullptr) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

void TOpenGLRenderer::MovePointer(int x, int y) {
    if (window == nullptr) {
        return;
    }
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    const SDL_Rect shown = LetterboxRect(width, height, windowWidth, windowHeight);
    SDL_WarpMouseInWindow(window, shown.x + x * shown.w / width, shown.y + y * shown.h / height);
}

RendererRef MakeOpenGLRenderer() {
    return std::make_shared<TOpenGLRenderer>();
}

} // namespace present
