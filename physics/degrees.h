// Trigonometry in degrees, in double precision.
#pragma once

#include <cmath>
#include <numbers>

namespace kinetra {

inline double Atan2Degrees(double y, double x) {
    return std::atan2(y, x) * (180.0 / std::numbers::pi);
}

inline double CosDegrees(double degrees) {
    return std::cos(degrees * (std::numbers::pi / 180.0));
}

inline double SinDegrees(double degrees) {
    return std::sin(degrees * (std::numbers::pi / 180.0));
}

} // namespace kinetra
