#include "counting_allocator.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocations{0};
std::atomic<long> allocatedBytes{0};

void* CountedAllocation(std::size_t size) {
    ++allocations;
    allocatedBytes += static_cast<long>(size);
    return std::malloc(size == 0 ? 1 : size);
}

// Out of line, so that the compiler does not pair a new expression with free.
[[gnu::noinline]] void Release(void* p) noexcept { std::free(p); }

// Over-aligned types: a larger block, aligned by hand, with the block's own
// address kept just before the aligned one.
void* CountedAlignedAllocation(std::size_t size, std::align_val_t alignment) {
    const std::size_t align = static_cast<std::size_t>(alignment);
    void* block = CountedAllocation(size + align + sizeof(void*));
    if (block == nullptr) return nullptr;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
    void* aligned = reinterpret_cast<void*>((start + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1));
    static_cast<void**>(aligned)[-1] = block;
    return aligned;
}

[[gnu::noinline]] void ReleaseAligned(void* p) noexcept {
    if (p != nullptr) std::free(static_cast<void**>(p)[-1]);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* p = CountedAlignedAllocation(size, alignment)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    if (void* p = CountedAlignedAllocation(size, alignment)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return CountedAlignedAllocation(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return CountedAlignedAllocation(size, alignment);
}
void operator delete(void* p, std::align_val_t) noexcept { ReleaseAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { ReleaseAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { ReleaseAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { ReleaseAligned(p); }

namespace plyvane::test {

long HeapAllocations() { return allocations.load(); }
long HeapAllocatedBytes() { return allocatedBytes.load(); }

}  // namespace plyvane::test
