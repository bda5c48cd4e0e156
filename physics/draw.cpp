// The engine's drawing, on the presentation layer's renderer operations.
#include <kinetra/draw.h>

#include <kinetra/zone.h>

#include <present/present.h>

#include <cstddef>

namespace kinetra {

namespace {

// Lines are offset by half a pixel so they fall on pixel centres.
constexpr float lineOffsetX = 0.5f;
constexpr float lineOffsetY = 0.5f;

} // namespace

int DrawPolygon(const std::vector<float>& points, int filled, float x, float y) {
    float ox = 0.0f;
    float oy = 0.0f;
    float ax = 0.0f;
    float ay = 0.0f;
    present::GetDrawOrigin(ox, oy);
    present::GetDrawAnchor(ax, ay);
    if (filled != 0) {
        present::RendererFillPolygon(points, ax, ay, x + ox, y + oy);
        return 0;
    }
    const std::size_t n = points.size() / 2;
    if (n == 0) {
        return 0;
    }
    float qx = points[2 * n - 2];
    float qy = points[2 * n - 1];
    for (std::size_t i = 0; i < n; ++i) {
        const float px = points[2 * i];
        const float py = points[2 * i + 1];
        present::RendererDrawLine(qx + ax, qy + ay, px + ax, py + ay, x + ox - lineOffsetX,
                                  y + oy - lineOffsetY);
        qx = px;
        qy = py;
    }
    return 0;
}

void TZone::Draw() {
    if (kind != 2 || !points) {
        return;
    }
    DrawPolygon(*points, 1, x, y);
    present::SetDrawColour(0, 0, 0);
    DrawPolygon(*points, 0, x, y);
}

} // namespace kinetra
