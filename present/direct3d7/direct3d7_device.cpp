#include "direct3d7.h"
#include "soft_texture.h"

namespace present {

namespace {

constexpr std::uint32_t kVertexFormat322 = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

TPaint PaintFromDiffuse(std::uint32_t argb, TBlendMode blendMode) {
    return TPaint{static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
                  static_cast<int>(argb & 0xFF), static_cast<float>(argb >> 24) / 255.0f,
                  blendMode};
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
    // Kept between calls: drawing a frame allocates nothing once it has grown.
    triangles.clear();
    const auto add = [&](std::uint32_t i) {
        triangles.push_back(TVertex{in[i].x, in[i].y, in[i].u, in[i].v});
    };
    for (std::uint32_t i = 0; i + 2 < vertexCount; ++i) {
        add(primitiveType == D3DPT_TRIANGLEFAN ? 0 : i);
        add(i + 1);
        add(i + 2);
    }
    const TPaint paint = PaintFromDiffuse(in[0].diffuse, owner.BlendMode());
    const int count = static_cast<int>(triangles.size());
    if (TSoftTexture* texture = owner.ActiveTexture()) {
        owner.DrawTexturedTriangles(*texture, owner.ActiveFlags(), triangles.data(), count, paint);
    } else {
        owner.FillTriangles(triangles.data(), count, paint);
    }
    return D3D_OK;
}

} // namespace present
