#include "geometry.h"

#include <kinetra/mass.h>

#include <cmath>

namespace kinetra {

namespace {

double Cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

// Overlapping a segment that lies along the ray.
std::optional<TMeet> AlongRay(const TRay& ray, double ax, double ay, double bx, double by) {
    const double dd = ray.dx * ray.dx + ray.dy * ray.dy;
    const double ta = ((ax - ray.x0) * ray.dx + (ay - ray.y0) * ray.dy) / dd;
    const double tb = ((bx - ray.x0) * ray.dx + (by - ray.y0) * ray.dy) / dd;
    const double first = std::max(std::min(ta, tb), 0.0);
    if (!(first <= std::min(std::max(ta, tb), 1.0))) {
        return std::nullopt;
    }
    TMeet meet = MeetAtStart(ray);
    meet.t = first;
    return meet;
}

} // namespace

TMeet MeetAtStart(const TRay& ray) {
    const double length = std::sqrt(ray.dx * ray.dx + ray.dy * ray.dy);
    return {0.0, -ray.dx / length, -ray.dy / length};
}

bool CircleHolds(const TMass& m, double px, double py) {
    const double r = m.radius;
    const double dx = px - m.x;
    const double dy = py - m.y;
    return r >= 0.0 && dx * dx + dy * dy <= r * r;
}

bool CircleTouchesBox(const TMass& m, const TBox& box) {
    const double r = m.radius;
    const double x = m.x;
    const double y = m.y;
    const double dx = std::max({box.minX - x, 0.0, x - box.maxX});
    const double dy = std::max({box.minY - y, 0.0, y - box.maxY});
    return r >= 0.0 && dx * dx + dy * dy <= r * r;
}

bool SegmentTouchesBox(double ax, double ay, double bx, double by, const TBox& box) {
    double t0 = 0.0;
    double t1 = 1.0;
    return ClipToRange(ax, bx - ax, box.minX, box.maxX, t0, t1) &&
           ClipToRange(ay, by - ay, box.minY, box.maxY, t0, t1);
}

std::optional<TMeet> RayMeetsCircle(const TRay& ray, const TMass& m) {
    const double r = m.radius;
    if (!(r >= 0.0)) {
        return std::nullopt;
    }
    const double fx = ray.x0 - m.x;
    const double fy = ray.y0 - m.y;
    const double c = fx * fx + fy * fy - r * r;
    if (c <= 0.0) {
        return MeetAtStart(ray);
    }
    const double a = ray.dx * ray.dx + ray.dy * ray.dy;
    const double b = fx * ray.dx + fy * ray.dy;
    const double disc = b * b - a * c;
    if (!(disc >= 0.0)) {
        return std::nullopt;
    }
    const double t = (-b - std::sqrt(disc)) / a;
    if (!(t >= 0.0 && t <= 1.0)) {
        return std::nullopt;
    }
    const double nx = fx + t * ray.dx;
    const double ny = fy + t * ray.dy;
    const double length = std::sqrt(nx * nx + ny * ny);
    if (!(length > 0.0)) {
        // A circle of radius 0 met exactly.
        TMeet meet = MeetAtStart(ray);
        meet.t = t;
        return meet;
    }
    return TMeet{t, nx / length, ny / length};
}

std::optional<TMeet> RayMeetsSegment(const TRay& ray, double ax, double ay, double bx, double by) {
    const double ex = bx - ax;
    const double ey = by - ay;
    const double wx = ax - ray.x0;
    const double wy = ay - ray.y0;
    const double denom = Cross(ray.dx, ray.dy, ex, ey);
    if (denom == 0.0) {
        if (Cross(wx, wy, ray.dx, ray.dy) != 0.0) {
            return std::nullopt;
        }
        return AlongRay(ray, ax, ay, bx, by);
    }
    const double t = Cross(wx, wy, ex, ey) / denom;
    const double u = Cross(wx, wy, ray.dx, ray.dy) / denom;
    if (!(t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0)) {
        return std::nullopt;
    }
    const double length = std::sqrt(ex * ex + ey * ey);
    double nx = ey / length;
    double ny = -ex / length;
    if (nx * ray.dx + ny * ray.dy > 0.0) {
        nx = -nx;
        ny = -ny;
    }
    return TMeet{t, nx, ny};
}

} // namespace kinetra
