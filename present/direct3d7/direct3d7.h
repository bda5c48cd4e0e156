// The Direct3D 7 renderer. Direct3D itself does not exist on this platform;
// this is a stand-in with exactly what the game asks of it, built on SDL's 2D
// renderer: a device that draws fans and strips of pre-transformed vertices,
// the active texture and its sampling, the blend states, clear and present.
// Without a display it draws into memory.
#pragma once

#include "renderer.h"

#include <SDL.h>

#include <cstdint>
#include <memory>

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
    // diffuse colour modulating its texels, and the current blend mode. Other
    // primitive types and formats are rejected; fewer than three vertices draw
    // nothing.
    int DrawPrimitive(int primitiveType, std::uint32_t vertexFormat, const void* vertices,
                      std::uint32_t vertexCount, std::uint32_t flags);

private:
    TDirect3D7Renderer& owner;
};

struct TSDLTarget;
class TSDLTexture;

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
    void SetBlendMode(int mode) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetColour(int red, int green, int blue, float alpha) override;
    void FillTriangles(const TVertex* vertices, int count, const TPaint& paint) override;
    void DrawTexturedTriangles(TRendererTexture& texture, int imageFlags, const TVertex* vertices,
                               int count, const TPaint& paint) override;
    TextureRef MakeTexture(const TPixmap& frame, int imageFlags) override;
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

    // Draws indexed triangles of SDL vertices (positions in the logical screen,
    // colours modulating the texels, uv in the texture), untextured when texture
    // is Null. alpha is the draw's alpha for the masked mode's test. The vertex
    // colours may be changed on the way.
    void DrawGeometry(TSDLTexture* texture, int imageFlags, std::vector<SDL_Vertex>& vertices,
                      const std::vector<int>& indices, int mode, float alpha);

    std::shared_ptr<TSDLTexture> ActiveTexture() const { return activeTexture; }
    int ActiveFlags() const { return activeFlags; }
    int BlendMode() const { return blendMode; }

private:
    // The SDL texture (mip level, masked copy) a draw uses, with its blend and
    // sampling set and the vertices' texture coordinates fitted to it; Null
    // when nothing is to be drawn.
    SDL_Texture* PrepareTexture(TSDLTexture& texture, int imageFlags,
                                std::vector<SDL_Vertex>& vertices, const std::vector<int>& indices,
                                int mode, float drawAlpha);
    // 0, 1, 2, ... count - 1: every three vertices one triangle.
    const std::vector<int>& ListIndices(std::size_t count);

    TDirect3DDevice7 device;
    std::shared_ptr<TSDLTarget> target;
    int red = 255, green = 255, blue = 255;
    float alpha = 1.0f;
    int blendMode = BlendMasked;
    std::shared_ptr<TSDLTexture> activeTexture;
    int activeFlags = 0;
    bool vsyncOn = false;
    std::vector<SDL_Vertex> scratch;
    std::vector<int> listIndices;
};

RendererRef MakeDirect3D7Renderer();

} // namespace present
