// The fields of a mass that the tick reads and writes, held side by side in one array
// for the length of a tick: the tick's stages work on these, so that a pass over many
// masses reads one small record a mass instead of the whole object. The tick takes them
// from the masses at its start and gives the positions back at its end.
//
// Keeps nothing between ticks of its own: the masses remain the state.
#pragma once

#include <kinetra/mass.h>

#include <cstdint>

namespace kinetra {

struct TMassState {
    float x = 0.0f, y = 0.0f, oldX = 0.0f, oldY = 0.0f;
    float mass = 0.0f, radius = 0.0f, group = 0.0f, friction = 0.0f;
    std::int32_t fixed = 0;
};

inline TMassState StateOf(const TMass& m) {
    return {m.x, m.y, m.oldX, m.oldY, m.mass, m.radius, m.group, m.friction, m.fixed};
}

// The positions, the only fields the tick changes.
inline void GivePosition(const TMassState& s, TMass& m) {
    m.x = s.x;
    m.y = s.y;
    m.oldX = s.oldX;
    m.oldY = s.oldY;
}

} // namespace kinetra
