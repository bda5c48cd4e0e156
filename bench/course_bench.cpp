// One frame of the game's course: Kinetra's tick and Box2D's step (2.4, and v3 where the
// build was given it) on the same geometry, all with the course's lifts and platforms
// moved by the clock.
#include "course_scene.h"
#include "scenes.h"

#ifdef KINETRA_BENCH_BOX2D
#include "box2d_course.h"
#endif
#ifdef KINETRA_BENCH_BOX2D3
#include "box2d3_course.h"
#endif

#include <benchmark/benchmark.h>

namespace {

void CourseKinetra(benchmark::State& state) {
    scenes::TCourseScene scene;
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        scene.Tick();
    }
    for (auto _ : state) {
        scene.Tick();
    }
}
BENCHMARK(CourseKinetra);

// Box2D's course stepped beside the course's own clock, which moves the lifts and
// platforms that its kinematic bodies follow.
template <class TBox2D> void CourseInBox2D(benchmark::State& state) {
    scenes::TCourseScene scene;
    TBox2D box2d;
    for (int i = 0; i < scenes::kSettlingTicks; ++i) {
        scene.MoveCourse();
        box2d.Step();
    }
    for (auto _ : state) {
        scene.MoveCourse();
        box2d.Step();
    }
}

#ifdef KINETRA_BENCH_BOX2D
void CourseBox2D(benchmark::State& state) {
    CourseInBox2D<scenes::TBox2DCourse>(state);
}
BENCHMARK(CourseBox2D);
#endif

#ifdef KINETRA_BENCH_BOX2D3
void CourseBox2D3(benchmark::State& state) {
    CourseInBox2D<scenes::TBox2D3Course>(state);
}
BENCHMARK(CourseBox2D3);
#endif

} // namespace
