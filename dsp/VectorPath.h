#pragma once

// The AVX2/FMA code paths: compiled for x86 with a function attribute, so the rest of the core
// stays portable, and chosen at run time where the processor has the instructions.
#if defined(__x86_64__) || defined(__i386__)
#define KOLVRANE_HAS_VECTOR_PATH 1
#include <immintrin.h>
#define KOLVRANE_VECTOR_TARGET __attribute__((target("avx2,fma")))
#else
#define KOLVRANE_HAS_VECTOR_PATH 0
#endif

inline bool processorHasVectorPath()
{
#if KOLVRANE_HAS_VECTOR_PATH
    static const bool available = []
    {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return available;
#else
    return false;
#endif
}
