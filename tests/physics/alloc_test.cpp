// The tick must not allocate once a scene is running.
#include "scenes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

long allocations = 0;

} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

// With contacts reported too: their lists keep their storage from tick to tick.
TEST(AllocationTest, SteadyTicksAllocateNothing) {
    using namespace kinetra;
    CreatePhysics(2048, 1024, 0.1f, 0, 4);
    auto ring = scenes::MakeRing(400, 400, 30);
    auto block = scenes::MakeBlock(300, 560, 500, 700);
    auto crowd = scenes::MakeCrowd(100, 2048, 500);
    for (bool reporting : {false, true}) {
        SetContactReporting(reporting);
        // Settled enough that the busiest tick to come has been seen.
        for (int i = 0; i < 200; ++i) {
            UpdatePhysics();
        }
        const long before = allocations;
        for (int i = 0; i < 50; ++i) {
            UpdatePhysics();
        }
        EXPECT_EQ(allocations, before) << (reporting ? "reporting" : "not reporting");
    }
    EXPECT_FALSE(TickContacts().empty());
    SetContactReporting(false);
    DestroyPhysics();
}
