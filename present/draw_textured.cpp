// Textured fans and strips through the current renderer's own primitives.
#include <present/image.h>
#include <present/present.h>

#include "direct3d7/direct3d7.h"
#include "opengl/opengl_textured.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace present {

namespace {

void DrawThroughDirect3D7(TDirect3D7Renderer& renderer, const std::vector<float>& points,
                          TImage& image, int frame, int fan, float ax, float ay, float ox,
                          float oy) {
    const std::size_t count = points.size() / kTexturedVertexFloats;
    // The device takes positions already in screen space, so the drawing
    // state's matrix is applied here.
    std::vector<D3DTLVERTEX322> vertices(count);
    const std::uint32_t diffuse = renderer.ColourARGB();
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = &points[i * kTexturedVertexFloats];
        const float lx = p[0] - ax;
        const float ly = p[1] - ay;
        D3DTLVERTEX322& v = vertices[i];
        v.x = lx * renderer.ix + ly * renderer.iy + ox;
        v.y = lx * renderer.jx + ly * renderer.jy + oy;
        v.z = 0;
        v.diffuse = diffuse;
        v.u = p[2];
        v.v = p[3];
    }
    renderer.SetActiveFrame(image, frame);
    renderer.Device().DrawPrimitive(fan != 0 ? D3DPT_TRIANGLEFAN : D3DPT_TRIANGLESTRIP,
                                    D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, vertices.data(),
                                    static_cast<std::uint32_t>(count), 0);
}

} // namespace

void DrawTexturedVertices(const std::vector<float>& vertices, const ImageRef& image, int frame,
                          int fan) {
    if (!image || frame < 0 || frame >= image->FrameCount()) {
        return;
    }
    float ax = 0;
    float ay = 0;
    float ox = 0;
    float oy = 0;
    GetDrawAnchor(ax, ay);
    GetDrawOrigin(ox, oy);
    auto renderer = CurrentRenderer();
    if (auto d3d = std::dynamic_pointer_cast<TDirect3D7Renderer>(renderer)) {
        DrawThroughDirect3D7(*d3d, vertices, *image, frame, fan, ax, ay, ox, oy);
    } else {
        DrawTexturedThroughOpenGL(renderer, vertices, *image, frame, fan, ax, ay, ox, oy);
    }
}

} // namespace present
