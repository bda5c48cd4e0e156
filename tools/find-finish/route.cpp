#include "route.h"

#include <algorithm>
#include <cmath>

namespace find_finish {

TRoute::TRoute(std::vector<TPoint> route) : points(std::move(route)) {
    total.push_back(0);
    for (std::size_t i = 1; i < points.size(); ++i) {
        total.push_back(total.back() +
                        std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y));
    }
}

TProgress TRoute::Locate(float x, float y, int segment) const {
    const int last = static_cast<int>(points.size()) - 2;
    TProgress best;
    bool found = false;
    const int from = segment < 0 ? 0 : std::max(0, segment - 1);
    const int to = segment < 0 ? last : std::min(last, segment + 2);
    for (int s = from; s <= to; ++s) {
        const TPoint& a = points[s];
        const TPoint& b = points[s + 1];
        const float dx = b.x - a.x;
        const float dy = b.y - a.y;
        const float length2 = dx * dx + dy * dy;
        float t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
        t = std::clamp(t, 0.0f, 1.0f);
        const float off = std::hypot(a.x + t * dx - x, a.y + t * dy - y);
        if (!found || off < best.off) {
            best = {total[s] + t * (total[s + 1] - total[s]), off, s};
            found = true;
        }
    }
    return best;
}

// Resting centres sit about 20 px above the surface under them.
TRoute CourseRoute() {
    return TRoute({
        {25, 855},   {1850, 855}, {1950, 855}, {1950, 655}, {1750, 655}, {1550, 655},
        {1350, 655}, {1150, 665}, {950, 625},  {750, 575},  {550, 525},  {450, 605},
        {100, 455},  {50, 455},   {50, 305},   {175, 305},  {575, 105},  {710, 105},
        {880, 105},  {1300, 105}, {1650, 105}, {1750, 105}, {1900, 255}, {1960, 255},
    });
}

} // namespace find_finish
