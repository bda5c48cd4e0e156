#include "triangulate.h"

#include <cmath>
#include <cstddef>

namespace present {

namespace {

bool SamePoint(const TPoint2& a, const TPoint2& b) {
    return a.x == b.x && a.y == b.y;
}

// Twice the signed area of triangle (a, b, c). Products of floats are exact in
// double, so the sign is reliable for nearly collinear corners.
double Cross(const TPoint2& a, const TPoint2& b, const TPoint2& c) {
    return (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
           (static_cast<double>(b.y) - a.y) * (static_cast<double>(c.x) - a.x);
}

double SignedArea(const std::vector<TPoint2>& corners, const std::vector<int>& ring) {
    double sum = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const TPoint2& a = corners[static_cast<std::size_t>(ring[i])];
        const TPoint2& b = corners[static_cast<std::size_t>(ring[(i + 1) % ring.size()])];
        sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return sum;
}

// The corners in order with each run of equal consecutive corners reduced to one.
std::vector<int> DistinctRing(const std::vector<TPoint2>& corners) {
    std::vector<int> ring;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (ring.empty() ||
            !SamePoint(corners[static_cast<std::size_t>(ring.back())], corners[i])) {
            ring.push_back(static_cast<int>(i));
        }
    }
    while (ring.size() > 1 && SamePoint(corners[static_cast<std::size_t>(ring.front())],
                                        corners[static_cast<std::size_t>(ring.back())])) {
        ring.pop_back();
    }
    return ring;
}

class TEarClipper {
public:
    TEarClipper(const std::vector<TPoint2>& points, std::vector<int> order, double sense)
        : corners(points), ring(std::move(order)), orientation(sense) {}

    std::vector<int> Run() {
        std::size_t at = 0;
        std::size_t misses = 0;
        while (ring.size() > 3) {
            const double turn = Turn(at);
            if (turn == 0) {
                // A straight run or a zero-width spike: dropping it changes no area.
                Remove(at);
                misses = 0;
            } else if (turn > 0 && !Blocked(at)) {
                Clip(at);
                misses = 0;
            } else if (++misses >= ring.size()) {
                // No clean ear left (an outline that crosses itself, or rounding):
                // clip the first convex corner anyway so the loop always ends.
                Clip(FirstConvex());
                misses = 0;
            } else {
                at = (at + 1) % ring.size();
                continue;
            }
            at = (at + ring.size() - 1) % ring.size();
        }
        if (Turn(0) != 0) {
            Emit(0);
        }
        return triangles;
    }

private:
    const TPoint2& CornerAt(std::size_t position) const {
        return corners[static_cast<std::size_t>(ring[position % ring.size()])];
    }

    std::size_t Previous(std::size_t position) const {
        return (position + ring.size() - 1) % ring.size();
    }

    // Positive for a corner that turns the polygon's own way (convex).
    double Turn(std::size_t position) const {
        return orientation *
               Cross(CornerAt(Previous(position)), CornerAt(position), CornerAt(position + 1));
    }

    // True when another remaining corner lies in or on the triangle the corner
    // would cut off. Corners equal to one of the triangle's own (where the
    // outline touches itself) do not count.
    bool Blocked(std::size_t position) const {
        const TPoint2& a = CornerAt(Previous(position));
        const TPoint2& b = CornerAt(position);
        const TPoint2& c = CornerAt(position + 1);
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const TPoint2& p = corners[static_cast<std::size_t>(ring[i])];
            if (SamePoint(p, a) || SamePoint(p, b) || SamePoint(p, c)) {
                continue;
            }
            if (orientation * Cross(a, b, p) >= 0 && orientation * Cross(b, c, p) >= 0 &&
                orientation * Cross(c, a, p) >= 0) {
                return true;
            }
        }
        return false;
    }

    std::size_t FirstConvex() const {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            if (Turn(i) > 0) {
                return i;
            }
        }
        return 0;
    }

    void Emit(std::size_t position) {
        triangles.push_back(ring[Previous(position)]);
        triangles.push_back(ring[position % ring.size()]);
        triangles.push_back(ring[(position + 1) % ring.size()]);
    }

    void Remove(std::size_t position) {
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(position % ring.size()));
    }

    void Clip(std::size_t position) {
        Emit(position);
        Remove(position);
    }

    const std::vector<TPoint2>& corners;
    std::vector<int> ring;
    double orientation;
    std::vector<int> triangles;
};

} // namespace

std::vector<int> Triangulate(const std::vector<TPoint2>& corners) {
    std::vector<int> ring = DistinctRing(corners);
    if (ring.size() < 3) {
        return {};
    }
    const double area = SignedArea(corners, ring);
    if (!std::isfinite(area) || area == 0) {
        return {};
    }
    return TEarClipper(corners, std::move(ring), area > 0 ? 1.0 : -1.0).Run();
}

} // namespace present
