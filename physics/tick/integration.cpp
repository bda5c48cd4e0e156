#include "integration.h"

#include "mass_state.h"
#include <kinetra/world.h>

namespace kinetra {

void Integrate(const TPhysics& world, const std::vector<TMass*>& masses,
               std::vector<TMassState>& states) {
    for (std::size_t i = 0; i < masses.size(); ++i) {
        TMassState& m = states[i];
        if (!masses[i] || m.fixed) {
            continue;
        }
        const float tx = m.x;
        const float ty = m.y;
        m.x = m.x + ((m.x - m.oldX) + world.gravityX);
        m.y = m.y + ((m.y - m.oldY) + world.gravityY);
        m.oldX = tx;
        m.oldY = ty;
    }
}

} // namespace kinetra
