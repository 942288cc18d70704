#pragma once

// Shared pieces of the validation suite: the plug-in loaded from a private copy of the built module
// (so its settings file lands in a scratch folder), an audio-thread driver with preallocated buffers
// that counts allocations, output checks and the tally printed at the end of a run.
#include "kolvrane/vsthost/VstPlugin.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace validation
{

constexpr int hostParameterCount = 22;

// The folder holding this process's copy of the plug-in module.
const std::string& pluginFolder();
std::string pluginPath();

std::unique_ptr<kolvrane::vsthost::VstPlugin> loadPlugin(float sampleRate, int32_t maxBlock);

// A state chunk that sets the processing quality (0 low .. 3 best), applied at the next resume.
std::vector<uint8_t> qualityChunk(int quality);
const char* qualityName(int quality);

// What one driver saw; added into the run's tally when the driver goes away.
struct OutputFaults
{
    long invalid = 0; // not finite, or far beyond any level the settings can give (runaway, unwritten)
    long subnormal = 0;
    float firstInvalid = 0.0f;
    float peak = 0.0f;
};

// Drives one instance as a host's audio thread does, with buffers sized once for the largest block.
class AudioDriver
{
public:
    AudioDriver(kolvrane::vsthost::VstPlugin& plugin, int32_t maxBlock, uint32_t seed = 1);
    ~AudioDriver();

    // One processReplacing call of `frames` samples of white noise (amplitude `level`), or silence.
    void processNoise(int32_t frames, float level = 0.9f);
    void processSilence(int32_t frames);
    // The same with inputs the caller has written into input(0) and input(1).
    float* input(int channel) { return inputs[static_cast<size_t>(channel)].data(); }
    void processGivenInput(int32_t frames) { process(frames); }
    // Input at the float range's edge may give output far beyond any musical level; only
    // non-finite output counts as invalid then.
    void acceptOutputUpTo(float limit) { runawayLimit = limit; }

    const std::vector<float>& output(int channel) const { return outputs[static_cast<size_t>(channel)]; }
    int32_t lastFrames() const { return frames; }
    bool lastOutputIsExactlySilent() const;
    float lastPeak() const;
    long allocations() const { return allocationCount; }
    const OutputFaults& faults() const { return seen; }

private:
    void process(int32_t frameCount);
    void inspectOutput();

    kolvrane::vsthost::VstPlugin& plugin;
    std::vector<std::vector<float>> inputs, outputs;
    std::vector<float*> inputPointers, outputPointers;
    std::minstd_rand random;
    int32_t frames = 0;
    long allocationCount = 0;
    long samples = 0;
    OutputFaults seen;
    float runawayLimit = 1e6f;
};

// Randomises every host parameter (normalized values in [0, 1]).
void randomiseParameters(kolvrane::vsthost::VstPlugin& plugin, std::minstd_rand& random);

// Run-wide figures, printed (and appended to $KOLVRANE_CI_SUMMARY) when the run ends.
struct Tally
{
    std::atomic<long> cases{0};
    std::atomic<long> samplesProcessed{0};
    std::atomic<long> audioThreadAllocations{0};
    std::atomic<long> invalidSamples{0};
    std::atomic<long> subnormalSamples{0};
    std::atomic<long> instances{0};
    std::atomic<long> editorOpenings{0};
    std::atomic<float> peakOutput{0.0f};

    void raisePeak(float level)
    {
        float seen = peakOutput.load();
        while (level > seen && !peakOutput.compare_exchange_weak(seen, level))
        {
        }
    }
};
Tally& tally();

} // namespace validation
