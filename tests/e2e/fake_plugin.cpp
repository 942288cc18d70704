// A minimal VST 2.4 effect for testing the host library: stereo gain with MIDI CC control, latency
// reporting and state chunks. Written against the project's own interface headers only.
#include "FakePluginProtocol.h"
#include "pluginterfaces/vst2.x/aeffectx.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

#ifdef FAKE_PLUGIN_REFUSES
constexpr bool refusesToLoad = true; // the variant whose entry point returns null
#else
constexpr bool refusesToLoad = false;
#endif
constexpr int maxQueuedEvents = 512;
constexpr char bankMagic[4] = {'F', 'K', 'B', '1'};
constexpr char programMagic[4] = {'F', 'K', 'P', '1'};

struct QueuedEvent
{
    int frame;
    unsigned char bytes[3];
};

struct FakeEffect
{
    AEffect effect{};
    audioMasterCallback host = nullptr;
    float parameters[fake_plugin::parameterCount] = {0.5f, 0.0f, 0.25f};
    QueuedEvent queue[maxQueuedEvents]{};
    int queued = 0;
    int eventsReceived = 0;
    int lastDeltaFrames = -1;
    double lastSamplePosition = -1.0;
    VstIntPtr hostVersion = 0;
    std::vector<unsigned char> chunk;
};

FakeEffect& fakeOf(AEffect* effect)
{
    return *static_cast<FakeEffect*>(effect->object);
}

VstIntPtr callHost(FakeEffect& fake, VstInt32 opcode, VstInt32 index = 0, float opt = 0.0f)
{
    return fake.host(&fake.effect, opcode, index, 0, nullptr, opt);
}

void copyText(void* destination, const char* text)
{
    // Deliberately unbounded where the text is long: a host must offer generous buffers.
    std::strcpy(static_cast<char*>(destination), text);
}

void applyLatency(FakeEffect& fake)
{
    const auto delay =
        static_cast<VstInt32>(std::lround(fake.parameters[fake_plugin::latencyParameter] * 100.0f));
    if (delay == fake.effect.initialDelay)
        return;
    fake.effect.initialDelay = delay;
    callHost(fake, audioMasterIOChanged);
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value)
{
    FakeEffect& fake = fakeOf(effect);
    if (index < 0 || index >= fake_plugin::parameterCount)
        return;
    fake.parameters[index] = value;
    if (index == fake_plugin::latencyParameter)
        applyLatency(fake);
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index)
{
    FakeEffect& fake = fakeOf(effect);
    return index >= 0 && index < fake_plugin::parameterCount ? fake.parameters[index] : 0.0f;
}

void parameterText(FakeEffect& fake, VstInt32 opcode, VstInt32 index, void* ptr)
{
    static const char* const names[] = {"Gain", "Latency", "A Rather Long Parameter Name"};
    if (index < 0 || index >= fake_plugin::parameterCount)
        return;
    char text[128];
    if (opcode == effGetParamName)
        copyText(ptr, names[index]);
    else if (opcode == effGetParamLabel)
        copyText(ptr, index == fake_plugin::gainParameter ? "x" : "");
    else if (index == fake_plugin::latencyParameter)
    {
        std::snprintf(text, sizeof(text), "%d smp", static_cast<int>(fake.effect.initialDelay));
        copyText(ptr, text);
    }
    else if (index == fake_plugin::gainParameter)
    {
        std::snprintf(text, sizeof(text), "%.2f", fake.parameters[index] * 2.0);
        copyText(ptr, text);
    }
    else
    {
        std::snprintf(text, sizeof(text), "%.3f and a display text far beyond the limit",
                      fake.parameters[index]);
        copyText(ptr, text);
    }
}

VstIntPtr storeChunk(FakeEffect& fake, bool program, void* ptr)
{
    fake.chunk.assign(program ? programMagic : bankMagic, (program ? programMagic : bankMagic) + 4);
    const auto* bytes = reinterpret_cast<const unsigned char*>(fake.parameters);
    fake.chunk.insert(fake.chunk.end(), bytes, bytes + sizeof(fake.parameters));
    *static_cast<void**>(ptr) = fake.chunk.data();
    return static_cast<VstIntPtr>(fake.chunk.size());
}

VstIntPtr restoreChunk(FakeEffect& fake, bool program, VstIntPtr size, const void* ptr)
{
    // Malformed data leaves the state as it was.
    if (ptr == nullptr || size != static_cast<VstIntPtr>(4 + sizeof(fake.parameters)) ||
        std::memcmp(ptr, program ? programMagic : bankMagic, 4) != 0)
        return 0;
    std::memcpy(fake.parameters, static_cast<const unsigned char*>(ptr) + 4, sizeof(fake.parameters));
    applyLatency(fake);
    callHost(fake, audioMasterUpdateDisplay);
    return 1;
}

VstIntPtr queueEvents(FakeEffect& fake, const VstEvents* events)
{
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = events->events[i];
        if (event->type != kVstMidiType || fake.queued >= maxQueuedEvents)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        QueuedEvent& slot = fake.queue[fake.queued++];
        slot.frame = midi->deltaFrames;
        for (int b = 0; b < 3; ++b)
            slot.bytes[b] = static_cast<unsigned char>(midi->midiData[b]);
        ++fake.eventsReceived;
        fake.lastDeltaFrames = midi->deltaFrames;
    }
    return 1;
}

