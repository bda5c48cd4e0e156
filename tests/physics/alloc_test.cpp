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

TEST(AllocationTest, SteadyTicksAllocateNothing) {
    using namespace kinetra;
    CreatePhysics(2048, 1024, 0.1f, 0, 4);
    auto ring = scenes::MakeRing(400, 400, 30);
    auto block = scenes::MakeBlock(300, 560, 500, 700);
    auto crowd = scenes::MakeCrowd(100, 2048, 500);
    UpdatePhysics();
    const long before = allocations;
    for (int i = 0; i < 50; ++i) {
        UpdatePhysics();
    }
    EXPECT_EQ(allocations, before);
    DestroyPhysics();
}
