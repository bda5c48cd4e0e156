// The way through the course as a polyline of blob centres, and how far along
// it a blob has come.
#pragma once

#include <vector>

namespace find_finish {

struct TPoint {
    float x, y;
};

struct TProgress {
    float along = 0; // distance along the route of the nearest point
    float off = 0;   // distance of the blob from that point
    int segment = 0; // segment of the nearest point
};

class TRoute {
public:
    explicit TRoute(std::vector<TPoint> points);

    // Nearest point on the segments from segment - 1 to segment + 2, so that a
    // route that doubles back on itself is followed in order; a negative
    // segment searches the whole route.
    TProgress Locate(float x, float y, int segment) const;
    float Length() const { return total.back(); }

private:
    std::vector<TPoint> points;
    std::vector<float> total; // route length up to each point
};

// The course's route: along the lower level, up the right-hand lift, back left
// over the hanging lifts, the bridge and the moving steps, up the left-hand
// lift, and right along the top over the platforms to the finish shelf.
TRoute CourseRoute();

} // namespace find_finish
