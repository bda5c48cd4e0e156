// Replaces the global allocation functions of the test program. Kept in a unit
// of its own so that the compiler never inlines them into callers.
#include "allocation_probe.h"

#include <cstdlib>
#include <new>

std::size_t largestAllocation = 0;

void* operator new(std::size_t size) {
    if (size > largestAllocation) {
        largestAllocation = size;
    }
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
