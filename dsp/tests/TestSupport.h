#pragma once

#include "ParameterSets.h"
#include "dsp/KolvraneCore.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace test_support
{
// A core driven in the owner's calling order: parameters, prepare, quality.
inline std::unique_ptr<KolvraneCore> makeCore(const ParameterValues& parameters, float rate = 44100.0f,
                                              unsigned quality = 0, CoreOwner* owner = nullptr)
{
    auto core = std::make_unique<KolvraneCore>(owner);
    applyParameters(*core, parameters);
    core->setBlockSize(512);
    core->prepare(rate);
    core->setQuality(quality);
    return core;
}

inline std::vector<float> sine(int count, double frequency, double amplitude, double rate = 44100.0)
{
    std::vector<float> samples(count);
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<float>(amplitude * std::sin(2.0 * 3.141592653589793 * frequency * i / rate));
    return samples;
}

// Runs a long signal through the core in blocks.
inline void processInBlocks(KolvraneCore& core, std::vector<float>& left, std::vector<float>& right,
                            int blockSize = 512)
{
    const int total = static_cast<int>(left.size());
    for (int start = 0; start < total; start += blockSize)
    {
        const int n = std::min(blockSize, total - start);
        core.processStereo(left.data() + start, right.data() + start, n);
    }
}
} // namespace test_support
