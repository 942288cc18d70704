// Real-time factors of the Kolvrane core at each quality, and of a JUCE 16x oversampled
// std::tanh peer, on stereo blocks of 512 samples at 44100 Hz.

#include "dsp/KolvraneCore.h"
#include "dsp/tests/ParameterSets.h"

#include <juce_dsp/juce_dsp.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
constexpr int blockSize = 512;
constexpr double rate = 44100.0;

// Loud programme material: two detuned tones plus noise, driving the shaper hard.
std::vector<float> loudSignal(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.2f, 0.2f);
    std::vector<float> samples(blockSize * 16);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            static_cast<float>(0.6 * std::sin(i * 0.0627) + 0.2 * std::sin(i * 0.31)) + noise(random);
    return samples;
}

void reportRealTime(benchmark::State& state)
{
    state.counters["xRealTime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * blockSize / rate, benchmark::Counter::kIsRate);
}

void coreBenchmark(benchmark::State& state, bool silent, bool vectorPath, bool filtered = false)
{
    KolvraneCore core(nullptr);
    test_support::applyParameters(core, filtered ? test_support::filteredParameters()
                                                 : test_support::loudParameters());
    core.setBlockSize(blockSize);
    core.prepare(static_cast<float>(rate));
    core.setQuality(static_cast<unsigned>(state.range(0)));
    core.setVectorPathEnabled(vectorPath);

    const auto sourceLeft = loudSignal(1), sourceRight = loudSignal(2);
    std::vector<float> left(blockSize), right(blockSize);
    size_t offset = 0;
    for (auto _ : state)
    {
        if (silent)
        {
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
        }
        else
        {
            std::copy_n(sourceLeft.begin() + offset, blockSize, left.begin());
            std::copy_n(sourceRight.begin() + offset, blockSize, right.begin());
            offset = (offset + blockSize) % sourceLeft.size();
        }
        core.processStereo(left.data(), right.data(), blockSize);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        benchmark::ClobberMemory();
    }
    reportRealTime(state);
}

void BM_CoreLoud(benchmark::State& state)
{
    coreBenchmark(state, false, true);
}

void BM_CoreLoudScalarPath(benchmark::State& state)
{
    coreBenchmark(state, false, false);
}

void BM_CoreLoudWithFilters(benchmark::State& state)
{
    coreBenchmark(state, false, true, true);
}

void BM_CoreSilent(benchmark::State& state)
{
    coreBenchmark(state, true, true);
}

// The peer: JUCE's 16x oversampler (four half-band equiripple FIR stages, maximum quality)
// around std::tanh, in double precision.
void BM_JuceOversampledTanh16x(benchmark::State& state)
{
    juce::dsp::Oversampling<double> oversampling(
        2, 4, juce::dsp::Oversampling<double>::filterHalfBandFIREquiripple, true);
    oversampling.initProcessing(blockSize);
    juce::AudioBuffer<double> buffer(2, blockSize);

    const auto sourceLeft = loudSignal(1), sourceRight = loudSignal(2);
    size_t offset = 0;
    for (auto _ : state)
    {
        for (int i = 0; i < blockSize; ++i)
        {
            buffer.setSample(0, i, 6.0 * sourceLeft[offset + i]);
            buffer.setSample(1, i, 6.0 * sourceRight[offset + i]);
        }
        offset = (offset + blockSize) % sourceLeft.size();

        juce::dsp::AudioBlock<double> block(buffer);
        auto upsampled = oversampling.processSamplesUp(block);
        for (size_t channel = 0; channel < upsampled.getNumChannels(); ++channel)
        {
            double* samples = upsampled.getChannelPointer(channel);
            for (size_t i = 0; i < upsampled.getNumSamples(); ++i)
                samples[i] = std::tanh(samples[i]);
        }
        oversampling.processSamplesDown(block);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
        benchmark::ClobberMemory();
    }
    reportRealTime(state);
}
} // namespace

BENCHMARK(BM_CoreLoud)->ArgName("quality")->DenseRange(0, 3);
BENCHMARK(BM_CoreLoudScalarPath)->ArgName("quality")->Arg(3);
BENCHMARK(BM_CoreLoudWithFilters)->ArgName("quality")->Arg(0)->Arg(3);
BENCHMARK(BM_CoreSilent)->ArgName("quality")->Arg(0)->Arg(3);
BENCHMARK(BM_JuceOversampledTanh16x);

BENCHMARK_MAIN();
