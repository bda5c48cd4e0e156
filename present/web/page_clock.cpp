#include "page_clock.h"

namespace present {

namespace {

constexpr std::int32_t kDueSlackMillis = 3;

// Wrapping times compare by their signed difference.
bool NotBefore(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b) >= 0;
}

} // namespace

std::uint32_t TPageClock::Millis(std::uint32_t now) const {
    return NotBefore(now, awake) ? now : awake;
}

void TPageClock::Sleep(std::uint32_t now, std::uint32_t ms) {
    awake = Millis(now) + ms;
}

bool TPageClock::FrameDue(std::uint32_t now) const {
    return NotBefore(now + kDueSlackMillis, awake);
}

} // namespace present
