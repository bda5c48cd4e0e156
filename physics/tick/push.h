// What one push of the tick did, for its report: where it left the pushed mass, the
// push's direction (from the zone, or from the second mass towards the first) and the
// speed at which the two were closing along it just before the push. Worked out beside
// the contact's own arithmetic, never in it, and only while contacts are reported.
#pragma once

namespace kinetra {

struct TPush {
    float x = 0.0f, y = 0.0f;
    float nx = 0.0f, ny = 0.0f;
    float speed = 0.0f;
};

} // namespace kinetra
