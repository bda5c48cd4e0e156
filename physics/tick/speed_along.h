// The part of a velocity along a direction, as the engine defines it: from the angles
// of the two in degrees, speed * cos(angle of v - angle of n), in double, rounded to
// float. Contacts need it for every mass they touch, and atan2 and cos are most of
// their cost, so it is worked out from the dot product first.
//
// In exact arithmetic the two agree: cos(a - b) is the dot product over the lengths.
// In double, the trigonometry stays within 1e-14 of speed of that exact value (a few
// units in the last place of each atan2, degree conversion and cos), and the dot
// product within 1e-15 of speed. So where every value within 1e-12 of speed of the dot
// product's estimate rounds to the same float, that float is what the trigonometry
// gives; otherwise (rarely: a value near a rounding boundary, or a zero, NaN or
// infinite input) the trigonometry is worked out as defined.
#pragma once

#include "degrees.h"

#include <cmath>

namespace kinetra {

// A direction (x, y), with its length and its angle in degrees worked out once, on
// first use.
class TDirection {
public:
    TDirection(float dx, float dy) : x(dx), y(dy) {}

    double Length() {
        if (length < 0.0) {
            length = std::sqrt(double{x} * x + double{y} * y);
        }
        return length;
    }

    double Angle() {
        if (!angleKnown) {
            angle = Atan2Degrees(y, x);
            angleKnown = true;
        }
        return angle;
    }

    float x, y;

private:
    double length = -1.0;
    double angle = 0.0;
    bool angleKnown = false;
};

// The definition itself, worked out by the trigonometry: the rare path of SpeedAlong,
// kept out of line so that the common one stays small enough to inline.
float SpeedAlongByAngles(float vx, float vy, float speed, TDirection& n);

// static_cast<float>(speed * CosDegrees(Atan2Degrees(vy, vx) - n.Angle())), where speed
// is the length of (vx, vy) as the caller rounded it.
inline float SpeedAlong(float vx, float vy, float speed, TDirection& n) {
    constexpr double kSlackPerSpeed = 1.0e-12;
    const double length = std::sqrt(double{vx} * vx + double{vy} * vy);
    const double nLength = n.Length();
    if (length > 0.0 && nLength > 0.0) {
        const double s = speed;
        const double estimate = s * ((double{vx} * n.x + double{vy} * n.y) / (length * nLength));
        const double slack = s * kSlackPerSpeed;
        const float low = static_cast<float>(estimate - slack);
        const float high = static_cast<float>(estimate + slack);
        // False for a NaN; a zero of either sign is left to the trigonometry.
        if (low == high && low != 0.0f) {
            return low;
        }
    }
    return SpeedAlongByAngles(vx, vy, speed, n);
}

} // namespace kinetra
