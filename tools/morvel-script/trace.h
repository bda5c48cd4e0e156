// The driver's trace: one CSV row per game frame.
#pragma once

#include <cstdint>
#include <string>

namespace morvel_script {

struct TTraceRow {
    int frame;
    std::uint32_t clock;
    float x, y, vx, vy, speed;
    int direction;
    int finished;
    int passes;
};

std::string TraceHeader();
// A float as std::to_chars writes it without a format: the shortest text that
// reads back as the same float.
std::string Shortest(float value);
// Floats are written in their shortest round-trip form, so equal runs give equal bytes
// and a reader gets the exact values back.
std::string TraceLine(const TTraceRow& row);

} // namespace morvel_script
