#include "frame_intervals.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace morvel {

namespace {

constexpr std::int64_t kBinMicros = 10;
// Intervals up to a quarter of a second keep their own bin.
constexpr std::int64_t kBinnedMicros = 250000;

std::int64_t NowMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

bool FrameStatsWanted() {
    const char* value = std::getenv(kFrameStatsVariable);
    return value != nullptr && value[0] != '\0' && std::string(value) != "0";
}

TFrameIntervals::TFrameIntervals() : bins(kBinnedMicros / kBinMicros + 1, 0) {}

void TFrameIntervals::Mark() {
    const std::int64_t now = NowMicros();
    if (previousMicros >= 0) {
        Add(now - previousMicros);
    }
    previousMicros = now;
}

void TFrameIntervals::Add(std::int64_t micros) {
    micros = std::max<std::int64_t>(micros, 0);
    const auto bin = static_cast<std::size_t>(std::min(micros, kBinnedMicros) / kBinMicros);
    ++bins[bin];
    totalMicros += micros;
    longestMicros = std::max(longestMicros, micros);
    ++count;
    if (static_cast<double>(micros) > kLateFrameMillis * 1000.0) {
        ++late;
    }
}

TIntervalSummary TFrameIntervals::Summary() const {
    TIntervalSummary s;
    s.count = count;
    s.late = late;
    if (count == 0) {
        return s;
    }
    s.meanMillis = static_cast<double>(totalMicros) / count / 1000.0;
    s.maxMillis = static_cast<double>(longestMicros) / 1000.0;
    // The interval of rank ceil(p x count), read as the middle of its bin.
    const auto percentile = [&](int percent) {
        const std::int64_t rank =
            std::max<std::int64_t>(1, (std::int64_t{count} * percent + 99) / 100);
        std::int64_t seen = 0;
        for (std::size_t i = 0; i < bins.size(); ++i) {
            seen += bins[i];
            if (seen >= rank) {
                const double middle = (static_cast<double>(i) + 0.5) * kBinMicros / 1000.0;
                return std::min(middle, s.maxMillis);
            }
        }
        return s.maxMillis;
    };
    s.medianMillis = percentile(50);
    s.percentile99Millis = percentile(99);
    return s;
}

std::string FormatSummary(const std::string& what, const TIntervalSummary& s) {
    const double latePercent = s.count > 0 ? 100.0 * s.late / s.count : 0.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "%s: %d frames, interval mean %.3f ms, median %.2f, 99th percentile %.2f, "
                  "max %.2f, %d over %.0f ms (%.2f %%)",
                  what.c_str(), s.count + 1, s.meanMillis, s.medianMillis, s.percentile99Millis,
                  s.maxMillis, s.late, kLateFrameMillis, latePercent);
    return line;
}

} // namespace morvel
