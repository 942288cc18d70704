#include "TestSupport.h"

#include "dsp/BandFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace test_support;

namespace
{
constexpr double pi = 3.141592653589793;

double tuningFrequency(double cutoff, double rate)
{
    return 2.0 * rate / pi * std::asin(cutoff / 2.0);
}

// Steady-state gain in dB of one filter for a sine, measured over the last tenth of two seconds.
double gainDb(int type, double cutoff, double damping, double frequency, double rate = 44100.0)
{
    FilterRecord record;
    const int total = static_cast<int>(2 * rate);
    double peak = 0.0;
    for (int i = 0; i < total; ++i)
    {
        const double x = std::sin(2.0 * pi * frequency * i / rate);
        const double y = BandFilter::process(record, x, cutoff, damping, type);
        if (i > total * 9 / 10)
            peak = std::max(peak, std::abs(y));
    }
    return 20.0 * std::log10(peak);
}

TEST(BandFilter, CoefficientMappingEndpoints)
{
    const struct
    {
        double v;
        double cutoff;
        double damping;
    } cases[] = {{0.0, 0.001, 1.0}, {0.5, 0.085, 0.1}, {1.0, 0.83, 0.01}};
    for (const auto& c : cases)
    {
        EXPECT_NEAR(BandFilter::cutoffCoefficient(c.v), c.cutoff, 1e-6) << c.v;
        EXPECT_NEAR(BandFilter::damping(c.v), c.damping, 1e-12) << c.v;
    }
}

TEST(BandFilter, TuningFrequenciesAtTheDocumentedCoefficients)
{
    EXPECT_NEAR(tuningFrequency(0.001, 44100.0), 14.0, 0.1);
    EXPECT_NEAR(tuningFrequency(0.085, 44100.0), 1193.0, 1.0);
    EXPECT_NEAR(tuningFrequency(0.83, 44100.0), 12014.0, 1.0);
}

struct ResponseCase
{
    const char* name;
    int type;
    double cutoff;
    double damping;
    double frequency; // negative: a multiple of the tuning frequency
    double expectedDb;
    double toleranceDb;
};

class BandFilterResponseTest : public ::testing::TestWithParam<ResponseCase>
{
};

TEST_P(BandFilterResponseTest, SteadyStateGain)
{
    const ResponseCase& c = GetParam();
    const double frequency =
        c.frequency < 0.0 ? -c.frequency * tuningFrequency(c.cutoff, 44100.0) : c.frequency;
    EXPECT_NEAR(gainDb(c.type, c.cutoff, c.damping, frequency), c.expectedDb, c.toleranceDb);
}

INSTANTIATE_TEST_SUITE_P(
    Responses, BandFilterResponseTest,
    ::testing::Values(
        ResponseCase{"LowPassUnityAtResoZero", filterLowPass, 0.085, 1.0, 50.0, 0.0, 0.1},
        ResponseCase{"LowPassPassbandAtResoOne", filterLowPass, 0.085, 0.01, 50.0, -20.0, 0.2},
        ResponseCase{"LowPassPeakAtResoOne", filterLowPass, 0.085, 0.01, -1.0, 20.0, 0.5},
        ResponseCase{"LowPassPeakAtHighCutoff", filterLowPass, 0.83, 0.01, -1.0, 20.0, 1.0},
        ResponseCase{"LowPassStopsAnOctaveAndAHalfUp", filterLowPass, 0.085, 1.0, -3.0, -18.0, 3.0},
        ResponseCase{"HighPassStopsLowFrequencies", filterHighPass, 0.085, 1.0, 30.0, -60.0, 6.0},
        ResponseCase{"BandPassPeakAtTuning", filterBandPass, 0.085, 0.01, -1.0, 20.0, 0.5},
        ResponseCase{"BandRejectCancelsAtTuning", filterBandReject, 0.085, 0.1, -1.0, -40.0, 20.0}),
    [](const ::testing::TestParamInfo<ResponseCase>& info) { return std::string(info.param.name); });

TEST(BandFilter, OffPassesTheInputUnchanged)
{
    FilterRecord record;
    for (int i = 0; i < 100; ++i)
    {
        const double x = std::sin(i * 0.3);
        EXPECT_EQ(BandFilter::process(record, x, 0.5, 0.1, filterOff), x);
    }
}

// Level of a 1 kHz sine through the whole core with a transparent shaper and no compression.
double coreGain(const std::array<int, 3>& routes, const std::array<float, 3>& volumes)
{
    auto parameters = defaultParameters();
    parameters[0] = 1.0f; // Dynamics: no compression
    parameters[1] = 0.0f; // Preamp 0 dB
    parameters[2] = 1.0f; // Threshold 0 dB: a 0.1 sine stays linear
    for (int f = 0; f < 3; ++f)
    {
        parameters[5 + 5 * f] = static_cast<float>(routes[f]);
        parameters[8 + 5 * f] = volumes[f];
    }
    auto core = makeCore(parameters);
    auto left = sine(8192, 1000.0, 0.1), right = left;
    processInBlocks(*core, left, right);
    float peak = 0.0f;
    for (int i = 4096; i < 8192; ++i)
        peak = std::max(peak, std::abs(left[i]));
    return peak / 0.1;
}

TEST(FilterBanks, GainOfTheTwoBanksDependsOnRoutesAndVolumes)
{
    const struct
    {
        std::array<int, 3> routes;
        std::array<float, 3> volumes;
        double gain;
    } cases[] = {
        {{0, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.5},  // defaults: Pre passes, Post sums three OFF filters
        {{1, 1, 1}, {0.5f, 0.5f, 0.5f}, 1.5},  // all Pre: Post passes
        {{0, 0, 0}, {0.0f, 0.0f, 0.0f}, 0.0},  // a bank at volume 0 is silent
        {{1, 1, 1}, {0.0f, 0.0f, 0.0f}, 0.0},  // also before the shaper
        {{1, 0, 0}, {0.8f, 0.5f, 0.25f}, 0.6}, // 0.8 before, 0.75 after
    };
    for (const auto& c : cases)
        EXPECT_NEAR(coreGain(c.routes, c.volumes), c.gain, 0.01)
            << c.routes[0] << c.routes[1] << c.routes[2] << " " << c.volumes[0];
}

TEST(FilterBanks, SameCutoffSitsAnOctaveHigherAtDoubleRate)
{
    // A resonant band-pass peaks at the tuning frequency; at 88200 Hz the peak moves up an octave.
    auto parameters = defaultParameters();
    parameters[0] = 1.0f;
    parameters[1] = 0.0f;
    parameters[2] = 1.0f;
    parameters[4] = 0.5f; // BP
    parameters[7] = 1.0f; // Reso/Bandwidth 1.0
    parameters[8] = 1.0f;
    const auto peakAt = [&](float rate, double frequency)
    {
        auto core = makeCore(parameters, rate);
        auto left = sine(static_cast<int>(rate), frequency, 0.01, rate), right = left;
        processInBlocks(*core, left, right);
        float peak = 0.0f;
        for (size_t i = left.size() / 2; i < left.size(); ++i)
            peak = std::max(peak, std::abs(left[i]));
        return peak;
    };
    const double tuned = tuningFrequency(0.085, 44100.0);
    EXPECT_NEAR(peakAt(88200.0f, 2.0 * tuned) / peakAt(44100.0f, tuned), 1.0, 0.05);
    EXPECT_LT(peakAt(88200.0f, tuned), 0.3 * peakAt(88200.0f, 2.0 * tuned));
}
} // namespace
