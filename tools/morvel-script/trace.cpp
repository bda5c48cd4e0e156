#include "trace.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace morvel_script {

namespace {

constexpr int kFloatDigits = 9; // enough for any float to read back exactly

// The fewest significant digits that read back as value, correctly rounded,
// and the decimal exponent of the first.
struct TDecimal {
    std::string digits;
    int exponent = 0;
};

TDecimal ShortestDecimal(float value) {
    char text[32];
    for (int digits = 1; digits <= kFloatDigits; ++digits) {
        std::snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value || digits == kFloatDigits) {
            break;
        }
    }
    TDecimal decimal;
    char* exponent = nullptr;
    for (char* c = text; *c != '\0'; ++c) {
        if (*c >= '0' && *c <= '9') {
            decimal.digits.push_back(*c);
        } else if (*c == 'e') {
            exponent = c + 1;
            break;
        }
    }
    decimal.exponent = static_cast<int>(std::strtol(exponent, nullptr, 10));
    return decimal;
}

std::string Scientific(const TDecimal& d) {
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) {
        text.push_back('.');
        text.append(d.digits, 1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    return text.append(exponent);
}

// A whole number is written exactly (as to_chars does), not as its shortest
// digits padded with zeros; its length is the same either way.
std::string Fixed(const TDecimal& d, float value) {
    const int count = static_cast<int>(d.digits.size());
    std::string text;
    if (d.exponent < 0) {
        text.append("0.");
        text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        return text.append(d.digits);
    }
    if (d.exponent >= count - 1) {
        char whole[48];
        std::snprintf(whole, sizeof whole, "%.0f", static_cast<double>(value));
        return whole;
    }
    const auto point = static_cast<std::size_t>(d.exponent) + 1;
    text.append(d.digits, 0, point);
    text.push_back('.');
    return text.append(d.digits, point);
}

} // namespace

// What std::to_chars gives a float without a format: its shortest round-trip
// digits, fixed or scientific, whichever is shorter (fixed on a tie). Built
// from printf, so that every build writes the same bytes, the browser's
// (whose library has no floating-point to_chars) included.
std::string Shortest(float value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? "-nan" : "nan";
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) {
        return sign + "inf";
    }
    if (value == 0) {
        return sign + "0";
    }
    const TDecimal decimal = ShortestDecimal(std::fabs(value));
    const std::string fixed = Fixed(decimal, std::fabs(value));
    const std::string scientific = Scientific(decimal);
    return sign + (fixed.size() <= scientific.size() ? fixed : scientific);
}

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
