#include "speed_along.h"

namespace kinetra {

float SpeedAlongByAngles(float vx, float vy, float speed, TDirection& n) {
    return static_cast<float>(speed * CosDegrees(Atan2Degrees(vy, vx) - n.Angle()));
}

} // namespace kinetra
