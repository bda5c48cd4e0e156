// Records the largest single C++ allocation, so a test can check that a
// decoder never allocates for the size a file merely claims.
#pragma once

#include <cstddef>

// The largest single allocation since the last reset.
extern std::size_t largestAllocation;
