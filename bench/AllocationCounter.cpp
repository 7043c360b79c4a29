#include "bench/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

void Count(void* block) {
    const std::size_t now = current += malloc_usable_size(block);
    std::size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

} // namespace

std::size_t AllocatedBytes() {
    return current.load();
}
std::size_t PeakAllocatedBytes() {
    return peak.load();
}
void ResetPeakAllocatedBytes() {
    peak.store(current.load());
}

// The other forms of new and delete forward to these two in the standard library.
void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    Count(block);
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr)
        return;
    current -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
