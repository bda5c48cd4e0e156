#include <present/present.h>

#include <cmath>
#include <numbers>

namespace present {

namespace {
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
} // namespace

double SinDeg(double degrees) {
    return std::sin(degrees * kRadiansPerDegree);
}

double CosDeg(double degrees) {
    return std::cos(degrees * kRadiansPerDegree);
}

double Atan2Deg(double y, double x) {
    return std::atan2(y, x) / kRadiansPerDegree;
}

double SquareRoot(double x) {
    return std::sqrt(x);
}

} // namespace present
