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
class MedianReporter : public benchmark::ConsoleReporter {
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

void PrintSummary(MedianReporter& reporter) {
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
            std::printf("%-24s %12.2f %14.2f %9.2fx  (Box2D v3)\n", "course tick", kinetra,
                        box2d3, box2d3 / kinetra);
        }
    }
    for (const char* count : {"64", "256", "1024"}) {
        const double crowd = reporter.Median(std::string("CrowdInBox/") + count);
        if (crowd > 0.0) {
            std::printf("%-24s %12.2f\n", (std::string("crowd of ") + count).c_str(), crowd);
        }
    }
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
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary(reporter);
    return 0;
}
