// Cost per mass of a tick of the packed pile, from a thousand masses to a quarter of a
// million, with Box2D v3 on the same pile where the build was given it.
#include "pile_scene.h"
#include "scenes.h"

#include <benchmark/benchmark.h>
#include <kinetra/snapshot.h>
#include <malloc.h>

namespace pile {

std::size_t HeapInUse() {
    // glibc serves large blocks by mmap, outside the arena's count, until it has freed
    // one and raised its threshold: both counts, or a first run misses the large arrays.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace pile

namespace {

using namespace kinetra;

void ReportPerMass(benchmark::State& state, int count, std::size_t heap) {
    state.counters["masses"] = count;
    state.counters["us_per_mass_tick"] = benchmark::Counter(
        static_cast<double>(count) * pile::kTimedTicks,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["MB"] = static_cast<double>(heap) / 1.0e6;
    state.counters["bytes_per_mass"] = static_cast<double>(heap) / count;
}

// Every iteration times the same ticks, so that the benchmark runs as many as it needs for
// a steady figure (the 1k pile's last 2 ms). The pile is saved one tick before them, and
// each iteration restores it and ticks once untimed: the first tick after a restore files
// every mass afresh, where the pile's own next tick would not.
void PileKinetra(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::size_t before = pile::HeapInUse();
    scenes::TPile scene = scenes::MakePile(count);
    for (int i = 1; i < scenes::kPileSettlingTicks; ++i) {
        UpdatePhysics();
    }
    const std::size_t heap = pile::HeapInUse() - before;
    const SnapshotRef oneTickBefore = TakeSnapshot();
    for (auto _ : state) {
        state.PauseTiming();
        RestoreSnapshot(oneTickBefore);
        UpdatePhysics();
        state.ResumeTiming();
        for (int i = 0; i < pile::kTimedTicks; ++i) {
            UpdatePhysics();
        }
    }
    ReportPerMass(state, count, heap);
    DestroyPhysics();
}
BENCHMARK(PileKinetra)->Arg(1024)->Arg(16384)->Arg(65536)->Arg(262144);

#if defined(KINETRA_BENCH_BOX2D3)
void PileBox2D3(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::size_t before = pile::HeapInUse();
    pile::TBox2DPile scene(count);
    for (int i = 0; i < scenes::kPileSettlingTicks; ++i) {
        scene.Step();
    }
    const std::size_t heap = pile::HeapInUse() - before;
    for (auto _ : state) {
        for (int i = 0; i < pile::kTimedTicks; ++i) {
            scene.Step();
        }
    }
    ReportPerMass(state, count, heap);
}
BENCHMARK(PileBox2D3)->Arg(1024)->Arg(16384)->Arg(65536)->Arg(262144)->Iterations(1);
#endif

} // namespace
