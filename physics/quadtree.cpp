#include <kinetra/quadtree.h>

#include <kinetra/zone.h>

#include <cmath>
#include <cstddef>

namespace kinetra {

namespace {

constexpr float kParallelLimit = 0.0001f;
constexpr float kHalving = 2.0f;

struct TCell {
    float x, y, w, h;

    bool Inside(float px, float py) const { return x < px && px < x + w && y < py && py < y + h; }

    // Every edge is tested, in the order top, left, right, bottom.
    bool Crossed(float ax, float ay, float bx, float by) const {
        const int top = SegmentsIntersect(ax, ay, bx, by, x, y, x + w, y);
        const int left = SegmentsIntersect(ax, ay, bx, by, x, y, x, y + h);
        const int right = SegmentsIntersect(ax, ay, bx, by, x + w, y, x + w, y + h);
        const int bottom = SegmentsIntersect(ax, ay, bx, by, x, y + h, x + w, y + h);
        return (top | left | right | bottom) != 0;
    }

    int Quadrant(float px, float py) const {
        if (px < x) {
            return py < y ? 1 : 4;
        }
        return py < y ? 2 : 3;
    }
};

bool OpenLineHits(const std::vector<float>& p, std::size_t n, const TCell& cell) {
    bool hit = cell.Inside(p[0], p[1]);
    for (std::size_t i = 2; i < n; i += 2) {
        if (cell.Inside(p[i], p[i + 1]) || cell.Crossed(p[i - 2], p[i - 1], p[i], p[i + 1])) {
            hit = true;
        }
    }
    return hit;
}

// The closed outline; for a filled shape also whether the cell's top-left corner is
// wound round by the polygon, so a cell lying wholly inside counts.
bool ClosedShapeHits(const std::vector<float>& p, std::size_t n, const TCell& cell, bool filled) {
    bool hit = false;
    float qx = p[n - 2];
    float qy = p[n - 1];
    int quadrant = cell.Quadrant(qx, qy);
    int sum = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        const float px = p[i];
        const float py = p[i + 1];
        if (cell.Inside(px, py) || cell.Crossed(qx, qy, px, py)) {
            hit = true;
        }
        if (filled) {
            const int next = cell.Quadrant(px, py);
            int delta = next - quadrant;
            if (delta == 3) {
                delta = -1;
            } else if (delta == -3) {
                delta = 1;
            } else if (delta == 2 || delta == -2) {
                const float cx = px - (py - cell.y) * (qx - px) / (qy - py);
                if (cx < cell.x) {
                    delta = -delta;
                }
            }
            sum += delta;
            quadrant = next;
        }
        qx = px;
        qy = py;
    }
    return hit || (filled && (sum == 4 || sum == -4));
}

} // namespace

int SegmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4) {
    const float den = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
    if (!(std::fabs(den) >= kParallelLimit)) {
        return 0;
    }
    const float ua = ((y1 - y3) * (x4 - x3) - (x1 - x3) * (y4 - y3)) / den;
    const float ub = ((y1 - y3) * (x2 - x1) - (x1 - x3) * (y2 - y1)) / den;
    return (0.0f < ua && ua < 1.0f && 0.0f < ub && ub < 1.0f) ? 1 : 0;
}

QuadTreeRef TQuadTree::Build(const std::vector<float>& points, TZoneKind kind, float x, float y,
                             float w, float h, int depth) {
    const std::size_t n = points.size() & ~static_cast<std::size_t>(1);
    if (n < 2) {
        return nullptr;
    }
    const TCell cell{x, y, w, h};
    bool hit = false;
    switch (kind) {
    case TZoneKind::Open:
        hit = OpenLineHits(points, n, cell);
        break;
    case TZoneKind::Outline:
        hit = ClosedShapeHits(points, n, cell, false);
        break;
    case TZoneKind::Solid:
        hit = ClosedShapeHits(points, n, cell, true);
        break;
    default:
        break;
    }
    if (!hit) {
        return nullptr;
    }
    auto node = std::make_shared<TQuadTree>();
    node->x = x;
    node->y = y;
    node->w = w;
    node->h = h;
    if (depth > kMaxDepth) {
        depth = kMaxDepth;
    }
    if (depth >= 2) {
        const float hw = w / kHalving;
        const float hh = h / kHalving;
        const float cellX[4] = {x, x + hw, x, x + hw};
        const float cellY[4] = {y, y, y + hh, y + hh};
        for (int i = 0; i < 4; ++i) {
            if (auto child = Build(points, kind, cellX[i], cellY[i], hw, hh, depth - 1)) {
                node->children.push_back(std::move(child));
            }
        }
    }
    return node;
}

int TQuadTree::Overlaps(float ox, float oy, float qx, float qy, float size) const {
    if (ox + x > qx + size || ox + x + w < qx || oy + y > qy + size || oy + y + h < qy) {
        return 0;
    }
    if (children.empty()) {
        return 1;
    }
    for (const auto& child : children) {
        if (child->Overlaps(ox, oy, qx, qy, size)) {
            return 1;
        }
    }
    return 0;
}

} // namespace kinetra
