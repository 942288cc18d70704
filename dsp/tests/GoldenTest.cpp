#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace test_support;

// Whole-chain regression arrays, checked in under dsp/tests/golden. Run with
// KOLVRANE_REGENERATE_GOLDEN=1 to rewrite them after an intended change of the sound.

namespace
{
bool regenerating()
{
    const char* flag = std::getenv("KOLVRANE_REGENERATE_GOLDEN");
    return flag != nullptr && std::string(flag) == "1";
}

std::string goldenPath(const std::string& name)
{
    return std::string(KOLVRANE_GOLDEN_DIR) + "/" + name + ".txt";
}

std::vector<float> chirp(int count, double amplitude)
{
    std::vector<float> samples(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i)
    {
        phase += 2.0 * 3.141592653589793 * (60.0 + 12000.0 * i / count) / 44100.0;
        samples[i] = static_cast<float>(amplitude * std::sin(phase) + 0.1 * std::sin(i * 0.013));
    }
    return samples;
}

// Every fourth output sample of 2048, with a parameter change between calls halfway.
std::vector<float> render(int function, unsigned quality, bool mono, bool vectorPath = true)
{
    auto core = makeCore(busyParameters(function), 44100.0f, quality);
    core->setVectorPathEnabled(vectorPath);
    auto left = chirp(2048, 0.9), right = chirp(2048, 0.6);
    for (int start = 0; start < 2048; start += 256)
    {
        if (start == 1024)
        {
            core->setParameter(KolvraneParameter::shape, 0.2f);
            core->setParameter(KolvraneParameter::ofFilter(0, KolvraneParameter::filterCutoff), 0.3f);
        }
        if (mono)
            core->processMono(left.data() + start, 256);
        else
            core->processStereo(left.data() + start, right.data() + start, 256);
    }
    std::vector<float> picked;
    for (int i = 0; i < 2048; i += 4)
    {
        picked.push_back(left[i]);
        if (!mono)
            picked.push_back(right[i]);
    }
    return picked;
}

void writeGolden(const std::string& path, const std::vector<float>& values)
{
    std::ofstream out(path);
    char text[32];
    for (float v : values)
    {
        std::snprintf(text, sizeof(text), "%.9g\n", v);
        out << text;
    }
}

std::vector<float> readGolden(const std::string& path)
{
    std::ifstream in(path);
    std::vector<float> values;
    float v = 0;
    while (in >> v)
        values.push_back(v);
    return values;
}

struct GoldenCase
{
    int function;
    unsigned quality;
    bool mono;
};

std::string caseName(const GoldenCase& c)
{
    return std::string(c.mono ? "mono" : "stereo") + "_function" + std::to_string(c.function) + "_quality" +
           std::to_string(c.quality);
}

class GoldenChainTest : public ::testing::TestWithParam<GoldenCase>
{
};

TEST_P(GoldenChainTest, MatchesTheCheckedInOutput)
{
    const GoldenCase c = GetParam();
    const auto actual = render(c.function, c.quality, c.mono);
    const std::string path = goldenPath(caseName(c));
    if (regenerating())
        writeGolden(path, actual);
    const auto expected = readGolden(path);
    ASSERT_EQ(expected.size(), actual.size()) << "missing or short file " << path;
    for (size_t i = 0; i < actual.size(); ++i)
        // a reordered sum can move a tanh table index by one step (2e-4 at most before gains)
        ASSERT_NEAR(actual[i], expected[i], 1e-5 + 1e-5 * std::abs(expected[i])) << path << " value " << i;

    // the portable path must give the same sound as the vector path
    if (c.quality > 0)
    {
        const auto scalar = render(c.function, c.quality, c.mono, false);
        for (size_t i = 0; i < actual.size(); ++i)
            ASSERT_NEAR(scalar[i], expected[i], 1e-5 + 1e-5 * std::abs(expected[i]))
                << path << " scalar " << i;
    }
}

std::vector<GoldenCase> allCases()
{
    std::vector<GoldenCase> cases;
    for (int function = 0; function < 6; ++function)
        for (unsigned quality = 0; quality < 4; ++quality)
            cases.push_back({function, quality, false});
    for (unsigned quality = 0; quality < 4; ++quality)
        cases.push_back({4, quality, true});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Chain, GoldenChainTest, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info)
                         { return caseName(info.param); });
} // namespace
