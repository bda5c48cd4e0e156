// Quad tree over a zone's shape, used to reject far masses before the exact test.
#pragma once

#include "refs.h"

#include <vector>

namespace kinetra {

// 1 when segment (x1, y1)-(x2, y2) properly crosses (x3, y3)-(x4, y4); touching at an
// end point and (nearly) parallel segments give 0.
int SegmentsIntersect(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4);

class TQuadTree {
public:
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    std::vector<QuadTreeRef> children; // top-left, top-right, bottom-left, bottom-right

    // Deeper trees than this are built to this depth: every level may quadruple the
    // node count of a filled shape.
    static constexpr int kMaxDepth = 8;

    // The subtree of the cell (x, y, w, h) for a shape of the given kind; Null when
    // the cell misses it, or for a kind that is none of TZoneKind's.
    static QuadTreeRef Build(const std::vector<float>& points, TZoneKind kind, float x, float y,
                             float w, float h, int depth);

    // 1 when the square at (qx, qy) with side size touches a leaf cell of this tree
    // shifted by (ox, oy).
    int Overlaps(float ox, float oy, float qx, float qy, float size) const;
};

} // namespace kinetra
