// The library's only export. JUCE's wrapper builds the VST record; this layer corrects what a
// host sees where the product differs from the wrapper's defaults: no programs, no "silent
// while stopped" claim, its own capability answers, pin labels, text lengths and key names.
#include <juce_core/juce_core.h>

#include <cstring>

#include "framework/platform/EditorDisplayErrors.h"
#include "framework/processor/PluginInstances.h"
#include "framework/vst2/pluginterfaces/vst2.x/aeffectx.h"

extern "C" AEffect* juceVstPluginMain(audioMasterCallback audioMaster);

namespace
{
constexpr int maxNameLength = 15;
constexpr int maxDisplayLength = 23;

AEffectDispatcherProc juceDispatcher = nullptr;

void copyCut(const char* source, void* destination, int maximumCharacters)
{
    const juce::String text = juce::String::fromUTF8(source).substring(0, maximumCharacters);
    text.copyToUTF8(static_cast<char*>(destination), static_cast<size_t>(maximumCharacters * 4 + 1));
}

VstIntPtr answerCanDo(const char* question)
{
    if (question == nullptr)
        return 0;

    static const char* const yes[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
                                      "receiveVstTimeInfo", "conformsToWindowRules"};
    static const char* const no[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstMidiEvents",
                                     "openCloseAnyThread"};
    for (auto* text : yes)
        if (std::strcmp(question, text) == 0)
            return 1;
    for (auto* text : no)
        if (std::strcmp(question, text) == 0)
            return -1;
    return 0;
}

VstIntPtr answerPinProperties(AEffect* effect, VstInt32 opcode, VstInt32 index, void* ptr)
{
    const VstInt32 channels = opcode == effGetInputProperties ? effect->numInputs : effect->numOutputs;
    if (ptr == nullptr || index < 0 || index >= channels)
        return 0;

    auto& pin = *static_cast<VstPinProperties*>(ptr);
    std::memset(&pin, 0, sizeof(pin));
    const juce::String label(index + 1);
    label.copyToUTF8(pin.label, sizeof(pin.label));
    label.copyToUTF8(pin.shortLabel, sizeof(pin.shortLabel));
    pin.flags = kVstPinIsActive | kVstPinUseSpeaker;
    // Both pins of a side form one stereo pair; the flag marks the pair's first pin.
    if (index % 2 == 0)
        pin.flags |= kVstPinIsStereo;
    pin.arrangementType = kSpeakerArrStereo;
    return 1;
}

VstIntPtr dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode)
    {
    case effCanDo:
        return answerCanDo(static_cast<const char*>(ptr));

    case effGetInputProperties:
    case effGetOutputProperties:
        return answerPinProperties(effect, opcode, index, ptr);

    case effGetMidiKeyName:
        if (ptr != nullptr)
            static_cast<MidiKeyName*>(ptr)->keyName[0] = 0;
        return 0;

    case effGetParamName:
    case effGetParamDisplay:
    {
        if (ptr == nullptr)
            return 0;
        char text[256] = {};
        const VstIntPtr result = juceDispatcher(effect, opcode, index, value, text, opt);
        copyCut(text, ptr, opcode == effGetParamName ? maxNameLength : maxDisplayLength);
        return result;
    }

    case effEditOpen:
    {
        EditorDisplayErrors::editorAttaching(effect);
        const VstIntPtr opened = juceDispatcher(effect, opcode, index, value, ptr, opt);
        if (opened == 0)
            EditorDisplayErrors::editorDetached(effect);
        return opened;
    }

    case effEditClose:
    {
        const VstIntPtr result = juceDispatcher(effect, opcode, index, value, ptr, opt);
        EditorDisplayErrors::editorDetached(effect);
        return result;
    }

    case effSetSampleRate:
    {
        // Hosts may set the rate while the plug-in runs (Audacity resumes at 44100 Hz, then sets
        // the project's rate); the processor applies it before the next block.
        const VstIntPtr result = juceDispatcher(effect, opcode, index, value, ptr, opt);
        PluginInstances::sampleRateChanged(effect, static_cast<double>(opt));
        return result;
    }

    case effClose:
    {
        PluginInstances::remove(effect);
        // A host may close the plug-in with its editor still open. The record is gone afterwards;
        // its address only names the editor.
        const VstIntPtr result = juceDispatcher(effect, opcode, index, value, ptr, opt);
        EditorDisplayErrors::editorDetached(effect);
        return result;
    }

    default:
        return juceDispatcher(effect, opcode, index, value, ptr, opt);
    }
}
} // namespace

#if defined(_WIN32)
#define KOLVRANE_EXPORT extern "C" __declspec(dllexport)
#else
#define KOLVRANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

KOLVRANE_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster)
{
    PluginInstances::takeCreated(); // nothing left over from a start-up that failed
    AEffect* effect = juceVstPluginMain(audioMaster);
    auto* plugin = PluginInstances::takeCreated();
    if (effect == nullptr)
        return nullptr;
    if (plugin != nullptr)
        PluginInstances::add(effect, plugin);

    juceDispatcher = effect->dispatcher;
    effect->dispatcher = dispatcher;
    effect->numPrograms = 0;
    effect->numInputs = 2;
    effect->numOutputs = 2;
    effect->flags &= ~(effFlagsNoSoundInStop | effFlagsCanDoubleReplacing | effFlagsIsSynth);
    effect->flags |= effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks;
    return effect;
}
