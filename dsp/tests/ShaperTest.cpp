#include "dsp/Compressor.h"
#include "dsp/Shaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const TanhTable& tanhTable()
{
    static const TanhTable table;
    return table;
}

struct ShaperCase
{
    const char* name;
    int function;
    bool oversampled;
    double x;
    ShaperSettings settings;
    double expected;
    double tolerance;
    bool positive;
    bool negative;
};

class ShaperCurveTest : public ::testing::TestWithParam<ShaperCase>
{
};

TEST_P(ShaperCurveTest, GivesTheCurveValueAndFlags)
{
    const ShaperCase& c = GetParam();
    ClipFlags flags;
    // zone cases start from stale flags, which they must clear
    const bool zone = !c.positive && !c.negative;
    flags.positive = flags.negative = zone ? 1 : 0;
    const double y = Shaper::shape(c.function, c.oversampled, c.x, c.settings, tanhTable(), flags);
    EXPECT_NEAR(y, c.expected, c.tolerance);
    EXPECT_EQ(flags.positive != 0, c.positive);
    EXPECT_EQ(flags.negative != 0, c.negative);
}

const double tanhOf2 = 0.9640275800758169;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Functions, ShaperCurveTest,
    ::testing::Values(
        ShaperCase{"TanhInsideZone", functionTanh, false, 0.5, {1.0, 1.0, 0.0}, 0.5, 0.0, false, false},
        ShaperCase{"TanhAbove", functionTanh, false, 3.0, {1.0, 1.0, 0.0}, 1.9640275800758169, 1e-15, true, false},
        ShaperCase{"TanhBelow", functionTanh, true, -3.0, {1.0, 1.0, 0.0}, -1.0 - tanhOf2, 1e-15, false, true},
        ShaperCase{"TanhExactlyAtThreshold", functionTanh, false, 1.0, {1.0, 5.0, 0.0}, 1.0, 0.0, false, false},
        ShaperCase{"TanhAtNegativeThreshold", functionTanh, false, -0.25, {0.25, 5.0, 0.0}, -0.25, 0.0, false, false},
        ShaperCase{"AtanInsideZone", functionAtan, false, 0.5, {1.0, 1.0, 0.0}, 0.3183, 1e-12, false, false},
        ShaperCase{"AtanAbove", functionAtan, false, 2.0, {1.0, 2.0, 0.0}, 0.6366 * (1.0 + std::atan(2.0) / 2.0), 1e-15, true, false},
        ShaperCase{"HardClipAbove", functionHardClip, false, 1.0, {0.5, 41.0, 1.0}, 0.5121951219512195, 1e-16, true, false},
        ShaperCase{"HardClipBelow", functionHardClip, true, -1.0, {0.5, 41.0, 1.0}, -0.5121951219512195, 1e-16, false, true},
        ShaperCase{"MixedUsesClipAbove", functionMixedTanhClip, false, 1.0, {0.5, 41.0, 1.0}, 0.5121951219512195, 1e-16, true, false},
        ShaperCase{"MixedUsesTanhBelow", functionMixedTanhClip, false, -3.0, {1.0, 1.0, 0.0}, -1.0 - tanhOf2, 1e-15, false, true},
        ShaperCase{"CrossoverZoneIsZero", functionCrossover, false, 0.3, {0.5, 20.0, 0.5}, 0.0, 1e-19, false, false},
        ShaperCase{"CrossoverZoneIsZeroOversampled", functionCrossover, true, -0.5, {0.5, 20.0, 0.5}, 0.0, 1e-19, false, false},
        ShaperCase{"CrossoverStartsFromZero", functionCrossover, false, 0.5 + 1e-6, {0.5, 20.0, 0.5}, 0.0, 1e-6, true, false},
        ShaperCase{"CrossoverFarAbove", functionCrossover, false, 10.5, {0.5, 1.0, 0.0}, std::tanh(0.05 * 10.0 * (1.0 - 1.0 / std::pow(1.0 + 4.0, 2)) / (1.0 - 1.0 / std::pow(1.04, 2))), 1e-12, true, false},
        ShaperCase{"AsymmetricWithoutShiftIsTanhKnee", functionAsymmetricTanh, false, 1.5, {1.0, 41.0, 0.0}, 1.0 + std::tanh(0.5), 2e-4, true, false},
        ShaperCase{"AsymmetricZoneCarriesShift", functionAsymmetricTanh, false, 2.0, {0.5, 1.0, 1.0}, 2.0 - 2.0 + tanhOf2, 1e-15, false, false}),
    [](const ::testing::TestParamInfo<ShaperCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(Shaper, UnknownFunctionGivesZeroAndLeavesTheFlags)
{
    ClipFlags flags;
    flags.positive = 1;
    EXPECT_EQ(Shaper::shape(functionCount, false, 0.7, {0.5, 1.0, 0.0}, tanhTable(), flags), 0.0);
    EXPECT_EQ(Shaper::shape(-1, true, -0.7, {0.5, 1.0, 0.0}, tanhTable(), flags), 0.0);
    EXPECT_EQ(flags.positive, 1);
    EXPECT_EQ(flags.negative, 0);
}

TEST(Shaper, ZoneSampleAfterExcursionsClearsBothFlags)
{
    const ShaperSettings s{0.5, 1.0, 0.0};
    for (int function = 0; function < functionCount; ++function)
    {
        ClipFlags flags;
        Shaper::shape(function, false, 2.0, s, tanhTable(), flags);
        Shaper::shape(function, false, -4.0, s, tanhTable(), flags);
        EXPECT_TRUE(flags.positive && flags.negative) << function;
        Shaper::shape(function, false, 0.0, s, tanhTable(), flags);
        EXPECT_FALSE(flags.positive || flags.negative) << function;
    }
}

TEST(Shaper, CrossoverIsZeroThroughoutTheZoneInBothModes)
{
    for (const bool oversampled : {false, true})
        for (double x = -0.7; x <= 0.7; x += 0.01)
        {
            ClipFlags flags;
            EXPECT_LE(std::abs(Shaper::shape(functionCrossover, oversampled, x, {0.7, 12.0, 0.4}, tanhTable(),
                                             flags)),
                      1e-19);
        }
}

TEST(Shaper, AsymmetricTanhIsContinuousAtBothEdgesOfTheShiftedZone)
{
    for (const double raw : {0.0, 0.3, 1.0})
        for (const double threshold : {0.01, 0.25, 1.0})
        {
            const ShaperSettings s{threshold, 7.0, raw};
            const double d = 1e-20 - 2.0 * raw;
            for (const double edge : {threshold - d, -threshold - d})
            {
                ClipFlags flags;
                const double below =
                    Shaper::shape(functionAsymmetricTanh, false, edge - 1e-9, s, tanhTable(), flags);
                const double above =
                    Shaper::shape(functionAsymmetricTanh, false, edge + 1e-9, s, tanhTable(), flags);
                // the table steps by 1/6400, so the two sides agree to within one step
                EXPECT_NEAR(below, above, 2.0 / 6400.0)
                    << "R " << raw << " T " << threshold << " edge " << edge;
            }
        }
}

TEST(Shaper, BlockFormMatchesPerSampleForm)
{
    std::vector<double> buffer, expected;
    std::vector<double> thresholds, shapes, raws;
    for (int i = 0; i < 200; ++i)
    {
        buffer.push_back(1.5 * std::sin(i * 0.37));
        thresholds.push_back(0.2 + 0.003 * i);
        shapes.push_back(1.0 + 0.2 * i);
        raws.push_back(i / 200.0);
    }
    for (int function = 0; function < functionCount; ++function)
    {
        std::vector<double> block = buffer;
        ClipFlags blockFlags, sampleFlags;
        Shaper::shapeBlock(function, block.data(), 200, thresholds.data(), shapes.data(), raws.data(),
                           tanhTable(), blockFlags);
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ(block[i], Shaper::shape(function, false, buffer[i], {thresholds[i], shapes[i], raws[i]},
                                              tanhTable(), sampleFlags));
        EXPECT_EQ(blockFlags.positive, sampleFlags.positive);
        EXPECT_EQ(blockFlags.negative, sampleFlags.negative);
    }
}

class CompressorTest : public ::testing::Test
{
protected:
    LevelToDbTable levels;
    DbToGainTable gains;
};

TEST_F(CompressorTest, MakeupFollowsTheThreshold)
{
    const struct
    {
        double dynamics;
        double makeupDb;
    } cases[] = {{1.0, 0.0}, {0.5, 4.0}, {0.25, 9.766790338292445}, {0.0, 22.0}};
    for (const auto& c : cases)
        EXPECT_NEAR(Compressor::makeupDbForThreshold(-40.0 * (1.0 - c.dynamics)), c.makeupDb, 1e-9)
            << c.dynamics;
}

TEST_F(CompressorTest, HeldFullScaleSettlesAtThirtySixDecibelsOfReduction)
{
    Compressor compressor(levels, gains);
    compressor.setThresholdDb(-40.0);
    compressor.prepare(44100.0);
    const double makeup = std::pow(10.0, 22.0 * 0.05);
    double gain = 0.0;
    for (int i = 0; i < 44100; ++i)
        gain = compressor.computeGain(1.0, makeup);
    EXPECT_NEAR(compressor.getEnvelope(), 40.0, 1e-9);
    EXPECT_EQ(compressor.reductionIndex(), 29491);
    EXPECT_NEAR(20.0 * std::log10(gains.at(29491)), -36.00085451826533, 1e-9);
    EXPECT_NEAR(20.0 * std::log10(gain), 22.0 - 36.00085451826533, 1e-9);
}

TEST_F(CompressorTest, TimeConstantsAreOneAndFiftyMillisecondsAtEveryRate)
{
    for (const double rate : {44100.0, 88200.0, 192000.0})
    {
        Compressor compressor(levels, gains);
        compressor.setThresholdDb(-40.0);
        compressor.prepare(rate);
        const int attackSamples = static_cast<int>(std::lround(rate * 0.001));
        for (int i = 0; i < attackSamples; ++i)
            compressor.computeGain(1.0, 1.0);
        EXPECT_NEAR(compressor.getEnvelope(), 40.0 * (1.0 - std::exp(-1.0)), 0.2) << rate;
        for (int i = 0; i < static_cast<int>(rate); ++i)
            compressor.computeGain(1.0, 1.0);
        const int releaseSamples = static_cast<int>(std::lround(rate * 0.05));
        for (int i = 0; i < releaseSamples; ++i)
            compressor.computeGain(0.0, 1.0);
        // silence is below the threshold: the envelope releases towards 0 dB over
        EXPECT_NEAR(compressor.getEnvelope(), 40.0 * std::exp(-1.0), 0.2) << rate;
    }
}

TEST_F(CompressorTest, ThresholdAtZeroIsTransparent)
{
    Compressor compressor(levels, gains);
    compressor.setThresholdDb(0.0);
    compressor.prepare(44100.0);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(compressor.computeGain(std::abs(std::sin(i * 0.1)) * (i % 3 == 0 ? 5.0 : 1.0), 1.0), 1.0);
}
} // namespace
