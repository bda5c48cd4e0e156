// Signed distances to the simple shapes the pictures are drawn from: negative
// inside, positive outside, roughly in pixels.
#pragma once

namespace pictures {

struct Point {
    double x = 0;
    double y = 0;
};

double EllipseDistance(Point p, Point centre, double radiusX, double radiusY);

// Distance to the quadratic Bezier curve from `from` through control `via` to `to`.
double CurveDistance(Point p, Point from, Point via, Point to);

// A box of the given half sizes with corners rounded by `corner`.
double RoundedBoxDistance(Point p, Point centre, double halfWidth, double halfHeight,
                          double corner);

} // namespace pictures
