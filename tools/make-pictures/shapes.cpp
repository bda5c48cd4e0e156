#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

double SegmentDistance(TPoint p, TPoint a, TPoint b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TPoint CurvePoint(TPoint from, TPoint via, TPoint to, double t) {
    const double u = 1 - t;
    return {u * u * from.x + 2 * u * t * via.x + t * t * to.x,
            u * u * from.y + 2 * u * t * via.y + t * t * to.y};
}

} // namespace

double EllipseDistance(TPoint p, TPoint centre, double radiusX, double radiusY) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    const double k0 = std::hypot(dx / radiusX, dy / radiusY);
    const double k1 = std::hypot(dx / (radiusX * radiusX), dy / (radiusY * radiusY));
    if (k1 == 0) {
        return -std::min(radiusX, radiusY);
    }
    // First-order estimate: exact on the outline, close enough a few pixels away.
    return k0 * (k0 - 1) / k1;
}

double CurveDistance(TPoint p, TPoint from, TPoint via, TPoint to) {
    constexpr int kSteps = 48;
    TPoint previous = from;
    double best = std::hypot(p.x - from.x, p.y - from.y);
    for (int i = 1; i <= kSteps; ++i) {
        const TPoint next = CurvePoint(from, via, to, static_cast<double>(i) / kSteps);
        best = std::min(best, SegmentDistance(p, previous, next));
        previous = next;
    }
    return best;
}

double RoundedBoxDistance(TPoint p, TPoint centre, double halfWidth, double halfHeight,
                          double corner) {
    const double qx = std::abs(p.x - centre.x) - (halfWidth - corner);
    const double qy = std::abs(p.y - centre.y) - (halfHeight - corner);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    const double inside = std::min(std::max(qx, qy), 0.0);
    return outside + inside - corner;
}

} // namespace pictures
