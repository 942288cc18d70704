// White noise through the built plug-in at every sample rate, block size and quality, as hosts
// drive it: the output stays finite and free of subnormals, silence in becomes exact zeros out,
// and the audio thread never allocates.
#include "ValidationSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

using namespace validation;

namespace
{
constexpr int varyingBlocks = 0; // a block size that changes on every call, up to the maximum
constexpr int32_t largestBlock = 8192;

struct ProcessingCase
{
    float sampleRate;
    int block;
    int quality;
};

std::string describe(const ProcessingCase& c)
{
    return std::to_string(static_cast<int>(c.sampleRate)) + " Hz, block " +
           (c.block == varyingBlocks ? std::string("varying") : std::to_string(c.block)) + ", quality " +
           qualityName(c.quality);
}

std::vector<ProcessingCase> everyCase()
{
    std::vector<ProcessingCase> cases;
    for (int quality = 0; quality < 4; ++quality)
        for (float rate : {44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f})
            for (int block : {1, 17, 64, 512, 4096, 8192, varyingBlocks})
                cases.push_back({rate, block, quality});
    return cases;
}

// Block sizes a host hands over: fixed, or anything from 0 to the maximum it announced.
class BlockSizes
{
public:
    BlockSizes(int block, uint32_t seed) : fixed(block), random(seed) {}

    int32_t maximum() const { return fixed == varyingBlocks ? largestBlock : fixed; }
    int32_t next()
    {
        if (fixed != varyingBlocks)
            return fixed;
        // Mostly small and odd sizes, now and then an empty or a full block.
        switch (random() % 8)
        {
        case 0:
            return 0;
        case 1:
            return largestBlock;
        case 2:
            return static_cast<int32_t>(random() % largestBlock) + 1;
        default:
            return static_cast<int32_t>(random() % 700) + 1;
        }
    }

private:
    int fixed;
    std::minstd_rand random;
};

std::string settings(kolvrane::vsthost::VstPlugin& plugin)
{
    std::string text;
    for (int32_t h = 0; h < hostParameterCount; ++h)
        text += plugin.parameterName(h) + " " + plugin.parameterDisplay(h) + "; ";
    return text;
}

// Feeds silence until the output has been exact zeros for half a second, or for at most
// `limitSeconds`.
struct SilenceTail
{
    bool settled = false;
    double seconds = 0.0;       // from silence in until the last non-zero output
    float lastSoundPeak = 0.0f; // of the last block that still sounded
};

SilenceTail feedSilenceUntilExactZeros(AudioDriver& audio, BlockSizes& sizes, float sampleRate,
                                       double limitSeconds)
{
    const auto limit = static_cast<long>(sampleRate * limitSeconds);
    const auto zerosToSee = static_cast<long>(sampleRate * 0.5);
    long done = 0;
    long zerosSince = 0;
    SilenceTail tail;
    while (done < limit && done - zerosSince < zerosToSee)
    {
        const int32_t frames = sizes.next();
        audio.processSilence(frames);
        done += frames;
        if (!audio.lastOutputIsExactlySilent())
        {
            zerosSince = done;
            tail.lastSoundPeak = audio.lastPeak();
        }
    }
    tail.settled = done - zerosSince >= zerosToSee;
    tail.seconds = static_cast<double>(zerosSince) / sampleRate;
    return tail;
}

void applyQuality(kolvrane::vsthost::VstPlugin& plugin, int quality)
{
    plugin.setChunk(qualityChunk(quality));
    plugin.suspend();
    plugin.resume();
}
} // namespace

TEST(ProcessingValidation, NoiseAtEveryRateBlockSizeAndQuality)
{
    uint32_t seed = 1;
    double longestTail = 0.0;
    for (const ProcessingCase& c : everyCase())
    {
        SCOPED_TRACE(describe(c));
        ++seed;
        BlockSizes sizes(c.block, seed);
        auto plugin = loadPlugin(c.sampleRate, sizes.maximum());
        applyQuality(*plugin, c.quality);
        EXPECT_EQ(plugin->initialDelay(), c.quality == 0 ? 0 : 17);
        std::minstd_rand random(seed);
        randomiseParameters(*plugin, random);

        AudioDriver audio(*plugin, sizes.maximum(), seed);
        const auto loudFrames = static_cast<long>(c.sampleRate / 4);
        for (long done = 0; done < loudFrames;)
        {
            const int32_t frames = sizes.next();
            audio.processNoise(frames);
            done += frames;
        }

        // Silence in: every channel switches itself off once its output peak, falling at the
        // meter's rate (halving in about 0.16 s), is below 2e-5, and from then on the output is
        // exact zeros. A resonant filter's tail can take a few seconds to get there.
        const SilenceTail tail = feedSilenceUntilExactZeros(audio, sizes, c.sampleRate, 20.0);
        EXPECT_TRUE(tail.settled) << "still sounding after 20 s of silence, peak " << tail.lastSoundPeak
                                  << "; " << settings(*plugin);
        longestTail = std::max(longestTail, tail.seconds);

        EXPECT_EQ(audio.faults().invalid, 0);
        EXPECT_EQ(audio.faults().subnormal, 0);
        EXPECT_EQ(audio.allocations(), 0);
        ++tally().cases;
    }
    std::printf("longest time from silence in to exact zeros out: %.2f s\n", longestTail);
}

