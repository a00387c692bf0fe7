#include "freed_memory.h"

#include <cstdlib>
#include <new>

namespace {
// A ring of recent frees; enough for any one test's deletions.
const int kRecorded = 1 << 16;
const void* g_freed[kRecorded];
int g_count = 0;
bool g_watching = false;

void Record(void* block) {
    if (g_watching && block)
        g_freed[g_count++ % kRecorded] = block;
}
} // namespace

void StartWatchingFrees() {
    g_count = 0;
    g_watching = true;
}

bool WasFreed(const void* block) {
    int recorded = g_count < kRecorded ? g_count : kRecorded;
    for (int i = 0; i < recorded; ++i) {
        if (g_freed[i] == block)
            return true;
    }
    return false;
}

void* operator new[](std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void operator delete[](void* block) noexcept {
    Record(block);
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    Record(block);
    std::free(block);
}
