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

    // False in sanitizer builds: their runtimes own the C allocator, and only this binary's
    // operator new is counted there.
    static bool countsEveryAllocation();
};
