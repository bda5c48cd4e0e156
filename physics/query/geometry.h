// The questions' exact tests, in double on the objects' float values: a circle (a mass)
// or a segment (a zone's) against a point, a box or a ray. Touching counts.
#pragma once

#include <algorithm>
#include <optional>

namespace kinetra {

class TMass;

struct TBox {
    double minX, minY, maxX, maxY;
};

// The segment from (x0, y0) to (x0 + dx, y0 + dy), of a length other than 0.
struct TRay {
    double x0, y0, dx, dy;
};

// Where a ray meets something: the fraction along it and the unit normal there,
// facing back towards the ray's start.
struct TMeet {
    double t;
    double nx, ny;
};

// Narrows [t0, t1] to where p + t d lies in [lo, hi]; false when nothing is left.
inline bool ClipToRange(double p, double d, double lo, double hi, double& t0, double& t1) {
    if (d == 0.0) {
        return p >= lo && p <= hi;
    }
    const double a = (lo - p) / d;
    const double b = (hi - p) / d;
    t0 = std::max(t0, std::min(a, b));
    t1 = std::min(t1, std::max(a, b));
    return t0 <= t1;
}

inline bool BoxesTouch(const TBox& a, const TBox& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// A circle of a negative or NaN radius holds and touches nothing.
bool CircleHolds(const TMass& m, double px, double py);
bool CircleTouchesBox(const TMass& m, const TBox& box);
bool SegmentTouchesBox(double ax, double ay, double bx, double by, const TBox& box);

// A ray that starts inside (or on) the circle meets it at once, with the normal
// pointing straight back along the ray.
std::optional<TMeet> RayMeetsCircle(const TRay& ray, const TMass& m);

// A segment lying along the ray is met where they first overlap, with the normal
// pointing straight back along the ray; a segment of length 0 is a point.
std::optional<TMeet> RayMeetsSegment(const TRay& ray, double ax, double ay, double bx, double by);

// At the ray's start, the normal pointing straight back along it.
TMeet MeetAtStart(const TRay& ray);

} // namespace kinetra