VstIntPtr pinProperties(VstInt32 index, void* ptr)
{
    if (index < 0 || index > 1)
        return 0;
    auto* pin = static_cast<VstPinProperties*>(ptr);
    std::snprintf(pin->label, sizeof(pin->label), "%d", static_cast<int>(index + 1));
    std::snprintf(pin->shortLabel, sizeof(pin->shortLabel), "%d", static_cast<int>(index + 1));
    pin->flags = kVstPinIsActive | kVstPinIsStereo;
    pin->arrangementType = kSpeakerArrStereo;
    return 1;
}

VstIntPtr canDo(const char* question)
{
    if (std::strcmp(question, "receiveVstEvents") == 0 || std::strcmp(question, "receiveVstMidiEvent") == 0)
        return 1;
    if (std::strcmp(question, "sendVstEvents") == 0)
        return -1;
    return 0;
}

VstIntPtr vendorQuery(const FakeEffect& fake, VstInt32 index)
{
    switch (index)
    {
    case fake_plugin::querySamplePosition:
        return static_cast<VstIntPtr>(fake.lastSamplePosition);
    case fake_plugin::queryHostVersion:
        return fake.hostVersion;
    case fake_plugin::queryEventCount:
        return fake.eventsReceived;
    case fake_plugin::queryLastDeltaFrames:
        return fake.lastDeltaFrames;
    default:
        return 0;
    }
}

VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float /*opt*/)
{
    FakeEffect& fake = fakeOf(effect);
    switch (opcode)
    {
    case effClose:
        delete &fake;
        return 1;
    case effGetParamName:
    case effGetParamLabel:
    case effGetParamDisplay:
        parameterText(fake, opcode, index, ptr);
        return 0;
    case effGetChunk:
        return storeChunk(fake, index != 0, ptr);
    case effSetChunk:
        return restoreChunk(fake, index != 0, value, ptr);
    case effProcessEvents:
        return queueEvents(fake, static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated:
        return index >= 0 && index < fake_plugin::parameterCount ? 1 : 0;
    case effGetInputProperties:
    case effGetOutputProperties:
        return pinProperties(index, ptr);
    case effGetPlugCategory:
        return kPlugCategEffect;
    case effGetEffectName:
        copyText(ptr, "Fake Gain");
        return 1;
    case effGetVendorString:
        copyText(ptr, "Kolvrane Tests");
        return 1;
    case effGetProductString:
        copyText(ptr, "Fake Gain Product");
        return 1;
    case effGetVendorVersion:
        return 0x10203;
    case effVendorSpecific:
        return vendorQuery(fake, index);
    case effCanDo:
        return canDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return kVstVersion;
    case effGetMidiKeyName:
    {
        auto* key = static_cast<MidiKeyName*>(ptr);
        std::snprintf(key->keyName, sizeof(key->keyName), "Key %d", static_cast<int>(key->thisKeyNumber));
        return 1;
    }
    default:
        return 0;
    }
}

void handleMidi(FakeEffect& fake, const QueuedEvent& event)
{
    const bool isController = (event.bytes[0] & 0xf0) == 0xb0;
    if (!isController || event.bytes[1] != fake_plugin::volumeController)
        return;
    const float value = event.bytes[2] / 127.0f;
    fake.parameters[fake_plugin::gainParameter] = value;
    callHost(fake, audioMasterBeginEdit, fake_plugin::gainParameter);
    callHost(fake, audioMasterAutomate, fake_plugin::gainParameter, value);
    callHost(fake, audioMasterEndEdit, fake_plugin::gainParameter);
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    FakeEffect& fake = fakeOf(effect);
    if (const VstIntPtr time = fake.host(effect, audioMasterGetTime, 0, 0, nullptr, 0.0f))
        fake.lastSamplePosition = reinterpret_cast<const VstTimeInfo*>(time)->samplePos;

    int next = 0;
    for (VstInt32 i = 0; i < frames; ++i)
    {
        for (; next < fake.queued && fake.queue[next].frame <= i; ++next)
            handleMidi(fake, fake.queue[next]);
        const float gain = fake.parameters[fake_plugin::gainParameter] * 2.0f;
        for (int c = 0; c < 2; ++c)
            outputs[c][i] = inputs[c][i] * gain;
    }
    for (; next < fake.queued; ++next)
        handleMidi(fake, fake.queue[next]);
    fake.queued = 0;
}

void VSTCALLBACK processAccumulating(AEffect*, float**, float**, VstInt32) {}

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
    const VstIntPtr hostVersion = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    if (hostVersion == 0 || refusesToLoad)
        return nullptr;

    auto* fake = new FakeEffect;
    fake->host = host;
    fake->hostVersion = hostVersion;
    AEffect& effect = fake->effect;
    effect.magic = kEffectMagic;
    effect.dispatcher = dispatcher;
    effect.process = processAccumulating;
    effect.setParameter = setParameter;
    effect.getParameter = getParameter;
    effect.numPrograms = 0;
    effect.numParams = fake_plugin::parameterCount;
    effect.numInputs = 2;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    effect.ioRatio = 1.0f;
    effect.object = fake;
    effect.uniqueID = ('F' << 24) | ('k' << 16) | ('G' << 8) | 'n';
    effect.version = 0x10203;
    effect.processReplacing = processReplacing;
    return &effect;
}
