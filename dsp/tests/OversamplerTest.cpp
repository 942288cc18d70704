#include "TestSupport.h"

#include "dsp/Oversampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

using namespace test_support;

namespace
{
class OversamplerFixture
{
public:
    // Runs the oversampler alone over a buffer with fixed shaper settings.
    std::vector<double> run(int factor, std::vector<double> buffer, int function, double threshold,
                            OversamplerHistory& history, bool vector = true)
    {
        const int n = static_cast<int>(buffer.size());
        std::vector<double> thresholds(n, threshold), shapes(n, 3.0), raws(n, 0.4);
        Oversampler oversampler(kernels, tanh);
        oversampler.setUseVectorPath(vector);
        oversampler.process(
            factor, history,
            {buffer.data(), n, thresholds.data(), shapes.data(), raws.data(), nullptr, function}, flags);
        return buffer;
    }

    std::vector<double> impulseResponse(int factor, bool vector = true)
    {
        std::vector<double> impulse(64, 0.0);
        impulse[0] = 1.0;
        OversamplerHistory history;
        return run(factor, impulse, functionTanh, 100.0, history, vector);
    }

    TanhTable tanh;
    OversamplerKernels kernels;
    ClipFlags flags;
};

struct ImpulseCase
{
    int factor;
    double centre;
    double first;
    double second;
};

class OversamplerImpulseTest : public ::testing::TestWithParam<ImpulseCase>, public OversamplerFixture
{
};

TEST_P(OversamplerImpulseTest, PeaksSeventeenSamplesLateWithTheDocumentedCentre)
{
    const ImpulseCase c = GetParam();
    const auto response = impulseResponse(c.factor);
    int peak = 0;
    for (int i = 0; i < 64; ++i)
        if (std::abs(response[i]) > std::abs(response[peak]))
            peak = i;
    EXPECT_EQ(peak, Oversampler::latency);
    EXPECT_NEAR(response[17], c.centre, 5e-5);
    for (const int side : {-1, 1})
    {
        EXPECT_NEAR(response[17 + side], c.first, 5e-5);
        EXPECT_NEAR(response[17 + 2 * side], c.second, 5e-5);
        EXPECT_NEAR(response[17 + 4 * side], response[17 - 4 * side], 1e-4);
    }
    double sum = 0.0;
    for (double v : response)
        sum += v;
    EXPECT_NEAR(sum, 1.0, 1e-3); // unity gain at DC
}

INSTANTIATE_TEST_SUITE_P(Factors, OversamplerImpulseTest,
                         ::testing::Values(ImpulseCase{4, 0.8346, 0.1512, -0.1149},
                                           ImpulseCase{8, 0.8352, 0.1509, -0.1150},
                                           ImpulseCase{16, 0.8354, 0.1507, -0.1150}),
                         [](const ::testing::TestParamInfo<ImpulseCase>& info)
                         { return "Factor" + std::to_string(info.param.factor); });

class OversamplerTest : public ::testing::Test, public OversamplerFixture
{
};

TEST_F(OversamplerTest, KernelsSumToUnityAndEachPhaseToOneOverL)
{
    for (const int factor : {4, 8, 16})
    {
        double total = 0.0;
        for (double h : kernels.kernel(factor))
            total += h;
        EXPECT_NEAR(total, 0.99991, 2e-5) << factor;
        EXPECT_EQ(kernels.kernel(factor).size(), 16u * factor);
        for (int r = 0; r < factor; ++r)
        {
            double phase = 0.0;
            for (int j = 0; j < 16; ++j)
            {
                phase += kernels.phase(factor, r)[j];
                ASSERT_EQ(kernels.phase(factor, r)[j], kernels.kernel(factor)[j * factor + r]);
            }
            EXPECT_NEAR(phase, 1.0 / factor, 2e-3) << factor << " phase " << r;
        }
    }
}

TEST_F(OversamplerTest, MagnitudeResponseOfTheLinearChain)
{
    const struct
    {
        double fraction; // of the base rate
        double decibels;
        double tolerance;
    } cases[] = {{0.05, 0.0, 0.04}, {0.3, 0.0, 0.04}, {0.4, -3.9, 0.3}, {0.45, -12.0, 1.0}};
    for (const int factor : {4, 16})
        for (const auto& c : cases)
        {
            std::vector<double> input(2000);
            for (int i = 0; i < 2000; ++i)
                input[i] = 0.25 * std::sin(2.0 * 3.141592653589793 * c.fraction * i);
            OversamplerHistory history;
            const auto output = run(factor, input, functionTanh, 100.0, history);
            // amplitude by projection over a whole number of periods (sampled peaks undershoot)
            double inPhase = 0.0, quadrature = 0.0;
            for (int i = 1000; i < 2000; ++i)
            {
                inPhase += output[i] * std::sin(2.0 * 3.141592653589793 * c.fraction * i);
                quadrature += output[i] * std::cos(2.0 * 3.141592653589793 * c.fraction * i);
            }
            const double amplitude = 2.0 / 1000.0 * std::hypot(inPhase, quadrature);
            EXPECT_NEAR(20.0 * std::log10(amplitude / 0.25), c.decibels, c.tolerance)
                << "factor " << factor << " at " << c.fraction;
        }
}

TEST_F(OversamplerTest, VectorAndScalarPathsAgree)
{
    if (!::processorHasVectorPath())
        GTEST_SKIP() << "no AVX2/FMA on this processor";
    std::mt19937 random(7);
    std::uniform_real_distribution<double> loud(-3.0, 3.0);
    std::vector<double> input(1500);
    for (auto& x : input)
        x = loud(random);
    for (const int factor : {4, 8, 16})
        for (int function = 0; function < functionCount; ++function)
        {
            OversamplerHistory a, b;
            ClipFlags vectorFlags, scalarFlags;
            flags = {};
            const auto vectorOutput = run(factor, input, function, 0.3, a, true);
            vectorFlags = flags;
            flags = {};
            const auto scalarOutput = run(factor, input, function, 0.3, b, false);
            scalarFlags = flags;
            for (size_t i = 0; i < input.size(); ++i)
                ASSERT_NEAR(vectorOutput[i], scalarOutput[i], 1e-3)
                    << "factor " << factor << " function " << function << " sample " << i;
            EXPECT_EQ(vectorFlags.positive, scalarFlags.positive);
            EXPECT_EQ(vectorFlags.negative, scalarFlags.negative);
        }
}

// The vector shaper must give the scalar shaper's exact bits and flags, edge values included:
// at quality 0 nothing else may change the sound.
TEST_F(OversamplerTest, BaseRateShapingMatchesTheScalarShaperBitForBit)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> loud(-4.0, 4.0), raw(0.0, 1.0);
    const int n = 1003; // not a multiple of four: the tail runs value by value
    std::vector<double> input(n), thresholds(n), shapes(n), inverses(n), raws(n);
    for (int i = 0; i < n; ++i)
    {
        thresholds[i] = 0.05 + raw(random);
        raws[i] = raw(random);
        shapes[i] = raws[i] * raws[i] * raws[i] * 40.0 + 1.0;
        inverses[i] = 1.0 / shapes[i];
        input[i] = loud(random);
    }
    // edges: the thresholds themselves, ASIM. TANH's shifted zone, zeros, saturation, non-finite
    const double d = 1e-20 - 2.0 * raws[8];
    const double infinity = std::numeric_limits<double>::infinity();
    // clang-format off
    const double edges[] = {
        thresholds[0], -thresholds[1], 0.0, -0.0, 1e300, -1e300, infinity, -infinity,
        std::numeric_limits<double>::quiet_NaN(), thresholds[9] - d, -thresholds[10] - d,
    };
    // clang-format on
    for (size_t e = 0; e < std::size(edges); ++e)
        input[e] = edges[e];
    input[8] = thresholds[8] - d;