// A fresh channel's first sample still carries the filters' denormal guards (around 1e-19)
// until it has seen that its input is silent; from then on silence in is exact zeros out.
TEST(ProcessingValidation, SilenceInGivesExactZerosOut)
{
    for (int quality = 0; quality < 4; ++quality)
    {
        auto plugin = loadPlugin(44100.0f, 512);
        applyQuality(*plugin, quality);
        AudioDriver audio(*plugin, 512);
        audio.processSilence(512);
        EXPECT_LT(audio.lastPeak(), 1e-15f);
        for (int block = 1; block < 50; ++block)
        {
            audio.processSilence(512);
            ASSERT_TRUE(audio.lastOutputIsExactlySilent()) << "quality " << quality << ", block " << block;
        }
        ++tally().cases;
    }
}

// A resume at a new sample rate, without closing the instance, runs at the new rate exactly as an
// instance that ran there all along. Filters, compressor and smoothers restart at a resume; the
// DC blockers and the dry ring carry over by design, so the two agree once those have settled.
TEST(ProcessingValidation, ResumeAtANewSampleRateWithoutARelease)
{
    for (int quality = 0; quality < 4; ++quality)
    {
        SCOPED_TRACE(qualityName(quality));
        auto moved = loadPlugin(44100.0f, 512);
        auto stayed = loadPlugin(96000.0f, 256);
        for (auto* plugin : {moved.get(), stayed.get()})
        {
            applyQuality(*plugin, quality);
            std::minstd_rand random(7);
            randomiseParameters(*plugin, random);
            AudioDriver before(*plugin, 512, plugin == moved.get() ? 99u : 98u);
            for (int block = 0; block < 40; ++block)
                before.processNoise(256);
            plugin->suspend();
        }
        moved->setSampleRate(96000.0f);
        moved->setBlockSize(256);
        moved->resume();
        stayed->resume();
        EXPECT_EQ(moved->sampleRate(), 96000.0f);

        AudioDriver afterMove(*moved, 256, 5);
        AudioDriver afterStay(*stayed, 256, 5);
        const int settled = 150; // 0.4 s
        float largestDifference = 0.0f;
        for (int block = 0; block < 2 * settled; ++block)
        {
            afterMove.processNoise(256);
            afterStay.processNoise(256);
            for (int channel = 0; block >= settled && channel < 2; ++channel)
                for (int i = 0; i < 256; ++i)
                    largestDifference = std::max(largestDifference, std::fabs(afterMove.output(channel)[i] -
                                                                              afterStay.output(channel)[i]));
        }
        EXPECT_LT(largestDifference, 1e-6f);
        EXPECT_EQ(moved->initialDelay(), quality == 0 ? 0 : 17);
        EXPECT_EQ(afterMove.allocations(), 0);
        ++tally().cases;
    }
}

namespace
{
// Music with the kinds of bad samples a broken file, a host bug or an upstream plug-in hands over,
// then silence. The plug-in reads a non-finite sample as silence, so the same music with those
// samples set to 0 is the reference, sample for sample. The largest floats and subnormals are
// finite input and reach both.
class HostileSignal
{
public:
    explicit HostileSignal(float sampleRate) : rate(sampleRate) {}

    // Everything after this is plain silence.
    long length() const { return at(0.6); }

    float sample(long n, int channel, bool zeroNonFinite) const
    {
        const float v = hostile(n, channel);
        return zeroNonFinite && !std::isfinite(v) ? 0.0f : v;
    }

private:
    long at(double seconds) const { return static_cast<long>(seconds * rate); }

    static float noise(long n, int channel)
    {
        uint32_t x = static_cast<uint32_t>(n) * 2654435761u + static_cast<uint32_t>(channel) * 40503u;
        x ^= x >> 15;
        x *= 2246822519u;
        x ^= x >> 13;
        return (static_cast<float>(x & 0xffffff) / 8388608.0f - 1.0f) * 0.9f;
    }

    static bool inside(long n, long first, long count) { return n >= first && n < first + count; }

