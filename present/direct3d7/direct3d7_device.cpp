#include "direct3d7.h"
#include "sdl_texture.h"

#include <numeric>

namespace present {

namespace {

constexpr std::uint32_t kVertexFormat322 = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

SDL_Color FromARGB(std::uint32_t argb) {
    return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                     static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

} // namespace

int TDirect3DDevice7::DrawPrimitive(int primitiveType, std::uint32_t vertexFormat,
                                    const void* vertices, std::uint32_t vertexCount,
                                    std::uint32_t flags) {
    (void)flags;
    if (vertexFormat != kVertexFormat322 ||
        (primitiveType != D3DPT_TRIANGLEFAN && primitiveType != D3DPT_TRIANGLESTRIP)) {
        return D3DERR_INVALIDCALL;
    }
    if (vertexCount < 3) {
        return D3D_OK;
    }
    if (vertices == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const auto* in = static_cast<const D3DTLVERTEX322*>(vertices);
    // Every triangle gets vertices of its own: SDL's software renderer treats
    // shared-vertex quads as rectangles, with its own blending and sampling.
    std::vector<SDL_Vertex> converted;
    converted.reserve((vertexCount - 2) * 3);
    const auto add = [&](std::uint32_t i) {
        converted.push_back(SDL_Vertex{SDL_FPoint{in[i].x, in[i].y}, FromARGB(in[i].diffuse),
                                       SDL_FPoint{in[i].u, in[i].v}});
    };
    for (std::uint32_t i = 0; i + 2 < vertexCount; ++i) {
        add(primitiveType == D3DPT_TRIANGLEFAN ? 0 : i);
        add(i + 1);
        add(i + 2);
    }
    std::vector<int> indices(converted.size());
    std::iota(indices.begin(), indices.end(), 0);
    const float alpha = static_cast<float>(converted.front().color.a) / 255.0f;
    owner.DrawGeometry(owner.ActiveTexture().get(), owner.ActiveFlags(), converted, indices,
                       owner.BlendMode(), alpha);
    return D3D_OK;
}

} // namespace present
