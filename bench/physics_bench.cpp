// Cost of one UpdatePhysics tick for typical scenes.
#include "scenes.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kinetra;

void RingOnPolygon(benchmark::State& state) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    SetPhysicsWorld(0, 0, 2048, 1024, 1.0f);
    auto ring = scenes::MakeRing(400, 500, 30);
    auto block = scenes::MakeBlock(300, 560, 500, 700);
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        UpdatePhysics();
    }
    for (auto _ : state) {
        UpdatePhysics();
    }
    DestroyPhysics();
}
BENCHMARK(RingOnPolygon);

void CrowdInBox(benchmark::State& state) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    const int count = static_cast<int>(state.range(0));
    auto crowd = scenes::MakeCrowd(count, 2048, 1024);
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        UpdatePhysics();
    }
    for (auto _ : state) {
        UpdatePhysics();
    }
    DestroyPhysics();
}
BENCHMARK(CrowdInBox)->Arg(64)->Arg(256)->Arg(1024);

} // namespace
