// The Direct3D 7 renderer. Direct3D itself does not exist on this platform;
// this is a stand-in with what the game asks of it: a software device, as
// Direct3D 7's own software rasterizer was, that draws fans and strips of
// pre-transformed vertices with the active texture and its sampling, the blend
// states, clear and present, into a 32-bit frame buffer of its own. Every
// drawing facility goes through it. Without a display the frame buffer is the
// frame; on a display presenting shows it in a window.
#pragma once

#include "display_output.h"
#include "frame_buffer.h"
#include "renderer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace present {

constexpr int D3DPT_TRIANGLESTRIP = 5;
constexpr int D3DPT_TRIANGLEFAN = 6;

constexpr std::uint32_t D3DFVF_XYZ = 0x002;
constexpr std::uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr std::uint32_t D3DFVF_TEX1 = 0x100;

constexpr int D3D_OK = 0;
constexpr int D3DERR_INVALIDCALL = static_cast<int>(0x8876086Cu);

// A vertex already in screen space: position, diffuse ARGB, texture coordinate.
struct D3DTLVERTEX322 {
    float x, y, z;
    std::uint32_t diffuse;
    float u, v;
};
static_assert(sizeof(D3DTLVERTEX322) == 24, "the vertex format is 24 bytes");
static_assert(D3DFVF_XYZ + D3DFVF_DIFFUSE + D3DFVF_TEX1 == 322);

class TDirect3D7Renderer;

class TDirect3DDevice7 {
public:
    explicit TDirect3DDevice7(TDirect3D7Renderer& renderer) : owner(renderer) {}

    // Draws a fan or strip of format-322 vertices with the active texture, the
    // diffuse colour modulating its texels, and the current blend mode. Shading
    // is flat: the first vertex's diffuse colour holds for the whole primitive.
    // Other primitive types and formats are rejected; fewer than three vertices
    // draw nothing.
    int DrawPrimitive(int primitiveType, std::uint32_t vertexFormat, const void* vertices,
                      std::uint32_t vertexCount, std::uint32_t flags);

private:
    TDirect3D7Renderer& owner;
    std::vector<TVertex> triangles;
};

class TSoftTexture;

class TDirect3D7Renderer : public TRenderer {
public:
    TDirect3D7Renderer();
    ~TDirect3D7Renderer() override;
    TDirect3D7Renderer(const TDirect3D7Renderer&) = delete;
    TDirect3D7Renderer& operator=(const TDirect3D7Renderer&) = delete;

    const char* Name() const override { return "Direct3D 7"; }
    bool Open(TScreen& screen) override;
    void Close() override;
    void Clear(int red, int green, int blue) override;
    void Present(bool vsync) override;
    void SetBlendMode(TBlendMode mode) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetColour(int red, int green, int blue, float alpha) override;
    void FillTriangles(const TVertex* vertices, int count, const TPaint& paint) override;
    void DrawTexturedTriangles(TRendererTexture& texture, TImageFlags imageFlags,
                               const TVertex* vertices, int count, const TPaint& paint) override;
    TextureRef MakeTexture(const TPixmap& frame, TImageFlags imageFlags) override;
    bool ReadPixels(TPixmap& out) override;
    void SetPointerVisible(bool visible) override;
    void MovePointer(int x, int y) override;

    // The drawing state's matrix, mirrored for callers that transform vertices
    // themselves.
    float ix = 1, iy = 0, jx = 0, jy = 1;

    // The current colour and alpha as one ARGB value: alpha byte trunc(alpha
    // * 255) with alpha clamped to 0..1, then red, green, blue.
    std::uint32_t ColourARGB() const;

    // Makes the renderer copy of an image frame the active texture and takes
    // its sampling from the image's flags.
    void SetActiveFrame(TImage& image, int frame);

    TDirect3DDevice7& Device() { return device; }

    // The active frame's texture (Null when none is, or it could not be made)
    // and its image's flags.
    TSoftTexture* ActiveTexture() const { return activeTexture.get(); }
    TImageFlags ActiveFlags() const { return activeFlags; }
    TBlendMode BlendMode() const { return blendMode; }

private:
    void Rasterize(const TSoftTexture* texture, TImageFlags imageFlags, const TVertex* vertices,
                   int count, const TPaint& paint);

    TDirect3DDevice7 device;
    TFrameBuffer frame;
    TDisplayOutput display;
    // A new one at every opening: textures of an earlier opening are not drawn.
    std::shared_ptr<const int> opening;
    int red = 255, green = 255, blue = 255;
    float alpha = 1.0f;
    TBlendMode blendMode = TBlendMode::Masked;
    std::shared_ptr<TSoftTexture> activeTexture;
    TImageFlags activeFlags = TImageFlags::None;
};

RendererRef MakeDirect3D7Renderer();

} // namespace present
