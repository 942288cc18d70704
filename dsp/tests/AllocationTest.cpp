#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts heap allocations while armed, to prove the audio path allocates nothing.
namespace
{
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

using namespace test_support;

namespace
{
class ParameterSettingOwner : public CoreOwner
{
public:
    KolvraneCore* core = nullptr;
    void applyCurrentPreset() override
    {
        core->setParameter(20, 0.4f);
        core->setParameter(3, 0.9f);
    }
};

TEST(Allocation, ProcessingAllocatesNothing)
{
    ParameterSettingOwner owner;
    auto core = makeCore(defaultParameters(), 44100.0f, 0, &owner);
    owner.core = core.get();
    auto left = sine(4096, 440.0, 0.9), right = sine(4096, 220.0, 0.9);
    auto mono = sine(4096, 330.0, 0.9);

    allocations = 0;
    counting = true;
    for (unsigned quality = 0; quality < 4; ++quality)
    {
        core->setQuality(quality);
        core->changePreset();
        for (int block = 0; block < 6; ++block)
        {
            core->setParameter(1, 0.1f * block);
            core->processStereo(left.data(), right.data(), 4096);
            core->processMono(mono.data(), 1000);
        }
        core->processStereo(left.data(), right.data(), 0);
        float meterLeft, meterRight;
        bool positive, negative;
        core->getMeterLevels(meterLeft, meterRight);
        core->getClipFlags(positive, negative);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}
} // namespace
