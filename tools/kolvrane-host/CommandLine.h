#pragma once

#include "kolvrane/vsthost/MidiEvent.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kolvrane::cli
{

// A malformed command line; main prints it with a pointer to --help and exits with status 2.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct ParameterAssignment
{
    std::string target; // a parameter name or a decimal index
    float value = 0.0f; // normalized 0..1
};

struct HostOptions
{
    bool help = false;
    std::string pluginPath;
    bool info = false;
    std::vector<ParameterAssignment> assignments;
    std::string inputPath;
    std::string outputPath;
    std::optional<double> sampleRate;
    int blockSize = 512;
    std::vector<vsthost::MidiEvent> midiEvents;
    std::string loadStatePath;
    std::string saveStatePath;
    double tailSeconds = 0.0;
    bool editor = false;
    std::string screenshotPath;

    bool renders() const { return !inputPath.empty(); }
    bool opensEditor() const { return editor || !screenshotPath.empty(); }
};

// Parses and checks the arguments after the program name. Throws UsageError.
HostOptions parseCommandLine(const std::vector<std::string>& arguments);

// "SAMPLE:STATUS:DATA1:DATA2"; numbers are decimal or 0x-prefixed hexadecimal.
vsthost::MidiEvent parseMidiEvent(const std::string& text);
ParameterAssignment parseAssignment(const std::string& text);

std::string helpText();

} // namespace kolvrane::cli
