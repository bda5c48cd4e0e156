// The renderer interface. The drawing layer turns every command into
// screen-space triangles, so a renderer only fills and textures triangles,
// clears, presents and keeps texture copies of image frames.
#pragma once

#include <present/image.h>
#include <present/present.h>

#include <cstdint>
#include <vector>

namespace present {

// A screen-space vertex: position in pixels of the logical screen, texture
// coordinate in 0..1 of the texture (not of the frame).
struct TVertex {
    float x, y;
    float u, v;
};

// What a renderer needs to know to draw: the colour and alpha, the blend mode.
struct TPaint {
    int red = 255, green = 255, blue = 255;
    float alpha = 1.0f;
    int blendMode = BlendMasked;
};

class TRenderer : public std::enable_shared_from_this<TRenderer> {
public:
    virtual ~TRenderer() = default;
    virtual const char* Name() const = 0;

    // Creates the screen's window (or memory surface). width, height are the
    // logical size; depth 0 is a window, otherwise full screen. False on failure.
    virtual bool Open(TScreen& screen) = 0;
    virtual void Close() = 0;

    virtual void Clear(int red, int green, int blue) = 0;
    virtual void Present(bool vsync) = 0;
    // Applies a blend mode; the drawing layer calls it only when the mode changes.
    virtual void SetBlendMode(int mode) = 0;
    // The matrix and colour of the drawing state, mirrored for renderers that
    // expose them (the Direct3D 7 stand-in).
    virtual void SetTransform(float ix, float iy, float jx, float jy) {
        (void)ix, (void)iy, (void)jx, (void)jy;
    }
    virtual void SetColour(int red, int green, int blue, float alpha) {
        (void)red, (void)green, (void)blue, (void)alpha;
    }

    // count vertices, three per triangle.
    virtual void FillTriangles(const TVertex* vertices, int count, const TPaint& paint) = 0;
    virtual void DrawTexturedTriangles(TRendererTexture& texture, int imageFlags,
                                       const TVertex* vertices, int count, const TPaint& paint) = 0;

    virtual TextureRef MakeTexture(const TPixmap& frame, int imageFlags) = 0;

    // Reads the back buffer (the frame being drawn) as RGBA of the logical size.
    virtual bool ReadPixels(TPixmap& out) = 0;
    virtual void SetPointerVisible(bool visible) { (void)visible; }
    // Moves the mouse pointer to a point of the logical screen.
    virtual void MovePointer(int x, int y) { (void)x, (void)y; }
};

} // namespace present
