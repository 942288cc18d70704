// kolvrane-host: the project's command-line VST 2.4 host. See helpText() in CommandLine.cpp.
#include "AudioFiles.h"
#include "CommandLine.h"
#include "EditorWindow.h"
#include "PluginReport.h"

#include "kolvrane/vsthost/OfflineRenderer.h"
#include "kolvrane/vsthost/VstPlugin.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>

namespace kolvrane::cli
{
namespace
{

constexpr double defaultSampleRate = 44100.0;

std::vector<uint8_t> readBinaryFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open state file " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write state file " + path);
}

int32_t resolveParameter(vsthost::VstPlugin& plugin, const std::string& target)
{
    if (target.find_first_not_of("0123456789") == std::string::npos)
    {
        const long index = std::stol(target);
        if (index >= plugin.numParams())
            throw UsageError("parameter index " + target + " is out of range (the plug-in has " +
                             std::to_string(plugin.numParams()) + ")");
        return static_cast<int32_t>(index);
    }
    if (const auto index = plugin.findParameter(target))
        return *index;
    throw UsageError("the plug-in has no parameter named \"" + target + "\" (see --info)");
}

void applyAssignments(vsthost::VstPlugin& plugin, const std::vector<ParameterAssignment>& assignments)
{
    for (const auto& assignment : assignments)
        plugin.setParameter(resolveParameter(plugin, assignment.target), assignment.value);
}

// The output file is stereo: a mono plug-in output goes to both sides, outputs past two are dropped.
vsthost::AudioChannels toStereo(vsthost::AudioChannels output)
{
    if (output.empty())
        throw std::runtime_error("the plug-in has no outputs");
    if (output.size() == 1)
        output.push_back(output.front());
    output.resize(2);
    return output;
}

void render(vsthost::VstPlugin& plugin, const HostOptions& options, const AudioFileContents& input,
            double rate)
{
    vsthost::OfflineRenderer renderer(plugin, options.blockSize);
    const auto tailFrames = static_cast<int64_t>(std::llround(options.tailSeconds * rate));
    auto result = renderer.render(input.channels, options.midiEvents, tailFrames);
    if (result.eventsOutsideRender > 0)
        std::cerr << "warning: " << result.eventsOutsideRender
                  << " MIDI event(s) lie beyond the rendered length and were not sent\n";
    writeFloatWav(options.outputPath, toStereo(std::move(result.output)), rate);
}

int run(const HostOptions& options)
{
    AudioFileContents input;
    if (options.renders())
        input = readAudioFile(options.inputPath);
    const double rate =
        options.sampleRate.value_or(input.sampleRate > 0.0 ? input.sampleRate : defaultSampleRate);

    auto plugin = vsthost::VstPlugin::load(options.pluginPath);
    plugin->setSampleRate(static_cast<float>(rate));
    plugin->setBlockSize(options.blockSize);
    if (!options.loadStatePath.empty())
        plugin->setChunk(readBinaryFile(options.loadStatePath));
    applyAssignments(*plugin, options.assignments);
    plugin->resume();

    if (options.info)
        printPluginReport(*plugin, std::cout);
    if (options.renders())
        render(*plugin, options, input, rate);
    if (options.opensEditor())
        runEditorWindow(*plugin, {options.screenshotPath});
    plugin->suspend();

    if (!options.saveStatePath.empty())
    {
        const auto state = plugin->getChunk();
        if (state.empty())
            throw std::runtime_error("the plug-in returned no state chunk");
        writeBinaryFile(options.saveStatePath, state);
    }
    return 0;
}

} // namespace
} // namespace kolvrane::cli

int main(int argc, char* argv[])
{
    using namespace kolvrane::cli;
    try
    {
        const HostOptions options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help)
        {
            std::cout << helpText();
            return 0;
        }
        return run(options);
    }
    catch (const UsageError& error)
    {
        std::cerr << "kolvrane-host: " << error.what() << "\n(see kolvrane-host --help)\n";
        return 2;
    }
    catch (const std::exception& error)
    {
        std::cerr << "kolvrane-host: " << error.what() << "\n";
        return 1;
    }
}