    float hostile(long n, int channel) const
    {
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        constexpr float inf = std::numeric_limits<float>::infinity();
        constexpr float largest = std::numeric_limits<float>::max();
        const bool left = channel == 0;
        const float alternating = (n & 1) != 0 ? 1.0f : -1.0f;
        if (n < at(0.2)) // music with single and bursts of non-finite samples
        {
            if ((n == 100 && left) || inside(n, 3000, 256))
                return nan;
            if (n == 1000 || (n == 2000 && !left))
                return n == 1000 ? inf : -inf;
            if (left && inside(n, 5000, 64))
                return alternating * inf;
            return noise(n, channel);
        }
        if (n < at(0.4)) // the same inside silence
        {
            const long s = at(0.2);
            if (left && n == s + 500)
                return nan;
            return inside(n, s + 1000, 32) ? inf : 0.0f;
        }
        if (n < at(0.6)) // music with a burst of the largest floats, then subnormals in silence
        {
            const long s = at(0.4);
            if (inside(n, s + 100, 64))
                return alternating * largest;
            if (n >= at(0.55))
                return inside(n, at(0.55), 256) ? alternating * 1e-40f : 0.0f;
            return noise(n, channel);
        }
        return 0.0f;
    }

    float rate;
};

bool sameBits(const float* a, const float* b, int32_t count)
{
    return std::memcmp(a, b, static_cast<size_t>(count) * sizeof(float)) == 0;
}
} // namespace

TEST(ProcessingValidation, NonFiniteAndExtremeInputAtEveryRateBlockSizeAndQuality)
{
    uint32_t seed = 5000;
    double longestTail = 0.0;
    for (const ProcessingCase& c : everyCase())
    {
        SCOPED_TRACE(describe(c));
        ++seed;
        BlockSizes sizes(c.block, seed);
        auto hostile = loadPlugin(c.sampleRate, sizes.maximum());
        auto reference = loadPlugin(c.sampleRate, sizes.maximum());
        for (auto* plugin : {hostile.get(), reference.get()})
        {
            applyQuality(*plugin, c.quality);
            std::minstd_rand random(seed);
            randomiseParameters(*plugin, random);
        }
        AudioDriver hostileAudio(*hostile, sizes.maximum());
        AudioDriver referenceAudio(*reference, sizes.maximum());
        hostileAudio.acceptOutputUpTo(std::numeric_limits<float>::max());
        referenceAudio.acceptOutputUpTo(std::numeric_limits<float>::max());

        // Until the signal's end both instances run and must agree bit for bit.
        const HostileSignal signal(c.sampleRate);
        long n = 0;
        long firstDifference = -1;
        while (n < signal.length())
        {
            const int32_t frames = static_cast<int32_t>(std::min<long>(sizes.next(), signal.length() - n));
            for (int channel = 0; channel < 2; ++channel)
                for (int32_t i = 0; i < frames; ++i)
                {
                    hostileAudio.input(channel)[i] = signal.sample(n + i, channel, false);
                    referenceAudio.input(channel)[i] = signal.sample(n + i, channel, true);
                }
            hostileAudio.processGivenInput(frames);
            referenceAudio.processGivenInput(frames);
            for (int channel = 0; channel < 2 && firstDifference < 0; ++channel)
                if (!sameBits(hostileAudio.output(channel).data(), referenceAudio.output(channel).data(),
                              frames))
                    firstDifference = n;
            n += frames;
        }
        EXPECT_EQ(firstDifference, -1) << "differs from the zeroed input in the block at " << firstDifference;

        // Then silence: the channels switch themselves off and stay at exact zeros. The gate waits
        // for the output's decaying peak, which from the largest floats takes 17 to 23 s (a
        // resonant filter's ring from there can take twice as long).
        const SilenceTail tail = feedSilenceUntilExactZeros(hostileAudio, sizes, c.sampleRate, 60.0);
        EXPECT_TRUE(tail.settled) << "still sounding after 60 s of silence; " << settings(*hostile);
        longestTail = std::max(longestTail, tail.seconds);
        EXPECT_EQ(hostileAudio.faults().invalid, 0) << "first " << hostileAudio.faults().firstInvalid;
        EXPECT_EQ(hostileAudio.faults().subnormal, 0);
        EXPECT_EQ(hostileAudio.allocations(), 0);
        ++tally().cases;
    }
    std::printf("longest time from silence in to exact zeros out after extreme input: %.2f s\n", longestTail);
}

// Audacity's order: resumed at 44100 Hz, told the project's rate while running, given the values,
// then the first block. The first block starts at those values without allocating.
TEST(ProcessingValidation, RateAndValuesAfterResumeAllocateNothingInTheFirstBlock)
{
    std::minstd_rand random(23);
    for (int quality = 0; quality < 4; ++quality)
        for (float rate : {48000.0f, 192000.0f})
        {
            SCOPED_TRACE(qualityName(quality));
            auto plugin = loadPlugin(44100.0f, 8192);
            applyQuality(*plugin, quality);
            plugin->setSampleRate(rate);
            randomiseParameters(*plugin, random);
            AudioDriver audio(*plugin, 8192, 31);
            audio.processNoise(8192);
            audio.processNoise(8192);
            EXPECT_EQ(audio.faults().invalid, 0);
            EXPECT_EQ(audio.allocations(), 0);
            ++tally().cases;
        }
}
