#pragma once

#include <atomic>

// Counts heap allocations (operator new and the C allocator) made by the current thread while
// a scope is open; the test binary's allocation functions report to it.
class AllocationCounter
{
public:
    AllocationCounter();
    ~AllocationCounter();
    long count() const;
};
