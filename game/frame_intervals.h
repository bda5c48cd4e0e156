// The intervals between the game's presented frames, for measuring its pacing
// as a player sees it: with MORVEL_FRAME_STATS set in the environment, morvel
// prints them when it ends. What the game shows does not change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvel {

inline constexpr const char* kFrameStatsVariable = "MORVEL_FRAME_STATS";
// A frame this much later than the one before is a visible stutter at 60 Hz.
inline constexpr double kLateFrameMillis = 20.0;

// True when the environment asks for the statistics.
bool FrameStatsWanted();

struct TIntervalSummary {
    int count = 0; // intervals, one fewer than the frames
    double meanMillis = 0;
    double medianMillis = 0;
    double percentile99Millis = 0;
    double maxMillis = 0;
    int late = 0; // intervals over kLateFrameMillis
};

// Collects intervals in a histogram of 10-microsecond bins, allocated once, so
// a run of any length records every frame without allocating.
class TFrameIntervals {
public:
    TFrameIntervals();
    // Records the interval from the previous call (the first only starts the
    // clock).
    void Mark();
    // The same for an interval measured elsewhere.
    void Add(std::int64_t micros);
    TIntervalSummary Summary() const;

private:
    std::vector<std::uint32_t> bins; // the last one holds everything longer
    std::int64_t previousMicros = -1;
    std::int64_t totalMicros = 0;
    std::int64_t longestMicros = 0;
    int count = 0;
    int late = 0;
};

// One line: "<what>: N frames, interval mean ... ms, median, 99th percentile,
// max, K over 20 ms (P %)".
std::string FormatSummary(const std::string& what, const TIntervalSummary& summary);

} // namespace morvel
