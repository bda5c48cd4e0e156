#include "trace.h"

#include <array>
#include <charconv>

namespace morvel_script {

namespace {

std::string Shortest(float value) {
    std::array<char, 32> text{};
    char* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

} // namespace

std::string TraceHeader() {
    return "frame,clock,x,y,vx,vy,speed,direction,finished,passes\n";
}

std::string TraceLine(const TTraceRow& row) {
    return std::to_string(row.frame) + "," + std::to_string(row.clock) + "," + Shortest(row.x) +
           "," + Shortest(row.y) + "," + Shortest(row.vx) + "," + Shortest(row.vy) + "," +
           Shortest(row.speed) + "," + std::to_string(row.direction) + "," +
           std::to_string(row.finished) + "," + std::to_string(row.passes) + "\n";
}

} // namespace morvel_script
