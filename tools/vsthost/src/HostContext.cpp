#include "HostContext.h"

#include <cstring>
#include <map>
#include <string>

namespace kolvrane::vsthost
{
namespace
{

struct Registry
{
    std::mutex mutex;
    std::map<Vst2::AEffect*, std::shared_ptr<HostContext>> contexts;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

thread_local std::shared_ptr<HostContext> loadingContext;

std::shared_ptr<HostContext> findContext(Vst2::AEffect* effect)
{
    if (effect != nullptr)
    {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto found = r.contexts.find(effect);
        if (found != r.contexts.end())
            return found->second;
    }
    return loadingContext;
}

Vst2::VstIntPtr VSTCALLBACK hostCallback(Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                                         Vst2::VstIntPtr value, void* ptr, float opt)
{
    if (auto context = findContext(effect))
        return context->handle(opcode, index, static_cast<intptr_t>(value), ptr, opt);
    // A request from an instance this host does not know (e.g. from a plug-in thread during loading).
    return opcode == Vst2::audioMasterVersion ? kVstVersion : 0;
}

} // namespace

HostContext::HostContext(const HostTransport& transport, int32_t processLevel)
    : transportState(transport), processLevel(processLevel)
{
}

Vst2::audioMasterCallback HostContext::callback()
{
    return &hostCallback;
}

void HostContext::registerEffect(Vst2::AEffect* effect, const std::shared_ptr<HostContext>& context)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.contexts[effect] = context;
}

void HostContext::unregisterEffect(Vst2::AEffect* effect)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.contexts.erase(effect);
}

HostContext::LoadingScope::LoadingScope(const std::shared_ptr<HostContext>& context)
{
    loadingContext = context;
}

HostContext::LoadingScope::~LoadingScope()
{
    loadingContext.reset();
}

void HostContext::setTransport(const HostTransport& transport)
{
    std::lock_guard<std::mutex> lock(transportMutex);
    transportState = transport;
}

HostTransport HostContext::transport() const
{
    std::lock_guard<std::mutex> lock(transportMutex);
    return transportState;
}

intptr_t HostContext::handle(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    HostCall call{opcode, index, value, opt, {}, std::this_thread::get_id()};
    if (opcode == Vst2::audioMasterCanDo && ptr != nullptr)
        call.text = static_cast<const char*>(ptr);
    log.record(std::move(call));

    switch (opcode)
    {
    case Vst2::audioMasterVersion:
        return kVstVersion;
    case Vst2::audioMasterGetTime:
        return answerTimeInfo(value);
    case Vst2::audioMasterIOChanged:
    case Vst2::audioMasterUpdateDisplay:
    case Vst2::audioMasterBeginEdit:
    case Vst2::audioMasterEndEdit:
        return 1;
    case Vst2::audioMasterGetSampleRate:
        return static_cast<intptr_t>(sampleRate.load());
    case Vst2::audioMasterGetBlockSize:
        return blockSize.load();
    case Vst2::audioMasterGetCurrentProcessLevel:
        return processLevel;
    case Vst2::audioMasterGetVendorString:
        return copyString(ptr, "Kolvrane project");
    case Vst2::audioMasterGetProductString:
        return copyString(ptr, "kolvrane-host");
    case Vst2::audioMasterGetVendorVersion:
        return 1;
    case Vst2::audioMasterCanDo:
        return answerCanDo(static_cast<const char*>(ptr));
    case Vst2::audioMasterGetLanguage:
        return 1; // English
    default:
        return 0; // automate, wantMidi, processEvents, sizeWindow and the rest: recorded only
    }
}

intptr_t HostContext::answerTimeInfo(intptr_t /*requestedFlags*/)
{
    std::lock_guard<std::mutex> lock(transportMutex);
    if (!transportState.answersTimeInfo)
        return 0;

    const double rate = sampleRate.load();
    const double seconds = transportState.samplePos / rate;
    const double quarterNotes = seconds * transportState.tempo / 60.0;
    const double quartersPerBar = transportState.timeSigNumerator * 4.0 / transportState.timeSigDenominator;

    timeInfo = Vst2::VstTimeInfo{};
    timeInfo.samplePos = transportState.samplePos;
    timeInfo.sampleRate = rate;
    timeInfo.nanoSeconds = seconds * 1.0e9;
    timeInfo.ppqPos = quarterNotes;
    timeInfo.tempo = transportState.tempo;
    timeInfo.barStartPos =
        quartersPerBar > 0.0 ? static_cast<int64_t>(quarterNotes / quartersPerBar) * quartersPerBar : 0.0;
    timeInfo.timeSigNumerator = transportState.timeSigNumerator;
    timeInfo.timeSigDenominator = transportState.timeSigDenominator;
    timeInfo.flags = Vst2::kVstNanosValid | Vst2::kVstPpqPosValid | Vst2::kVstTempoValid |
                     Vst2::kVstBarsValid | Vst2::kVstTimeSigValid |
                     (transportState.playing ? Vst2::kVstTransportPlaying : 0);
    return reinterpret_cast<intptr_t>(&timeInfo);
}

intptr_t HostContext::answerCanDo(const char* question)
{
    if (question == nullptr)
        return 0;
    static const char* const supported[] = {"sendVstEvents",    "sendVstMidiEvent",    "sendVstTimeInfo",
                                            "receiveVstEvents", "receiveVstMidiEvent", "acceptIOChanges"};
    static const char* const unsupported[] = {"reportConnectionChanges",
                                              "sizeWindow",
                                              "offline",
                                              "openFileSelector",
                                              "closeFileSelector",
                                              "startStopProcess",
                                              "shellCategory",
                                              "sendVstMidiEventFlagIsRealtime",
                                              "supplyIdle"};
    for (const char* name : supported)
        if (std::strcmp(question, name) == 0)
            return 1;
    for (const char* name : unsupported)
        if (std::strcmp(question, name) == 0)
            return -1;
    return 0;
}

intptr_t HostContext::copyString(void* destination, const char* text)
{
    if (destination == nullptr)
        return 0;
    // The host strings are at most 64 characters including the terminator.
    std::strncpy(static_cast<char*>(destination), text, Vst2::kVstMaxVendorStrLen - 1);
    static_cast<char*>(destination)[Vst2::kVstMaxVendorStrLen - 1] = '\0';
    return 1;
}

} // namespace kolvrane::vsthost
