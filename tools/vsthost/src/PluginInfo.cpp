#include "kolvrane/vsthost/PluginInfo.h"

#include "kolvrane/vsthost/Vst2Interface.h"

#include <cstdio>
#include <stdexcept>

namespace kolvrane::vsthost
{

std::string uniqueIdToString(int32_t uniqueId)
{
    const auto bits = static_cast<uint32_t>(uniqueId);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const auto c = static_cast<char>((bits >> shift) & 0xffu);
        text += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return text;
}

int32_t uniqueIdFromString(const std::string& fourChars)
{
    if (fourChars.size() != 4)
        throw std::invalid_argument("a unique ID has four characters: " + fourChars);
    uint32_t bits = 0;
    for (char c : fourChars)
        bits = (bits << 8) | static_cast<unsigned char>(c);
    return static_cast<int32_t>(bits);
}

std::vector<std::string> decodeEffectFlags(int32_t flags)
{
    static const struct
    {
        int32_t bit;
        const char* name;
    } known[] = {{Vst2::effFlagsHasEditor, "HasEditor"},
                 {Vst2::effFlagsHasClip, "HasClip"},
                 {Vst2::effFlagsHasVu, "HasVu"},
                 {Vst2::effFlagsCanMono, "CanMono"},
                 {Vst2::effFlagsCanReplacing, "CanReplacing"},
                 {Vst2::effFlagsProgramChunks, "ProgramChunks"},
                 {Vst2::effFlagsIsSynth, "IsSynth"},
                 {Vst2::effFlagsNoSoundInStop, "NoSoundInStop"},
                 {Vst2::effFlagsCanDoubleReplacing, "CanDoubleReplacing"}};

    std::vector<std::string> names;
    for (int bitIndex = 0; bitIndex < 32; ++bitIndex)
    {
        const auto bit = static_cast<int32_t>(1u << bitIndex);
        if ((flags & bit) == 0)
            continue;
        std::string name;
        for (const auto& entry : known)
            if (entry.bit == bit)
                name = entry.name;
        if (name.empty())
        {
            char hex[16];
            std::snprintf(hex, sizeof(hex), "0x%x", static_cast<unsigned>(bit));
            name = hex;
        }
        names.push_back(name);
    }
    return names;
}

const std::vector<std::string>& standardPlugCanDoQuestions()
{
    static const std::vector<std::string> questions = {"sendVstEvents",
                                                       "sendVstMidiEvent",
                                                       "sendVstMidiEvents",
                                                       "receiveVstEvents",
                                                       "receiveVstMidiEvent",
                                                       "receiveVstMidiEvents",
                                                       "receiveVstTimeInfo",
                                                       "offline",
                                                       "midiProgramNames",
                                                       "bypass",
                                                       "conformsToWindowRules",
                                                       "openCloseAnyThread",
                                                       "noRealTime",
                                                       "plugAsChannelInsert",
                                                       "plugAsSend",
                                                       "mixDryWet",
                                                       "1in1out",
                                                       "1in2out",
                                                       "2in1out",
                                                       "2in2out",
                                                       "2in4out",
                                                       "4in2out",
                                                       "4in4out",
                                                       "4in8out",
                                                       "8in4out",
                                                       "8in8out",
                                                       "midiKeyBasedInstrumentControl",
                                                       "midiSingleNoteTuningChange",
                                                       "supportsViewDpiScaling",
                                                       "hasCockosExtensions",
                                                       "MPE"};
    return questions;
}

std::string formatVstVersion(int32_t version)
{
    if (version < 10)
        return std::to_string(version);
    const auto bits = static_cast<uint32_t>(version);
    return std::to_string(bits >> 16) + "." + std::to_string((bits >> 8) & 0xffu) + "." +
           std::to_string(bits & 0xffu);
}

} // namespace kolvrane::vsthost
