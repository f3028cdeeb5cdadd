#include "HeapCounter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// One thread allocates in these benchmarks; the counters need no atomics.
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* counted(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    if (liveBytes > peakBytes)
        peakBytes = liveBytes;
    return p;
}

void uncounted(void* p) noexcept {
    if (p == nullptr)
        return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

} // namespace

namespace heap {

std::size_t live() {
    return liveBytes;
}
std::size_t peak() {
    return peakBytes;
}
void resetPeak() {
    peakBytes = liveBytes;
}

} // namespace heap

void* operator new(std::size_t size) {
    return counted(size);
}
void* operator new[](std::size_t size) {
    return counted(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return counted(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    uncounted(p);
}
void operator delete[](void* p) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    uncounted(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    uncounted(p);
}
