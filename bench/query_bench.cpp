// Questions about a crowded world: 8,192 masses and 200 zones over 2048 x 1024. Ray
// casts of 60 pixels, point and 40-pixel box queries, each through the engine's
// filing and against a plain scan that tests every mass and every zone's segments.
#include "query/geometry.h"
#include "query/zone_view.h"
#include "scenes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace kinetra;

constexpr int kMassCount = 8192;
constexpr int kZoneCount = 200;
constexpr int kQuestionCount = 1024;
constexpr float kRayLength = 60.0f;
constexpr float kBoxSide = 40.0f;

struct TQuestion {
    float x0, y0, x1, y1;
};

// The world, settled for a tick, and the same questions every run.
class TCrowded {
public:
    TCrowded() {
        CreatePhysics(2048, 1024, 0.1f, 0, 2);
        std::mt19937 random(8192);
        std::uniform_real_distribution<float> x(0, 2048), y(0, 1024), angle(0, 6.2831853f);
        crowd = scenes::MakeCrowd(kMassCount, 2048, 1024);
        for (int i = 0; i < kZoneCount; ++i) {
            const float cx = x(random), cy = y(random);
            zones.push_back(scenes::MakeBlock(cx, cy, cx + 12, cy + 8));
        }
        UpdatePhysics();
        for (int i = 0; i < kQuestionCount; ++i) {
            const float x0 = x(random), y0 = y(random), a = angle(random);
            questions.push_back(
                {x0, y0, x0 + kRayLength * std::cos(a), y0 + kRayLength * std::sin(a)});
        }
        all = massList->ToArray();
    }
    ~TCrowded() { DestroyPhysics(); }

    std::vector<MassRef> crowd, all;
    std::vector<ZoneRef> zones;
    std::vector<TQuestion> questions;
};

// What a caller without the engine's filing does: every mass, every zone's segments.
bool ScanRay(const std::vector<MassRef>& masses, const TQuestion& q, double& best) {
    const TRay ray{q.x0, q.y0, double{q.x1} - q.x0, double{q.y1} - q.y0};
    best = std::numeric_limits<double>::infinity();
    for (const MassRef& m : masses) {
        if (const auto meet = RayMeetsCircle(ray, *m); meet && meet->t < best) {
            best = meet->t;
        }
    }
    for (const ZoneRef& zone : *zoneList) {
        if (const auto view = ViewZone(*zone, 0)) {
            view->AnySegment([&](double ax, double ay, double bx, double by) {
                if (const auto meet = RayMeetsSegment(ray, ax, ay, bx, by);
                    meet && meet->t < best) {
                    best = meet->t;
                }
                return false;
            });
        }
    }
    return std::isfinite(best);
}

std::size_t ScanBox(const std::vector<MassRef>& masses, const TBox& box) {
    std::size_t found = 0;
    for (const MassRef& m : masses) {
        found += CircleTouchesBox(*m, box) ? 1 : 0;
    }
    for (const ZoneRef& zone : *zoneList) {
        if (const auto view = ViewZone(*zone, 0)) {
            found += view->AnySegment([&](double ax, double ay, double bx, double by) {
                return SegmentTouchesBox(ax, ay, bx, by, box);
            }) || view->Holds(static_cast<float>(box.minX), static_cast<float>(box.minY));
        }
    }
    return found;
}

void RayCastFiled(benchmark::State& state) {
    TCrowded world;
    TRayHit hit;
    std::size_t i = 0;
    for (auto _ : state) {
        const TQuestion& q = world.questions[i++ % kQuestionCount];
        benchmark::DoNotOptimize(RayCast(q.x0, q.y0, q.x1, q.y1, hit));
    }
}
BENCHMARK(RayCastFiled);

void RayCastScan(benchmark::State& state) {
    TCrowded world;
    std::size_t i = 0;
    double best = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScanRay(world.all, world.questions[i++ % kQuestionCount], best));
    }
}
BENCHMARK(RayCastScan);

void QueryBoxFiled(benchmark::State& state) {
    TCrowded world;
    std::vector<MassRef> masses;
    std::vector<ZoneRef> zones;
    std::size_t i = 0;
    for (auto _ : state) {
        const TQuestion& q = world.questions[i++ % kQuestionCount];
        QueryBox(q.x0, q.y0, q.x0 + kBoxSide, q.y0 + kBoxSide, masses, zones);
        benchmark::DoNotOptimize(masses.size());
    }
}
BENCHMARK(QueryBoxFiled);

void QueryBoxScan(benchmark::State& state) {
    TCrowded world;
    std::size_t i = 0;
    for (auto _ : state) {
        const TQuestion& q = world.questions[i++ % kQuestionCount];
        benchmark::DoNotOptimize(
            ScanBox(world.all, {q.x0, q.y0, q.x0 + kBoxSide, q.y0 + kBoxSide}));
    }
}
BENCHMARK(QueryBoxScan);

void QueryPointFiled(benchmark::State& state) {
    TCrowded world;
    std::vector<MassRef> masses;
    std::vector<ZoneRef> zones;
    std::size_t i = 0;
    for (auto _ : state) {
        const TQuestion& q = world.questions[i++ % kQuestionCount];
        QueryPoint(q.x0, q.y0, masses, zones);
        benchmark::DoNotOptimize(masses.size());
    }
}
BENCHMARK(QueryPointFiled);

void QueryPointScan(benchmark::State& state) {
    TCrowded world;
    std::size_t i = 0;
    for (auto _ : state) {
        const TQuestion& q = world.questions[i++ % kQuestionCount];
        benchmark::DoNotOptimize(ScanBox(world.all, {q.x0, q.y0, q.x0, q.y0}));
    }
}
BENCHMARK(QueryPointScan);

// The first question after a tick files the masses again.
void QueryFiling(benchmark::State& state) {
    TCrowded world;
    TRayHit hit;
    for (auto _ : state) {
        RefreshQueries();
        benchmark::DoNotOptimize(RayCast(10, 10, 20, 20, hit));
    }
}
BENCHMARK(QueryFiling);

} // namespace
