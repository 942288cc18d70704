#include "ValidationSupport.h"

#include "../framework/AllocationCounter.h"
#include "../support/StateChunk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <unistd.h>

using kolvrane::vsthost::VstPlugin;

namespace validation
{

const std::string& pluginFolder()
{
    static const std::string folder = []
    {
        namespace fs = std::filesystem;
        const fs::path dir =
            fs::temp_directory_path() / ("kolvrane-validation-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        fs::copy_file(KOLVRANE_PLUGIN_PATH, dir / "Kolvrane.so", fs::copy_options::overwrite_existing);
        return dir.string();
    }();
    return folder;
}

std::string pluginPath()
{
    return pluginFolder() + "/Kolvrane.so";
}

std::unique_ptr<VstPlugin> loadPlugin(float sampleRate, int32_t maxBlock)
{
    auto plugin = VstPlugin::load(pluginPath());
    plugin->prepare(sampleRate, maxBlock);
    ++tally().instances;
    return plugin;
}

const char* qualityName(int quality)
{
    static const char* const names[] = {"low", "medium", "high", "highest"};
    return names[quality];
}

std::vector<uint8_t> qualityChunk(int quality)
{
    const std::string xml = std::string("<PluginState application=\"Kolvrane\"><UniqueData quality=\"") +
                            qualityName(quality) + "\"/></PluginState>";
    return wrapStateText(xml);
}

AudioDriver::AudioDriver(VstPlugin& p, int32_t maxBlock, uint32_t seed)
    : plugin(p), inputs(2, std::vector<float>(static_cast<size_t>(maxBlock))),
      outputs(2, std::vector<float>(static_cast<size_t>(maxBlock))), random(seed)
{
    for (int c = 0; c < 2; ++c)
    {
        inputPointers.push_back(inputs[static_cast<size_t>(c)].data());
        outputPointers.push_back(outputs[static_cast<size_t>(c)].data());
    }
}

AudioDriver::~AudioDriver()
{
    tally().samplesProcessed += samples;
    tally().audioThreadAllocations += allocationCount;
    tally().invalidSamples += seen.invalid;
    tally().subnormalSamples += seen.subnormal;
    // The run's peak figure stands for musical input, not for the float range's edge.
    if (runawayLimit <= 1e6f)
        tally().raisePeak(seen.peak);
}

void AudioDriver::processNoise(int32_t frameCount, float level)
{
    std::uniform_real_distribution<float> sample(-level, level);
    for (auto& channel : inputs)
        for (int32_t i = 0; i < frameCount; ++i)
            channel[static_cast<size_t>(i)] = sample(random);
    process(frameCount);
}

void AudioDriver::processSilence(int32_t frameCount)
{
    for (auto& channel : inputs)
        std::fill(channel.begin(), channel.begin() + frameCount, 0.0f);
    process(frameCount);
}

void AudioDriver::process(int32_t frameCount)
{
    frames = frameCount;
    // Garbage in the outputs: the plug-in must overwrite every sample it is given.
    for (auto& channel : outputs)
        std::fill(channel.begin(), channel.begin() + frameCount, std::numeric_limits<float>::quiet_NaN());
    {
        AllocationCounter counter;
        plugin.processReplacing(inputPointers.data(), outputPointers.data(), frameCount);
        allocationCount += counter.count();
    }
    samples += frameCount;
    inspectOutput();
}

void AudioDriver::inspectOutput()
{
    for (const auto& channel : outputs)
        for (int32_t i = 0; i < frames; ++i)
        {
            const float v = channel[static_cast<size_t>(i)];
            // The loudest settings (three resonant post filters after a driven shaper, output at
            // +12 dB) reach a few thousand under fast automation; far beyond that the output has
            // run away.
            if (!std::isfinite(v) || std::fabs(v) > runawayLimit)
            {
                if (seen.invalid++ == 0)
                    seen.firstInvalid = v;
            }
            else if (std::fpclassify(v) == FP_SUBNORMAL)
                ++seen.subnormal;
            else
                seen.peak = std::max(seen.peak, std::fabs(v));
        }
}

bool AudioDriver::lastOutputIsExactlySilent() const
{
    for (const auto& channel : outputs)
        for (int32_t i = 0; i < frames; ++i)
            if (channel[static_cast<size_t>(i)] != 0.0f)
                return false;
    return true;
}

float AudioDriver::lastPeak() const
{
    float peak = 0.0f;
    for (const auto& channel : outputs)
        for (int32_t i = 0; i < frames; ++i)
            peak = std::max(peak, std::fabs(channel[static_cast<size_t>(i)]));
    return peak;
}

void randomiseParameters(VstPlugin& plugin, std::minstd_rand& random)
{
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int32_t index = 0; index < hostParameterCount; ++index)
        plugin.setParameter(index, value(random));
}

Tally& tally()
{
    static Tally instance;
    return instance;
}

} // namespace validation
