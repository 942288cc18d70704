#include "PluginReport.h"

#include "kolvrane/vsthost/PluginInfo.h"
#include "kolvrane/vsthost/VstPlugin.h"

#include <cstdio>
#include <iomanip>
#include <string>

namespace kolvrane::cli
{
namespace
{

std::string hex(int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof(text), "0x%llX",
                  static_cast<unsigned long long>(static_cast<uint32_t>(value)));
    return text;
}

std::string categoryName(intptr_t category)
{
    static const char* const names[] = {"Unknown",     "Effect",         "Synth",  "Analysis",
                                        "Mastering",   "Spacializer",    "RoomFx", "SurroundFx",
                                        "Restoration", "OfflineProcess", "Shell",  "Generator"};
    if (category >= 0 && category < static_cast<intptr_t>(std::size(names)))
        return names[category];
    return "?";
}

std::string canDoAnswer(intptr_t answer)
{
    if (answer > 0)
        return std::to_string(answer) + " (yes)";
    if (answer < 0)
        return std::to_string(answer) + " (no)";
    return "0 (don't know)";
}

void printField(std::ostream& out, const std::string& name, const std::string& value)
{
    out << std::left << std::setw(20) << (name + ":") << value << "\n";
}

void printPins(std::ostream& out, vsthost::VstPlugin& plugin, bool inputs)
{
    const int32_t count = inputs ? plugin.numInputs() : plugin.numOutputs();
    for (int32_t pin = 0; pin < count; ++pin)
    {
        const auto properties = inputs ? plugin.inputProperties(pin) : plugin.outputProperties(pin);
        out << "  " << (inputs ? "in " : "out ") << pin << ": ";
        if (!properties)
        {
            out << "(not answered)\n";
            continue;
        }
        out << "label \"" << properties->label << "\" short \"" << properties->shortLabel << "\" flags "
            << hex(properties->flags) << (properties->isActive() ? " active" : "")
            << (properties->isStereo() ? " stereo" : "") << " arrangement " << properties->arrangementType
            << "\n";
    }
}

void printIdentity(std::ostream& out, vsthost::VstPlugin& plugin)
{
    printField(out, "Plug-in", plugin.libraryPath());
    printField(out, "Effect name", plugin.effectName());
    printField(out, "Vendor", plugin.vendorString());
    printField(out, "Product", plugin.productString());
    const intptr_t vendorVersion = plugin.vendorVersion();
    printField(out, "Vendor version",
               std::to_string(vendorVersion) + " (" +
                   vsthost::formatVstVersion(static_cast<int32_t>(vendorVersion)) + ")");
    printField(out, "Unique ID",
               "'" + vsthost::uniqueIdToString(plugin.uniqueId()) + "' " + hex(plugin.uniqueId()));
    printField(out, "Version",
               std::to_string(plugin.version()) + " (" + vsthost::formatVstVersion(plugin.version()) + ")");
    printField(out, "VST version", std::to_string(plugin.vstVersion()));
    const intptr_t category = plugin.plugCategory();
    printField(out, "Category", std::to_string(category) + " (" + categoryName(category) + ")");
    printField(out, "Inputs / outputs",
               std::to_string(plugin.numInputs()) + " / " + std::to_string(plugin.numOutputs()));
    printField(out, "Programs", std::to_string(plugin.numPrograms()));
    printField(out, "Parameters", std::to_string(plugin.numParams()));
    std::string flags = hex(plugin.flags());
    for (const auto& name : vsthost::decodeEffectFlags(plugin.flags()))
        flags += " " + name;
    printField(out, "Flags", flags);
    printField(out, "Initial delay", std::to_string(plugin.initialDelay()) + " samples");
    printField(out, "Tail size", std::to_string(plugin.tailSize()));
    const auto keyName = plugin.midiKeyName(60);
    printField(out, "MIDI key name (60)", keyName ? "\"" + *keyName + "\"" : "(not answered)");
}

void printCapabilities(std::ostream& out, vsthost::VstPlugin& plugin)
{
    out << "canDo:\n";
    for (const auto& question : vsthost::standardPlugCanDoQuestions())
        out << "  " << std::left << std::setw(32) << question << canDoAnswer(plugin.canDo(question)) << "\n";
}

void printParameters(std::ostream& out, vsthost::VstPlugin& plugin)
{
    out << "Parameters:\n";
    for (int32_t i = 0; i < plugin.numParams(); ++i)
    {
        const std::string label = plugin.parameterLabel(i);
        out << "  " << std::right << std::setw(3) << i << "  " << std::left << std::setw(24)
            << ("\"" + plugin.parameterName(i) + "\"") << "  " << std::fixed << std::setprecision(6)
            << plugin.getParameter(i) << "  \"" << plugin.parameterDisplay(i) << "\""
            << (label.empty() ? "" : " [" + label + "]") << "\n";
        out.unsetf(std::ios::floatfield);
    }
}

} // namespace

void printPluginReport(vsthost::VstPlugin& plugin, std::ostream& out)
{
    printIdentity(out, plugin);
    out << "Input pins:\n";
    printPins(out, plugin, true);
    out << "Output pins:\n";
    printPins(out, plugin, false);
    printCapabilities(out, plugin);
    printParameters(out, plugin);
}

} // namespace kolvrane::cli
