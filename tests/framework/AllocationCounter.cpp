#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local long allocations = 0;

void* allocate(std::size_t size)
{
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

AllocationCounter::AllocationCounter()
{
    allocations = 0;
    counting = true;
}

AllocationCounter::~AllocationCounter()
{
    counting = false;
}

long AllocationCounter::count() const
{
    return allocations;
}

// The sanitizers bring their own C allocator, and their free() must never see memory from
// glibc's: built with one, only operator new is counted.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KOLVRANE_COUNT_C_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KOLVRANE_COUNT_C_ALLOCATIONS 0
#endif
#endif
#ifndef KOLVRANE_COUNT_C_ALLOCATIONS
#define KOLVRANE_COUNT_C_ALLOCATIONS 1
#endif

bool AllocationCounter::countsEveryAllocation()
{
    return KOLVRANE_COUNT_C_ALLOCATIONS != 0;
}

#if KOLVRANE_COUNT_C_ALLOCATIONS
// C allocations count too: JUCE's message queue, for one, uses malloc directly.
extern "C"
{
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);

void* malloc(std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_realloc(pointer, size);
}
}
#endif

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
