#pragma once

#include <vector>

namespace kolvrane::example
{

struct StereoSignal
{
    std::vector<float> left;
    std::vector<float> right;
    int sampleRate = 44100;
};

// Two bars at 120 BPM of a filtered saw bass line with kick, snare and hi-hats, plus half a second of
// ring-out: a fixed, fully synthetic test signal (same bytes on every run).
StereoSignal renderBasslineAndDrums(int sampleRate);

} // namespace kolvrane::example
