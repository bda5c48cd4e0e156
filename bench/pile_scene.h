// The many-mass pile on either engine: made, settled, then timed for a number of ticks,
// with the heap the engine holds for it.
#pragma once

#include <cstddef>

namespace pile {

inline constexpr int kTimedTicks = 20;

// The bytes of heap in use now (glibc's count of allocated blocks, mapped ones included).
std::size_t HeapInUse();

#if defined(KINETRA_BENCH_BOX2D3)
// The same pile in Box2D v3: one circle body a mass, static walls round the world,
// one worker, 4 substeps, sleeping off, 60 steps a second.
class TBox2DPile {
public:
    explicit TBox2DPile(int count);
    ~TBox2DPile();
    TBox2DPile(const TBox2DPile&) = delete;
    TBox2DPile& operator=(const TBox2DPile&) = delete;
    void Step();

private:
    struct TWorld;
    TWorld* world;
};
#endif

} // namespace pile
