#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {
long g_left = -1; // allocations that still succeed; -1 while none is to fail
bool g_failed = false;

void* Allocate(std::size_t size) {
    if (g_left == 0) {
        g_left = -1;
        g_failed = true;
        throw std::bad_alloc();
    }
    if (g_left > 0)
        --g_left;
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}
} // namespace

void FailAllocationAfter(long count) {
    g_failed = false;
    g_left = count;
}

bool StopFailingAllocations() {
    bool failed = g_failed;
    g_left = -1;
    g_failed = false;
    return failed;
}

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