    if (!::processorHasVectorPath())
        GTEST_SKIP() << "no AVX2/FMA on this processor";
    for (int function = 0; function <= functionCount; ++function)
    {
        std::vector<double> shaped = input, expected = input;
        // A value inside the zone clears stale flags and the ones after it set theirs: every
        // length ends on another pattern of the last values.
        std::vector<int> ends = {n, 600};
        for (int end = 1; end <= 80; ++end)
            ends.push_back(end);
        for (const int end : ends)
        {
            ClipFlags flags{1, 1}, expectedFlags{1, 1};
            Shaper::shapeBlock(function, expected.data(), end, thresholds.data(), shapes.data(),
                               inverses.data(), raws.data(), tanh, expectedFlags);
            if (VectorShaper::shapesFunction(function))
                VectorShaper::shapeBlock({shaped.data(), end, thresholds.data(), shapes.data(), raws.data(),
                                          inverses.data(), function},
                                         tanh, flags);
            else
                shaped = expected, flags = expectedFlags; // left to the scalar shaper
            ASSERT_EQ(std::memcmp(shaped.data(), expected.data(), n * sizeof(double)), 0)
                << "function " << function << " length " << end;
            EXPECT_EQ(flags.positive, expectedFlags.positive) << function;
            EXPECT_EQ(flags.negative, expectedFlags.negative) << function;
            shaped = expected = input;
        }
    }
}

