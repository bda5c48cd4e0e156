// Scenes shared by the engine's benchmarks and tests.
#pragma once

#include <kinetra/kinetra.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace scenes {

// Ticks a scene runs before it is timed: its bodies have come to rest by then, and a
// resting scene is what play mostly sees. Timing from the start instead would time a
// mix of falling and resting that depends on how many ticks the timer takes.
inline constexpr int kSettlingTicks = 300;

// A soft ring: rim masses joined to their neighbours and by spokes to a centre mass.
struct TRing {
    std::vector<kinetra::MassRef> rim;
    kinetra::MassRef centre;
    std::vector<kinetra::ConstraintRef> constraints;
};

inline TRing MakeRing(float cx, float cy, float radius, int count = 24) {
    using namespace kinetra;
    TRing ring;
    ring.centre = TMass::Create(cx, cy, 1.0f, 4.0f, 0.5f, 2);
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * std::numbers::pi * i / count;
        ring.rim.push_back(TMass::Create(cx + static_cast<float>(std::cos(a) * radius),
                                         cy + static_cast<float>(std::sin(a) * radius), 1.0f, 4.0f,
                                         0.5f, 2));
    }
    for (int i = 0; i < count; ++i) {
        ring.constraints.push_back(
            TConstraint::Create(ring.rim[i], ring.rim[(i + 1) % count], 0.0f, 0.5f));
        ring.constraints.push_back(TConstraint::Create(ring.rim[i], ring.centre, 0.0f, 0.2f));
    }
    for (const auto& c : ring.constraints) {
        c->Register();
    }
    return ring;
}

// A solid block (x0, y0) - (x1, y1) of the scenery's kind, standing still.
inline kinetra::ZoneRef MakeBlock(float x0, float y0, float x1, float y1) {
    auto points =
        std::make_shared<std::vector<float>>(std::vector<float>{x0, y0, x1, y0, x1, y1, x0, y1});
    return kinetra::TZone::Create(points, kinetra::TZoneKind::Solid, 1.0f, 10, 1);
}

// count free masses of automatic groups spread over a box of the given size.
inline std::vector<kinetra::MassRef> MakeCrowd(int count, float width, float height) {
    using namespace kinetra;
    std::vector<MassRef> crowd;
    const int columns = static_cast<int>(std::sqrt(static_cast<float>(count))) + 1;
    const float stepX = width / static_cast<float>(columns + 1);
    const float stepY = height / static_cast<float>(columns + 1);
    for (int i = 0; i < count; ++i) {
        const float x = stepX * static_cast<float>(i % columns + 1);
        const float y = stepY * static_cast<float>(i / columns + 1);
        auto m = TMass::Create(x, y, 1.0f + static_cast<float>(i % 3), 5.0f, 0.3f, -1);
        m->SetVelocity(static_cast<float>(i % 7) - 3.0f, static_cast<float>(i % 5) - 2.0f);
        m->Register();
        crowd.push_back(m);
    }
    return crowd;
}

// A packed pile: count free masses of automatic groups, radius 4 to 8, on a square
// lattice 16 pixels apart filling a world just wide enough for it, under gravity 0.1
// with two passes a tick. Makes the world; the masses are registered.
struct TPile {
    std::vector<kinetra::MassRef> masses;
    float width = 0.0f;
    float height = 0.0f;
};

inline constexpr float kPileSpacing = 16.0f;
inline constexpr int kPileSettlingTicks = 120;

inline float PileRadius(int i) {
    return 4.0f + static_cast<float>((i * 7) % 5);
}

inline TPile MakePile(int count) {
    using namespace kinetra;
    TPile pile;
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    pile.width = kPileSpacing * static_cast<float>(side + 1);
    pile.height = pile.width;
    CreatePhysics(pile.width, pile.height, 0.1f, 0, 2);
    for (int i = 0; i < count; ++i) {
        const float x = kPileSpacing * static_cast<float>(i % side + 1);
        const float y = kPileSpacing * static_cast<float>(i / side + 1);
        auto m = TMass::Create(x, y, 1.0f, PileRadius(i), 0.5f, -1);
        m->Register();
        pile.masses.push_back(m);
    }
    return pile;
}

} // namespace scenes
