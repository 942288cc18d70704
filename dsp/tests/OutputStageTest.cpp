#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace test_support;

namespace
{
// Parameters under which the wet path is transparent enough to reason about.
ParameterValues plainParameters(float fx, float outputVolume)
{
    auto parameters = defaultParameters();
    parameters[KolvraneParameter::dynamics] = 1.0f;  // no compression
    parameters[KolvraneParameter::preamp] = 0.0f;    // preamp 0 dB
    parameters[KolvraneParameter::threshold] = 1.0f; // threshold 0 dB
    parameters[KolvraneParameter::outputVolume] = outputVolume;
    parameters[KolvraneParameter::fx] = fx;
    return parameters;
}

TEST(DryWet, FullyDryOutputIsTheLatencyAlignedInputTimesTheOutputGain)
{
    const struct
    {
        unsigned quality;
        float outputVolume;
        double gain;
        int delay;
    } cases[] = {{0, 0.5f, 1.0, 0},  {0, 1.0f, 4.0, 0},  {0, 0.25f, 0.25, 0},
                 {1, 0.5f, 1.0, 17}, {2, 1.0f, 4.0, 17}, {3, 0.25f, 0.25, 17}};
    for (const auto& c : cases)
    {
        auto core = makeCore(plainParameters(0.0f, c.outputVolume), 44100.0f, c.quality);
        const auto input = sine(3000, 997.0, 0.7);
        auto left = input, right = input;
        for (auto& sample : right)
            sample = -sample;
        processInBlocks(*core, left, right, 333);
        for (int i = 0; i < 3000; ++i)
        {
            const double expected = i >= c.delay ? input[i - c.delay] * c.gain : 0.0;
            ASSERT_NEAR(left[i], expected, 1e-6 * std::abs(expected) + 1e-19)
                << "quality " << c.quality << " sample " << i;
            ASSERT_NEAR(right[i], -expected, 1e-6 * std::abs(expected) + 1e-19);
        }
    }
}

TEST(DryWet, DcInputDecaysThroughTheDcBlocker)
{
    auto core = makeCore(plainParameters(1.0f, 0.5f));
    std::vector<float> left(44100, 0.5f), right(44100, 0.5f);
    processInBlocks(*core, left, right);
    EXPECT_GT(left[0], 0.5f); // the Post bank's gain of 1.5 on the first step
    EXPECT_LT(std::abs(left.back()), 1e-4f);
}

TEST(OutputGain, StepGlidesBetweenCallsAndSnapsOnPrepare)
{
    auto core = makeCore(plainParameters(0.0f, 0.5f));
    std::vector<float> left(500, 0.25f), right(500, 0.25f);
    processInBlocks(*core, left, right);
    ASSERT_NEAR(left.back(), 0.25f, 1e-7f);

    core->setParameter(19, 1.0f);
    std::fill(left.begin(), left.end(), 0.25f);
    std::fill(right.begin(), right.end(), 0.25f);
    processInBlocks(*core, left, right);
    const double reached = (left[499] / 0.25 - 1.0) / 3.0;
    EXPECT_NEAR(reached, 1.0 - std::exp(-1.0), 0.01);

    auto prepared = makeCore(plainParameters(0.0f, 0.5f));
    prepared->setParameter(19, 1.0f);
    prepared->prepare(44100.0f);
    float a = 0.25f, b = 0.25f;
    prepared->processStereo(&a, &b, 1);
    EXPECT_NEAR(a, 1.0f, 1e-6f);
}

// Published meter level after each one-sample call.
std::vector<float> meterTrace(KolvraneCore& core, const std::vector<float>& input)
{
    std::vector<float> trace;
    for (float sample : input)
    {
        float l = sample, r = sample;
        core.processStereo(&l, &r, 1);
        float meterLeft = 0, meterRight = 0;
        core.getMeterLevels(meterLeft, meterRight);
        trace.push_back(meterLeft);
    }
    return trace;
}

TEST(Meter, HoldsTheCurvePositionOfThePeak)
{
    const struct
    {
        double peak;
        float low;
        float high;
    } cases[] = {{1.0, 0.79f, 0.8f}, {0.5, 0.59f, 0.5993f}, {0.06, 0.0f, 1e-12f}};
    for (const auto& c : cases)
    {
        auto core = makeCore(plainParameters(0.0f, 0.5f));
        auto left = sine(22050, 1000.0, c.peak), right = left;
        processInBlocks(*core, left, right);
        float meterLeft = -1, meterRight = -1;
        core->getMeterLevels(meterLeft, meterRight);
        EXPECT_GE(meterLeft, c.low) << c.peak;
        EXPECT_LE(meterLeft, c.high) << c.peak;
        EXPECT_EQ(meterLeft, meterRight);
    }
}

TEST(Meter, FallsToHalfInAboutSixThousandNineHundredSamples)
{
    auto core = makeCore(plainParameters(0.0f, 0.5f));
    meterTrace(*core, sine(4410, 1000.0, 1.0));
    const auto trace = meterTrace(*core, std::vector<float>(10000, 0.0f));
    const float start = trace.front();
    const auto half = std::find_if(trace.begin(), trace.end(), [&](float m) { return m <= start / 2; });
    EXPECT_NEAR(static_cast<double>(half - trace.begin()), 6931.0, 5.0);
}

TEST(SilenceDetection, SilentRightChannelGoesInactiveAndOutputsExactZeros)
{
    for (unsigned quality = 0; quality < 4; ++quality)
    {
        auto core = makeCore(defaultParameters(), 44100.0f, quality);
        auto left = sine(4096, 440.0, 0.8);
        std::vector<float> right(4096, 0.0f);
        processInBlocks(*core, left, right);
        EXPECT_FALSE(core->isChannelActive(1));
        EXPECT_TRUE(core->isChannelActive(0));
        for (int i = 1; i < 4096; ++i)
            ASSERT_EQ(right[i], 0.0f) << "quality " << quality << " sample " << i;
        EXPECT_GT(*std::max_element(left.begin(), left.end()), 0.1f);
    }
}

TEST(SilenceDetection, BlockStartingOnANegativeHalfWaveAfterSilenceIsNotDropped)
{
    auto core = makeCore(plainParameters(1.0f, 0.5f));
    std::vector<float> left(512, 0.0f), right(512, 0.0f);
    processInBlocks(*core, left, right);
    ASSERT_FALSE(core->isChannelActive(0));

    std::vector<float> negative(512), copy(512);
    for (int i = 0; i < 512; ++i)
        negative[i] = static_cast<float>(-0.5 * std::sin(3.141592653589793 * (i + 1) / 513.0));
    copy = negative;
    core->processStereo(negative.data(), copy.data(), 512);
    EXPECT_TRUE(core->isChannelActive(0));
    EXPECT_LT(*std::min_element(negative.begin(), negative.end()), -0.3f);
}

class CountingOwner : public CoreOwner
{
public:
    void applyCurrentPreset() override
    {
        ++calls;
        callSample = currentSample;
    }
    int calls = 0;
    long currentSample = 0;
    long callSample = -1;
};

struct FadeTrace
{
    std::vector<float> output;
    long firstSilent = -1;
    long silentRun = 0;
    long fadeEnd = -1;
};

FadeTrace runFade(KolvraneCore& core, CountingOwner* owner, long length)
{
    FadeTrace trace;
    core.changePreset();
    for (long i = 0; i < length; ++i)
    {
        if (owner != nullptr)
            owner->currentSample = i;
        float l = 0.5f, r = 0.5f;
        core.processStereo(&l, &r, 1);
        trace.output.push_back(l);
        // the fade gain rests at -1e-20 rather than 0 while silent
        const bool silent = std::abs(l) < 1e-15f;
        if (silent && trace.firstSilent < 0)
            trace.firstSilent = i;
        if (silent)
            ++trace.silentRun;
        if (trace.fadeEnd < 0 && !core.isPresetFadeActive())
            trace.fadeEnd = i;
    }
    return trace;
}

TEST(PresetFade, AppliesThePresetOnceAndHoldsSilenceForTheRateScaledTime)
{
    const struct
    {
        float rate;
        long silence;
    } cases[] = {{44100.0f, 4000}, {48000.0f, 4353}};
    for (const auto& c : cases)
    {
        CountingOwner owner;
        auto core = makeCore(plainParameters(0.0f, 0.5f), c.rate, 0, &owner);
        const FadeTrace trace = runFade(*core, &owner, 20000);
        EXPECT_EQ(owner.calls, 1);
        EXPECT_EQ(owner.callSample, trace.firstSilent);
        EXPECT_EQ(trace.silentRun, c.silence);
        if (c.rate == 44100.0f)
        {
            EXPECT_NEAR(trace.firstSilent, 3451, 2);
            EXPECT_NEAR(trace.fadeEnd - (trace.firstSilent + c.silence), 2301, 2);
        }
        EXPECT_GT(trace.fadeEnd, 0);
        EXPECT_EQ(trace.output.back(), 0.5f);
    }
}

TEST(PresetFade, WorksWithoutAnOwnerAndReversesARequestDuringFadeIn)
{
    auto core = makeCore(plainParameters(0.0f, 0.5f));
    FadeTrace trace = runFade(*core, nullptr, 8500); // into the fade-in
    ASSERT_TRUE(core->isPresetFadeActive());
    const float reached = trace.output.back();
    ASSERT_GT(reached, 0.0f);
    trace = runFade(*core, nullptr, 10);
    EXPECT_LT(trace.output.back(), reached); // heads back down from where it was
    trace = runFade(*core, nullptr, 12000);
    EXPECT_FALSE(core->isPresetFadeActive());
}

TEST(ClipFlags, PublishedFlagsFollowTheLastShapedSample)
{
    auto parameters = plainParameters(1.0f, 0.5f);
    parameters[3] = 0.0f; // Shape 0: S = 1
    auto core = makeCore(parameters);
    const struct
    {
        float last;
        bool positive;
        bool negative;
    } cases[] = {{3.0f, true, false}, {-3.0f, false, true}, {0.5f, false, false}};
    for (const auto& c : cases)
    {
        // a zone sample clears both flags, the last excursion sets its own
        std::vector<float> left = {2.0f, -2.0f, 0.5f, c.last}, right = left;
        core->processStereo(left.data(), right.data(), 4);
        bool positive = false, negative = false;
        core->getClipFlags(positive, negative);
        EXPECT_EQ(positive, c.positive) << c.last;
        EXPECT_EQ(negative, c.negative) << c.last;
    }
}
} // namespace