// A position reset (prepare without a quality change) leaves the rings' contents where they lie
// and reads them from slot 0 on; compared with the polyphase chain written out directly.
TEST_F(OversamplerTest, PositionResetReadsTheHistoriesFromSlotZeroOn)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> signal(-0.5, 0.5);
    for (const int factor : {4, 8, 16})
        for (const bool vector : {true, false})
        {
            double up[16] = {}, down[16][16] = {};
            int w = 0, w2 = 0;
            OversamplerHistory history;
            Oversampler oversampler(kernels, tanh);
            oversampler.setUseVectorPath(vector);
            for (int i = 0; i < 160; ++i)
            {
                if (i == 100 || i == 103)
                {
                    history.resetPositions();
                    w = w2 = 0;
                }
                if (i == 130 || i == 140) // a change of path continues the same histories
                    oversampler.setUseVectorPath(i == 130 ? !vector : vector);
                double x = signal(random);
                // the threshold keeps the shaper linear, so the two differ only in rounding
                double threshold = 100.0, shape = 3.0, raw = 0.4;
                const double input = x;
                oversampler.process(factor, history, {&x, 1, &threshold, &shape, &raw, nullptr, functionTanh},
                                    flags);

                up[w] = factor * input;
                double shaped[16];
                for (int r = 0; r < factor; ++r)
                {
                    double sum = 0.0;
                    for (int j = 0; j < 16; ++j)
                        sum += kernels.phase(factor, r)[j] * up[(w + j) % 16];
                    shaped[r] = sum;
                }
                w = (w + 1) % 16;
                for (int r = 0; r < factor; ++r)
                    down[w2][r] = shaped[r];
                double expected = 0.0;
                for (int j = 0; j < 16; ++j)
                    for (int r = 0; r < factor; ++r)
                        expected += kernels.phase(factor, factor - 1 - r)[j] * down[(w2 + j) % 16][r];
                w2 = (w2 + 1) % 16;
                ASSERT_NEAR(x, expected, 1e-12)
                    << "factor " << factor << " vector " << vector << " sample " << i;
            }
        }
}

TEST_F(OversamplerTest, ClearedHistoryBehavesLikeAFreshOne)
{
    std::vector<double> loud(300), probe(300);
    for (int i = 0; i < 300; ++i)
    {
        loud[i] = 2.0 * std::sin(i * 0.2);
        probe[i] = 0.3 * std::cos(i * 0.05);
    }
    OversamplerHistory used, fresh;
    run(16, loud, functionTanh, 0.5, used);
    used.clear();
    EXPECT_EQ(run(16, probe, functionTanh, 0.5, used), run(16, probe, functionTanh, 0.5, fresh));
}

TEST(OversampledCore, CrossoverIsSilentInsideTheZoneAtEveryQuality)
{
    auto parameters = defaultParameters();
    parameters[0] = 1.0f;  // no compression
    parameters[1] = 0.0f;  // preamp 0 dB
    parameters[2] = 1.0f;  // threshold 0 dB
    parameters[20] = 0.6f; // CROSSOVER
    for (unsigned quality = 0; quality < 4; ++quality)
    {
        auto core = makeCore(parameters, 44100.0f, quality);
        auto left = sine(2048, 300.0, 0.5), right = sine(2048, 500.0, 0.4);
        processInBlocks(*core, left, right);
        for (int i = 0; i < 2048; ++i)
        {
            ASSERT_LE(std::abs(left[i]), 1e-15f) << "quality " << quality << " sample " << i;
            ASSERT_LE(std::abs(right[i]), 1e-15f) << "quality " << quality << " sample " << i;
        }
    }
}

TEST(OversampledCore, QualityChangeStartsFromClearedHistories)
{
    auto parameters = defaultParameters();
    parameters[2] = 1.0f;
    auto switched = makeCore(parameters, 44100.0f, 3);
    auto loud = sine(1024, 200.0, 0.9), loudRight = loud;
    processInBlocks(*switched, loud, loudRight);
    switched->setQuality(1);
    switched->setQuality(3);

    // A core that had seen silence instead, with the same remaining state.
    auto reference = makeCore(parameters, 44100.0f, 3);
    auto same = sine(1024, 200.0, 0.9), sameRight = same;
    processInBlocks(*reference, same, sameRight);
    reference->setQuality(3);

    auto a = sine(512, 1000.0, 0.5), aRight = a;
    auto b = a, bRight = a;
    switched->processStereo(a.data(), aRight.data(), 512);
    reference->processStereo(b.data(), bRight.data(), 512);
    EXPECT_EQ(a, b);
    EXPECT_EQ(switched->getLatency(), 17);
}
} // namespace
