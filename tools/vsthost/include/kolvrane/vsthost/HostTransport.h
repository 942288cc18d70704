#pragma once

#include <cstdint>

namespace kolvrane::vsthost
{

// What the host answers to audioMasterGetTime. samplePos is advanced by OfflineRenderer; a test that
// drives processReplacing itself sets it directly.
struct HostTransport
{
    bool answersTimeInfo = true; // false: audioMasterGetTime returns 0
    bool playing = true;
    double samplePos = 0.0;
    double tempo = 120.0;
    int32_t timeSigNumerator = 4;
    int32_t timeSigDenominator = 4;
};

} // namespace kolvrane::vsthost
