#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace
{
struct RateCase
{
    float rate;
    int rateClass;
    double timingFactor;
    double rateRatio;
};

class SampleRateTest : public ::testing::TestWithParam<RateCase>
{
};

TEST_P(SampleRateTest, PrepareDerivesTimingFactors)
{
    const RateCase c = GetParam();
    KolvraneCore core(nullptr);
    core.prepare(c.rate);
    const SampleRateInfo& info = core.getSampleRateInfo();
    EXPECT_EQ(info.rate, c.rate);
    EXPECT_EQ(info.rateClass, c.rateClass);
    EXPECT_NEAR(info.timingFactor, c.timingFactor, 1e-15);
    EXPECT_NEAR(info.rateRatio, c.rateRatio, 1e-14);
    EXPECT_NEAR(info.smoothingStep, 0.002 * c.timingFactor, 1e-18);
}

INSTANTIATE_TEST_SUITE_P(CommonRates, SampleRateTest,
                         ::testing::Values(RateCase{44100.0f, 0, 1.0, 1.0},
                                           RateCase{48000.0f, 1, 0.942065726224875, 48000.0 / 44100.0},
                                           RateCase{88200.0f, 2, 0.5857864376269049, 2.0},
                                           RateCase{96000.0f, 3, 0.5453974606270446, 96000.0 / 44100.0},
                                           RateCase{192000.0f, 4, 0.2943608005366696, 192000.0 / 44100.0}),
                         [](const ::testing::TestParamInfo<RateCase>& info)
                         { return std::to_string(static_cast<int>(info.param.rate)); });

TEST(SampleRateInfo, UnknownRateKeepsThePreviousRateClass)
{
    KolvraneCore core(nullptr);
    core.prepare(96000.0f);
    core.prepare(50000.0f);
    EXPECT_EQ(core.getSampleRateInfo().rateClass, 3);
    EXPECT_EQ(core.getSampleRateInfo().rate, 50000.0);
}

TEST(CoreQuality, SetQualityReturnsAndReportsTheLatency)
{
    KolvraneCore core(nullptr);
    EXPECT_EQ(core.getLatency(), 0);
    const struct
    {
        unsigned code;
        int latency;
    } cases[] = {{2, 17}, {0, 0}, {1, 17}, {3, 17}, {0, 0}, {7, 17}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(core.setQuality(c.code), c.latency) << "code " << c.code;
        EXPECT_EQ(core.getLatency(), c.latency) << "code " << c.code;
    }
}

TEST(CoreQuality, BaseCoreDoesNothing)
{
    QuarryEffectCore base(nullptr);
    EXPECT_EQ(base.setQuality(3), 0);
    EXPECT_EQ(base.getLatency(), 0);
    float sample = 0.25f;
    base.processMono(&sample, 1);
    EXPECT_EQ(sample, 0.25f);
}

TEST(CoreParameters, QualityParameterIndexAndOutOfRangeIndexesAreIgnored)
{
    auto reference = makeCore(defaultParameters());
    auto probed = makeCore(defaultParameters());
    probed->setParameter(22, 1.0f);
    probed->setParameter(-1, 1.0f);
    probed->setParameter(1000, 0.0f);
    EXPECT_EQ(probed->getQuality(), 0);

    auto left = sine(2048, 440.0, 0.8), right = sine(2048, 660.0, 0.5);
    auto left2 = left, right2 = right;
    processInBlocks(*reference, left, right);
    processInBlocks(*probed, left2, right2);
    EXPECT_EQ(left, left2);
    EXPECT_EQ(right, right2);
}

TEST(CoreProcess, CountZeroTouchesNothingButPublishesAgain)
{
    auto core = makeCore(defaultParameters());
    auto left = sine(1024, 440.0, 1.0), right = sine(1024, 440.0, 1.0);
    core->processStereo(left.data(), right.data(), 1024);
    float meterLeft = 0, meterRight = 0;
    core->getMeterLevels(meterLeft, meterRight);
    ASSERT_GT(meterLeft, 0.0f);

    float a = 0.7f, b = -0.3f;
    core->processStereo(&a, &b, 0);
    core->processMono(&a, -5);
    EXPECT_EQ(a, 0.7f);
    EXPECT_EQ(b, -0.3f);
    float again = 0, againRight = 0;
    core->getMeterLevels(again, againRight);
    EXPECT_EQ(again, meterLeft);
    EXPECT_EQ(againRight, meterLeft); // the mono call publishes the one channel to both
}

TEST(CoreProcess, FreshCoreFedZerosOutputsExactZerosAfterTheFirstSample)
{
    for (unsigned quality = 0; quality < 4; ++quality)
    {
        auto core = makeCore(defaultParameters(), 44100.0f, quality);
        std::vector<float> left(600, 0.0f), right(600, 0.0f);
        processInBlocks(*core, left, right, 300);
        for (int i = 1; i < 600; ++i)
        {
            ASSERT_EQ(left[i], 0.0f) << "quality " << quality << " sample " << i;
            ASSERT_EQ(right[i], 0.0f) << "quality " << quality << " sample " << i;
        }
    }
}
} // namespace

namespace
{
TEST(CoreParameters, ChangeAfterTheSmoothersSettledStillGlidesIn)
{
    auto changed = makeCore(defaultParameters());
    auto unchanged = makeCore(defaultParameters());
    auto a = sine(60000, 220.0, 0.9), aRight = a;
    auto b = a, bRight = a;
    // long enough for every smoothed value to come to rest exactly
    changed->processStereo(a.data(), aRight.data(), 4096);
    unchanged->processStereo(b.data(), bRight.data(), 4096);
    for (int start = 4096; start < 40000; start += 4096)
    {
        changed->processStereo(a.data() + start, aRight.data() + start, 4096);
        unchanged->processStereo(b.data() + start, bRight.data() + start, 4096);
    }
    ASSERT_EQ(a, b);
    changed->setParameter(2, 0.1f); // threshold down: the shaper bends much more
    changed->processStereo(a.data() + 40000, aRight.data() + 40000, 4096);
    unchanged->processStereo(b.data() + 40000, bRight.data() + 40000, 4096);
    EXPECT_NEAR(a[40000], b[40000], 0.01f); // the glide starts from the settled value
    float largestDifference = 0.0f;
    for (int i = 40000; i < 44096; ++i)
        largestDifference = std::max(largestDifference, std::abs(a[i] - b[i]));
    EXPECT_GT(largestDifference, 0.1f);
}
} // namespace
