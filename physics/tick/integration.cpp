#include "integration.h"

#include <kinetra/mass.h>
#include <kinetra/world.h>

namespace kinetra {

void Integrate(const TPhysics& world, const std::vector<TMass*>& masses) {
    for (TMass* m : masses) {
        if (!m || m->fixed) {
            continue;
        }
        const float tx = m->x;
        const float ty = m->y;
        m->x = m->x + ((m->x - m->oldX) + world.gravityX);
        m->y = m->y + ((m->y - m->oldY) + world.gravityY);
        m->oldX = tx;
        m->oldY = ty;
    }
}

} // namespace kinetra
