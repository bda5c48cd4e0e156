// What contact reports add to a tick, with reporting off and on: the game's course and
// a crowd of 1,024 masses, the busiest tick here. Both are timed over the same ticks
// after settling, since the scenes keep changing (the crowd piles up, the blob rolls
// off its ledge): a different number of ticks would time other states. And taking
// and restoring a snapshot of the course, with the memory one holds.
#include "course_scene.h"
#include "scenes.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kinetra;

void CourseTick(benchmark::State& state) {
    scenes::TCourseScene scene;
    SetContactReporting(state.range(0) != 0);
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        scene.Tick();
    }
    for (auto _ : state) {
        scene.Tick();
    }
    state.counters["contacts"] = static_cast<double>(TickContacts().size());
    SetContactReporting(false);
}
BENCHMARK(CourseTick)->ArgName("reporting")->Arg(0)->Arg(1)->Iterations(20000);

void CrowdTick(benchmark::State& state) {
    CreatePhysics(2048, 1024, 0.1f, 0, 2);
    auto crowd = scenes::MakeCrowd(1024, 2048, 1024);
    SetContactReporting(state.range(0) != 0);
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        UpdatePhysics();
    }
    for (auto _ : state) {
        UpdatePhysics();
    }
    state.counters["contacts"] = static_cast<double>(TickContacts().size());
    SetContactReporting(false);
    DestroyPhysics();
}
BENCHMARK(CrowdTick)->ArgName("reporting")->Arg(0)->Arg(1)->Iterations(2000);

void CourseSnapshotTake(benchmark::State& state) {
    scenes::TCourseScene scene;
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        scene.Tick();
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(TakeSnapshot());
    }
    state.counters["bytes"] = static_cast<double>(SnapshotBytes(TakeSnapshot()));
}
BENCHMARK(CourseSnapshotTake);

void CourseSnapshotRestore(benchmark::State& state) {
    scenes::TCourseScene scene;
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        scene.Tick();
    }
    const SnapshotRef snapshot = TakeSnapshot();
    scene.Tick();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RestoreSnapshot(snapshot));
    }
}
BENCHMARK(CourseSnapshotRestore);

} // namespace
