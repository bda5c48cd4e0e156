// A number that moves on whenever the engine itself moves masses wholesale: every tick
// and every restored snapshot. What is filed by where the masses stood (the queries'
// grid) is filed again once it has moved on.
#pragma once

#include <cstdint>

namespace kinetra {

inline std::uint64_t stateEpoch = 0;

} // namespace kinetra
