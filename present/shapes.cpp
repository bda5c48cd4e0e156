#include "drawing.h"
#include "triangulate.h"

#include <algorithm>
#include <cmath>

namespace present {

namespace {

// Enough corners for an ellipse the size of any screen many times over; it
// keeps absurd sizes from asking for unbounded memory.
constexpr double kMaxEllipseCorners = 65536;

void FillPlaced(const TDrawState& state, const std::vector<TVertex>& vertices) {
    if (!vertices.empty()) {
        state.renderer->FillTriangles(vertices.data(), static_cast<int>(vertices.size()),
                                      Paint(state));
    }
}

int EllipseCorners(float rx, float ry) {
    const double sum =
        std::min(std::fabs(static_cast<double>(rx)) + std::fabs(ry), kMaxEllipseCorners);
    const int corners = std::max(static_cast<int>(sum), 12);
    return corners - corners % 4;
}

} // namespace

void ClearScreen() {
    if (const TDrawState* state = DrawingTarget()) {
        state->renderer->Clear(state->clearRed, state->clearGreen, state->clearBlue);
    }
}

void FillEllipse(float x, float y, float width, float height) {
    const TDrawState* target = DrawingTarget();
    if (!target || !std::isfinite(width) || !std::isfinite(height)) {
        return;
    }
    const TDrawState& state = *target;
    const float tx = x + state.originX;
    const float ty = y + state.originY;
    const float rx = width * 0.5f;
    const float ry = height * 0.5f;
    const float cx = -state.anchorX + rx;
    const float cy = -state.anchorY + ry;
    const int n = EllipseCorners(rx, ry);

    std::vector<TVertex> rim;
    rim.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double angle = i * 360.0 / n;
        const auto c = static_cast<float>(CosDeg(angle));
        const auto s = static_cast<float>(SinDeg(angle));
        rim.push_back(Place(state, cx + rx * c, cy - ry * s, tx, ty));
    }
    // The outline is convex, so a fan from its first corner covers it.
    std::vector<TVertex> vertices;
    vertices.reserve(static_cast<std::size_t>(n - 2) * 3);
    for (int i = 1; i + 1 < n; ++i) {
        vertices.push_back(rim[0]);
        vertices.push_back(rim[static_cast<std::size_t>(i)]);
        vertices.push_back(rim[static_cast<std::size_t>(i + 1)]);
    }
    FillPlaced(state, vertices);
}

void RendererFillPolygon(const std::vector<float>& points, float ax, float ay, float tx, float ty) {
    const TDrawState* state = DrawingTarget();
    if (!state || points.size() < 6 || points.size() % 2 != 0) {
        return;
    }
    std::vector<TPoint2> corners(points.size() / 2);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        corners[i] = TPoint2{points[2 * i] + ax, points[2 * i + 1] + ay};
    }
    // Triangulated before placement, so a zero or mirroring scale cannot upset it.
    const std::vector<int> triangles = Triangulate(corners);
    std::vector<TVertex> vertices;
    vertices.reserve(triangles.size());
    for (const int index : triangles) {
        const TPoint2& corner = corners[static_cast<std::size_t>(index)];
        vertices.push_back(Place(*state, corner.x, corner.y, tx, ty));
    }
    FillPlaced(*state, vertices);
}

void RendererDrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    const TDrawState* target = DrawingTarget();
    if (!target) {
        return;
    }
    const TDrawState& state = *target;
    const double dx = static_cast<double>(x1) - x0;
    const double dy = static_cast<double>(y1) - y0;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0) || !std::isfinite(length) || !(state.lineWidth > 0) ||
        !std::isfinite(state.lineWidth)) {
        return;
    }
    // Half the width to each side of the segment, across it.
    const double half = state.lineWidth * 0.5;
    const auto nx = static_cast<float>(-dy / length * half);
    const auto ny = static_cast<float>(dx / length * half);
    const TVertex a = Place(state, x0 + nx, y0 + ny, tx, ty);
    const TVertex b = Place(state, x1 + nx, y1 + ny, tx, ty);
    const TVertex c = Place(state, x1 - nx, y1 - ny, tx, ty);
    const TVertex d = Place(state, x0 - nx, y0 - ny, tx, ty);
    FillPlaced(state, {a, b, c, a, c, d});
}

} // namespace present
