// Runs the benchmarks, repeated and interleaved unless told otherwise, then prints
// the medians side by side: Kinetra's course tick against Box2D's, the crowds, and the
// game frame drawn by the software device against SDL's software renderer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The console output as usual, keeping every repetition's CPU time in microseconds.
class TMedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                const double perUnit = benchmark::GetTimeUnitMultiplier(run.time_unit);
                const auto& name = run.run_name;
                times[name.function_name + (name.args.empty() ? "" : "/" + name.args)].push_back(
                    run.GetAdjustedCPUTime() / perUnit * 1e6);
            }
        }
        ConsoleReporter::ReportRuns(reports);
    }

    // Median in microseconds; negative when the benchmark did not run.
    double Median(const std::string& name) {
        auto found = times.find(name);
        if (found == times.end() || found->second.empty()) {
            return -1.0;
        }
        auto& v = found->second;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
    }

private:
    std::map<std::string, std::vector<double>> times;
};

// The questions against a plain scan, ticks with contacts reported against without, and
// the course's snapshots.
void PrintQuestions(TMedianReporter& reporter) {
    std::printf("\nmedian CPU time, microseconds\n");
    std::printf("%-36s %12s %14s %10s\n", "", "filed", "plain scan", "ratio");
    for (const char* question : {"RayCast", "QueryBox", "QueryPoint"}) {
        const double filed = reporter.Median(std::string(question) + "Filed");
        const double scan = reporter.Median(std::string(question) + "Scan");
        if (filed > 0.0 && scan > 0.0) {
            std::printf("%-36s %12.3f %14.3f %9.1fx\n",
                        (std::string(question) + ", 8192 masses, 200 zones").c_str(), filed, scan,
                        scan / filed);
        }
    }
    std::printf("%-36s %12s %14s %10s\n", "", "reports off", "reports on", "cost");
    for (const char* scene : {"CourseTick", "CrowdTick"}) {
        const double off = reporter.Median(std::string(scene) + "/reporting:0");
        const double on = reporter.Median(std::string(scene) + "/reporting:1");
        if (off > 0.0 && on > 0.0) {
            std::printf("%-36s %12.2f %14.2f %+9.1f%%\n", scene, off, on, (on / off - 1.0) * 100.0);
        }
    }
    const double take = reporter.Median("CourseSnapshotTake");
    const double restore = reporter.Median("CourseSnapshotRestore");
    if (take > 0.0 && restore > 0.0) {
        std::printf("%-36s %12.2f (take) %7.2f (restore)\n", "course snapshot", take, restore);
    }
}

void PrintSummary(TMedianReporter& reporter) {
    std::printf("\nmedian CPU time per tick, microseconds\n");
    const double kinetra = reporter.Median("CourseKinetra");
    const double box2d = reporter.Median("CourseBox2D");
    if (kinetra > 0.0) {
        std::printf("%-24s %12s %14s %10s\n", "", "Kinetra", "Box2D 2.4", "ratio");
        if (box2d > 0.0) {
            std::printf("%-24s %12.2f %14.2f %9.2fx\n", "course tick", kinetra, box2d,
                        box2d / kinetra);
        } else {
            std::printf("%-24s %12.2f %14s\n", "course tick", kinetra, "(not built)");
        }
        const double box2d3 = reporter.Median("CourseBox2D3");
        if (box2d3 > 0.0) {
            std::printf("%-24s %12.2f %14.2f %9.2fx  (Box2D v3)\n", "course tick", kinetra, box2d3,
                        box2d3 / kinetra);
        }
    }
    for (const char* count : {"64", "256", "1024"}) {
        const double crowd = reporter.Median(std::string("CrowdInBox/") + count);
        if (crowd > 0.0) {
            std::printf("%-24s %12.2f\n", (std::string("crowd of ") + count).c_str(), crowd);
        }
    }
    PrintQuestions(reporter);
    const double device = reporter.Median("GameFrameSoftwareDevice");
    const double replay = reporter.Median("GameFrameReplaySoftwareDevice");
    const double sdl = reporter.Median("GameFrameSdlSoftware");
    if (device > 0.0 && sdl > 0.0) {
        std::printf("\nmedian CPU time per 1024 x 768 game frame, microseconds\n");
        std::printf("%-24s %12s %14s %10s\n", "", "device", "SDL software", "ratio");
        std::printf("%-24s %12.1f %14.1f %9.2fx\n", "whole frame", device, sdl, sdl / device);
        if (replay > 0.0) {
            std::printf("%-24s %12.1f %14.1f %9.2fx\n", "its triangles alone", replay, sdl,
                        sdl / replay);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    const bool given = std::any_of(args.begin() + 1, args.end(), [](const char* a) {
        return std::string(a).rfind("--benchmark_repetitions", 0) == 0;
    });
    if (!given) {
        args.push_back(repetitions.data());
        args.push_back(interleaving.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 1;
    }
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary(reporter);
    return 0;
}
