#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <limits>
#include <string>

// A non-finite sample from the host is read as silence: the core must then give exactly what
// the same input with that sample set to 0 gives, and never let it into any state.
namespace
{
using test_support::defaultParameters;
using test_support::makeCore;

constexpr float quietNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr int length = 4500;

struct Settings
{
    const char* name;
    std::array<float, 22> parameters;
};

std::array<float, 22> with(std::initializer_list<std::pair<int, float>> changes)
{
    auto parameters = defaultParameters();
    for (auto [index, value] : changes)
        parameters[index] = value;
    return parameters;
}

// The signal paths: Pre and Post filter banks, the dry ring through FX, every function.
const Settings settingsTable[] = {
    // clang-format off
    {"defaults",      defaultParameters()},
    {"preFilters",    with({{4, 0.25f}, {5, 1.0f}, {7, 1.0f}, {9, 0.5f}, {10, 1.0f}})},
    {"postFilters",   with({{4, 0.75f}, {7, 0.9f}, {14, 1.0f}, {17, 1.0f}, {18, 1.0f}})},
    {"halfDryCrossover", with({{21, 0.5f}, {20, 0.6f}, {1, 1.0f}})},
    {"dryOnly",       with({{21, 0.0f}})},
    {"mixedClip",     with({{20, 1.0f}, {3, 1.0f}, {0, 1.0f}})},
    // clang-format on
};

struct Render
{
    std::vector<float> left, right;
    float meterLeft = 0.0f, meterRight = 0.0f;
    bool clipPositive = false, clipNegative = false;
};

// Music-like input with a silent stretch, so both the active and the idle paths see the samples.
std::vector<float> input(double frequency, double amplitude)
{
    auto samples = test_support::sine(length, frequency, amplitude);
    std::fill(samples.begin() + 3000, samples.begin() + 4000, 0.0f);
    return samples;
}

Render render(const std::array<float, 22>& parameters, unsigned quality, std::vector<float> left,
              std::vector<float> right, bool mono, bool fadeHalfway)
{
    auto core = makeCore(parameters, 44100.0f, quality);
    Render result;
    for (int start = 0; start < length; start += 500)
    {
        if (fadeHalfway && start == 2500)
            core->changePreset();
        const int n = std::min(500, length - start);
        if (mono)
            core->processMono(left.data() + start, n);
        else
            core->processStereo(left.data() + start, right.data() + start, n);
    }
    result.left = std::move(left);
    result.right = std::move(right);
    core->getMeterLevels(result.meterLeft, result.meterRight);
    core->getClipFlags(result.clipPositive, result.clipNegative);
    return result;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// The places where the bad samples go: inside music, inside the silence, in a burst.
struct Injection
{
    const char* name;
    int first;
    int count;
    bool bothChannels;
    float value;
};

const Injection injections[] = {
    // clang-format off
    {"singleNaNLeft",        1000, 1,   false, quietNaN},
    {"singleInfBoth",        1000, 1,   true,  inf},
    {"nanInSilenceLeft",     3500, 1,   false, quietNaN},
    {"minusInfBurstBoth",    2400, 300, true,  -inf},
    {"nanBurstBoth",         2900, 200, true,  quietNaN},
    {"infAtChunkStartLeft",  500,  1,   false, inf},
    // clang-format on
};

enum class Mode
{
    stereo,
    mono,
    stereoWithPresetFade
};
} // namespace

TEST(NonFiniteInput, IsReadAsSilenceInEveryPathAndQuality)
{
    for (const auto& settings : settingsTable)
        for (unsigned quality = 0; quality < 4; ++quality)
            for (const auto& injection : injections)
                for (Mode mode : {Mode::stereo, Mode::mono, Mode::stereoWithPresetFade})
                {
                    const bool mono = mode == Mode::mono;
                    const bool fade = mode == Mode::stereoWithPresetFade;
                    const float bad = injection.value;
                    SCOPED_TRACE(std::string(settings.name) + " q" + std::to_string(quality) + " " +
                                 injection.name + (mono ? " mono" : "") + (fade ? " fade" : ""));
                    auto left = input(220.0, 0.8);
                    auto right = input(330.0, 0.6);
                    auto badLeft = left, badRight = right;
                    for (int i = injection.first; i < injection.first + injection.count; ++i)
                    {
                        left[i] = 0.0f;
                        badLeft[i] = bad;
                        if (injection.bothChannels)
                        {
                            right[i] = 0.0f;
                            badRight[i] = bad;
                        }
                    }
                    const Render expected = render(settings.parameters, quality, left, right, mono, fade);
                    const Render actual = render(settings.parameters, quality, badLeft, badRight, mono, fade);
                    ASSERT_TRUE(sameBits(expected.left, actual.left));
                    if (!mono) // mono leaves the right buffer alone
                    {
                        ASSERT_TRUE(sameBits(expected.right, actual.right));
                    }
                    ASSERT_EQ(expected.meterLeft, actual.meterLeft);
                    ASSERT_EQ(expected.meterRight, actual.meterRight);
                    ASSERT_EQ(expected.clipPositive, actual.clipPositive);
                    ASSERT_EQ(expected.clipNegative, actual.clipNegative);
                }
}

// The largest floats are finite input: what they drive through resonant filters, full preamp and
// full output gain must still reach the host as finite samples, and the silence after them must
// end in exact zeros.
TEST(NonFiniteInput, LargestFloatsGiveFiniteOutputAndThenSilence)
{
    const auto loud = with({{1, 1.0f},
                            {19, 1.0f},
                            {21, 0.5f},
                            {4, 0.5f},
                            {5, 1.0f},
                            {7, 1.0f},
                            {9, 0.25f},
                            {12, 1.0f},
                            {14, 0.75f},
                            {17, 1.0f},
                            {20, 0.6f}});
    for (unsigned quality = 0; quality < 4; ++quality)
        for (float extreme : {FLT_MAX, -FLT_MAX})
        {
            SCOPED_TRACE("q" + std::to_string(quality) + " " + std::to_string(extreme));
            auto core = makeCore(loud, 44100.0f, quality);
            std::vector<float> left(44100, 0.0f), right(44100, 0.0f);
            for (int i = 0; i < 400; ++i)
                left[i] = right[i] = (i % 7 < 3) ? extreme : -extreme * 0.5f;
            test_support::processInBlocks(*core, left, right, 256);
            for (int i = 0; i < 44100; ++i)
            {
                ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
            }
            float meterLeft = 0.0f, meterRight = 0.0f;
            core->getMeterLevels(meterLeft, meterRight);
            EXPECT_TRUE(std::isfinite(meterLeft) && std::isfinite(meterRight));

            // The silence gate waits until the output's decaying peak falls below its level, which
            // from the largest floats takes about 23 seconds; then the output is exact zeros.
            std::vector<float> quietLeft(25 * 44100, 0.0f), quietRight(25 * 44100, 0.0f);
            test_support::processInBlocks(*core, quietLeft, quietRight, 4096);
            quietLeft.assign(4096, 0.0f);
            quietRight.assign(4096, 0.0f);
            test_support::processInBlocks(*core, quietLeft, quietRight, 256);
            for (int i = 0; i < 4096; ++i)
                ASSERT_TRUE(quietLeft[i] == 0.0f && quietRight[i] == 0.0f) << i;
        }
}
