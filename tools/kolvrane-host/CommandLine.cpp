#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace kolvrane::cli
{
namespace
{

long long parseInteger(const std::string& text, const std::string& what)
{
    if (text.empty())
        throw UsageError(what + " is empty");
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (*end != '\0' || errno == ERANGE)
        throw UsageError(what + " is not an integer: " + text);
    return value;
}

double parseNumber(const std::string& text, const std::string& what)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        throw UsageError(what + " is not a number: " + text);
    return value;
}

std::vector<std::string> splitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t found; (found = text.find(separator, start)) != std::string::npos; start = found + 1)
        parts.push_back(text.substr(start, found - start));
    parts.push_back(text.substr(start));
    return parts;
}

uint8_t parseByte(const std::string& text, const std::string& what, long long low, long long high)
{
    const long long value = parseInteger(text, what);
    if (value < low || value > high)
        throw UsageError(what + " must be " + std::to_string(low) + ".." + std::to_string(high) + ": " +
                         text);
    return static_cast<uint8_t>(value);
}

void checkConsistency(const HostOptions& options)
{
    if (options.pluginPath.empty())
        throw UsageError("--plugin is required");
    if (options.inputPath.empty() != options.outputPath.empty())
        throw UsageError("--in and --out go together");
    if (!options.info && !options.renders() && options.saveStatePath.empty() && !options.opensEditor())
        throw UsageError("nothing to do: give --info, --in/--out, --save-state, --editor or --screenshot");
    if (!options.renders() && (!options.midiEvents.empty() || options.tailSeconds > 0.0))
        throw UsageError("--midi and --tail need --in/--out");
}

} // namespace

vsthost::MidiEvent parseMidiEvent(const std::string& text)
{
    const auto parts = splitAt(text, ':');
    if (parts.size() != 4)
        throw UsageError("--midi wants SAMPLE:STATUS:DATA1:DATA2, got " + text);
    vsthost::MidiEvent event;
    event.frame = parseInteger(parts[0], "MIDI sample position");
    if (event.frame < 0)
        throw UsageError("MIDI sample position is negative: " + text);
    event.status = parseByte(parts[1], "MIDI status", 0x80, 0xff);
    event.data1 = parseByte(parts[2], "MIDI data byte", 0, 127);
    event.data2 = parseByte(parts[3], "MIDI data byte", 0, 127);
    return event;
}

ParameterAssignment parseAssignment(const std::string& text)
{
    // The value never contains '=', a name might: split at the last one.
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("--set wants NAME_OR_INDEX=VALUE, got " + text);
    ParameterAssignment assignment;
    assignment.target = text.substr(0, equals);
    const double value = parseNumber(text.substr(equals + 1), "parameter value");
    if (value < 0.0 || value > 1.0)
        throw UsageError("parameter values are normalized, 0 to 1: " + text);
    assignment.value = static_cast<float>(value);
    return assignment;
}

HostOptions parseCommandLine(const std::vector<std::string>& arguments)
{
    HostOptions options;
    using Handler = std::function<void(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--plugin", [&](const std::string& v) { options.pluginPath = v; }},
        {"--set", [&](const std::string& v) { options.assignments.push_back(parseAssignment(v)); }},
        {"--in", [&](const std::string& v) { options.inputPath = v; }},
        {"--out", [&](const std::string& v) { options.outputPath = v; }},
        {"--rate",
         [&](const std::string& v)
         {
             options.sampleRate = parseNumber(v, "--rate");
             if (*options.sampleRate < 1000.0 || *options.sampleRate > 1.0e6)
                 throw UsageError("--rate must be 1000..1000000 Hz: " + v);
         }},
        {"--block",
         [&](const std::string& v)
         {
             const long long size = parseInteger(v, "--block");
             if (size < 1 || size > 65536)
                 throw UsageError("--block must be 1..65536: " + v);
             options.blockSize = static_cast<int>(size);
         }},
        {"--midi", [&](const std::string& v) { options.midiEvents.push_back(parseMidiEvent(v)); }},
        {"--load-state", [&](const std::string& v) { options.loadStatePath = v; }},
        {"--save-state", [&](const std::string& v) { options.saveStatePath = v; }},
        {"--screenshot", [&](const std::string& v) { options.screenshotPath = v; }},
        {"--tail",
         [&](const std::string& v)
         {
             options.tailSeconds = parseNumber(v, "--tail");
             if (options.tailSeconds < 0.0 || options.tailSeconds > 3600.0)
                 throw UsageError("--tail must be 0..3600 seconds: " + v);
         }},
    };

    for (size_t i = 0; i < arguments.size(); ++i)
    {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }

        if ((name == "--help" || name == "-h") && !inlineValue)
        {
            options.help = true;
            return options;
        }
        if (name == "--info" && !inlineValue)
        {
            options.info = true;
            continue;
        }
        if (name == "--editor" && !inlineValue)
        {
            options.editor = true;
            continue;
        }
        const auto handler = withValue.find(name);
        if (handler == withValue.end())
            throw UsageError("unknown option " + arguments[i]);
        if (!inlineValue && i + 1 >= arguments.size())
            throw UsageError(name + " needs a value");
        handler->second(inlineValue ? *inlineValue : arguments[++i]);
    }

    checkConsistency(options);
    return options;
}

std::string helpText()
{
    return R"(kolvrane-host: load a VST 2.4 plug-in, inspect it and render audio through it.

Usage:
  kolvrane-host --plugin PLUGIN.so --info [--set ...] [--load-state FILE]
  kolvrane-host --plugin PLUGIN.so --in IN.wav --out OUT.wav [options]
  kolvrane-host --plugin PLUGIN.so [--load-state FILE] [--set ...] --save-state FILE
  kolvrane-host --plugin PLUGIN.so [--load-state FILE] [--set ...] --editor | --screenshot FILE.png

Options (a value may also follow as --option=value):
  --plugin PATH          the plug-in module to load (required)
  --info                 print identity, flags, capability answers and every parameter
  --set NAME_OR_INDEX=V  set a parameter to the normalized value V (0..1) before rendering;
                         repeatable, applied in order after --load-state; names match exactly,
                         else ignoring case
  --in IN.wav            input audio, WAV or AIFF; a mono file feeds both inputs
  --out OUT.wav          output audio: 32-bit float WAV, stereo, at the plug-in's sample rate
  --rate HZ              the plug-in's sample rate (no resampling); default: the input file's rate
  --block N              block size in frames, 1..65536 (default 512)
  --midi S:ST:D1:D2      a MIDI message at sample S from the start of the input, e.g.
                         --midi 22050:0xB0:7:0; repeatable; sent with effProcessEvents in the block
                         that contains S, with deltaFrames relative to that block
  --tail SECONDS         render this much silence after the input (default 0)
  --load-state FILE      restore the plug-in's bank chunk from FILE before anything else
  --save-state FILE      write the plug-in's bank chunk to FILE at the end
  --editor               open the plug-in's editor in an X window until it is closed
  --screenshot FILE.png  open the editor, let it paint, write its pixels as PNG and close it
  -h, --help             show this text

Order of work: load and open, set sample rate and block size, --load-state, --set, resume,
--info, render, --editor or --screenshot, suspend, --save-state. The editor needs an X display
(under xvfb-run without one).

Exit status: 0 success, 1 failure (plug-in or file), 2 bad command line.
)";
}

} // namespace kolvrane::cli
