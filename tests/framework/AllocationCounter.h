#pragma once

#include <atomic>

// Counts heap allocations made by the current thread while a scope is open. The global
// operator new of the test binary reports to it.
class AllocationCounter
{
public:
    AllocationCounter();
    ~AllocationCounter();
    long count() const;
};
