// Splitting polygon outlines into triangles.
#pragma once

#include <vector>

namespace present {

struct TPoint2 {
    float x = 0;
    float y = 0;
};

// Splits the polygon with these corners (either winding) into triangles by ear
// clipping and returns them as index triples into corners. A simple polygon,
// concave or not, is covered exactly. Repeated corners, straight runs and
// outlines that touch themselves are tolerated; an outline without area gives
// no triangles, and one that crosses itself still gives triangles within it.
std::vector<int> Triangulate(const std::vector<TPoint2>& corners);

} // namespace present
