/// @file
/// Polygon drawing on the current drawing state.
#pragma once

#include <vector>

namespace kinetra {

/// Fills (filled != 0) or outlines the polygon x0, y0, x1, y1, ... placed at (x, y).
int DrawPolygon(const std::vector<float>& points, int filled, float x, float y);

} // namespace kinetra
