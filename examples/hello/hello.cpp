// A chain of eight masses falls onto a floor zone; the positions are printed
// every simulated second (60 ticks, one tick per call of UpdatePhysics).
#include <kinetra/kinetra.h>

#include <cstdio>
#include <memory>
#include <vector>

int main() {
    // 640 x 480 pixels, gravity 0.1 pixels per tick squared downwards, 4 passes.
    kinetra::CreatePhysics(640, 480, 0.1f, 0, 4);

    // The floor: a solid polygon whose top edge is y = 400 (group -1: a group of its own).
    auto floor = std::make_shared<std::vector<float>>(
        std::vector<float>{0, 400, 640, 400, 640, 480, 0, 480});
    const kinetra::ZoneRef zone =
        kinetra::TZone::Create(floor, kinetra::TZoneKind::Solid, 1.0f, -1, 4);

    // Masses of radius 5 in group 1, so the chain does not collide with itself.
    kinetra::TBody chain;
    std::vector<kinetra::MassRef> masses;
    for (int i = 0; i < 8; ++i) {
        masses.push_back(kinetra::TMass::Create(200.0f + 30.0f * i, 100, 1, 5, 0.5f, 1));
        if (i > 0) {
            // Rest length 0 or less: the current distance, 30.
            kinetra::TConstraint::Create(masses[i - 1], masses[i], 0, 1)->AddToBody(chain);
        }
    }

    for (int tick = 1; tick <= 600; ++tick) {
        kinetra::UpdatePhysics();
        if (tick % 60 == 0) {
            std::printf("tick %d:", tick);
            for (const auto& m : masses) {
                std::printf(" (%.1f, %.1f)", m->x, m->y);
            }
            std::printf("\n");
        }
    }

    chain.Remove();
    zone->Remove();
    kinetra::DestroyPhysics();
    return 0;
}
