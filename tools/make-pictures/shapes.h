// Signed distances to the simple shapes the pictures are drawn from: negative
// inside, positive outside, roughly in pixels.
#pragma once

namespace pictures {

struct TPoint {
    double x = 0;
    double y = 0;
};

double EllipseDistance(TPoint p, TPoint centre, double radiusX, double radiusY);

// Distance to the quadratic Bezier curve from `from` through control `via` to `to`.
double CurveDistance(TPoint p, TPoint from, TPoint via, TPoint to);

// A box of the given half sizes with corners rounded by `corner`.
double RoundedBoxDistance(TPoint p, TPoint centre, double halfWidth, double halfHeight,
                          double corner);

} // namespace pictures
