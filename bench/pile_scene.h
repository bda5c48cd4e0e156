// The many-mass pile on either engine: made, settled, then timed for a number of ticks,
// with the heap the engine holds for it.
#pragma once

#include <cstddef>

namespace pile {

inline constexpr int timedTicks = 20;

// The bytes of heap in use now (glibc's count of allocated blocks).
std::size_t HeapInUse();

#if defined(KINETRA_BENCH_BOX2D3)
// The same pile in Box2D v3: one circle body a mass, static walls round the world,
// one worker, 4 substeps, sleeping off, 60 steps a second.
class Box2DPile {
public:
    explicit Box2DPile(int count);
    ~Box2DPile();
    Box2DPile(const Box2DPile&) = delete;
    Box2DPile& operator=(const Box2DPile&) = delete;
    void Step();

private:
    struct World;
    World* world;
};
#endif

} // namespace pile
