#include "kolvrane/vsthost/VstPlugin.h"

#include "DynamicLibrary.h"
#include "HostContext.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>

namespace kolvrane::vsthost
{
namespace
{

using EntryPoint = Vst2::AEffect* (*)(Vst2::audioMasterCallback);

// Text buffers are far larger than the interface limits: plug-ins overrun those limits in practice.
constexpr size_t textBufferSize = 512;

std::string toLowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::unique_ptr<VstPlugin> VstPlugin::load(const std::string& libraryPath, const LoadOptions& options)
{
    std::string error;
    auto library = DynamicLibrary::open(libraryPath, error);
    if (library == nullptr)
        throw VstLoadError("cannot load " + libraryPath + ": " + error);

    auto entry = reinterpret_cast<EntryPoint>(library->findSymbol("VSTPluginMain"));
    if (entry == nullptr)
        throw VstLoadError(libraryPath + " does not export VSTPluginMain");

    auto context = std::make_shared<HostContext>(options.transport, options.processLevel);
    Vst2::AEffect* effect = nullptr;
    {
        HostContext::LoadingScope scope(context);
        effect = entry(HostContext::callback());
        if (effect != nullptr)
            HostContext::registerEffect(effect, context);
    }
    if (effect == nullptr)
        throw VstLoadError("VSTPluginMain of " + libraryPath + " returned no plug-in");
    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr)
    {
        HostContext::unregisterEffect(effect);
        throw VstLoadError(libraryPath + " returned a record without the VST magic");
    }

    std::unique_ptr<VstPlugin> plugin(new VstPlugin(libraryPath, std::move(library), context, effect));
    if (options.open)
        plugin->open();
    return plugin;
}

VstPlugin::VstPlugin(std::string libraryPath, std::unique_ptr<DynamicLibrary> library,
                     std::shared_ptr<HostContext> context, Vst2::AEffect* effect)
    : path(std::move(libraryPath)), library(std::move(library)), context(std::move(context)), aeffect(effect)
{
}

VstPlugin::~VstPlugin()
{
    close();
    HostContext::unregisterEffect(aeffect);
}

intptr_t VstPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (closed)
        return 0;
    return static_cast<intptr_t>(aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt));
}

void VstPlugin::open()
{
    if (opened || closed)
        return;
    dispatch(Vst2::effOpen);
    opened = true;
}

void VstPlugin::close()
{
    if (closed)
        return;
    // effClose also frees a plug-in that was never opened, so it is always sent.
    suspend();
    dispatch(Vst2::effClose);
    closed = true;
    opened = false;
}

void VstPlugin::setSampleRate(float rate)
{
    context->sampleRate = rate;
    dispatch(Vst2::effSetSampleRate, 0, 0, nullptr, rate);
}

void VstPlugin::setBlockSize(int32_t size)
{
    context->blockSize = size;
    dispatch(Vst2::effSetBlockSize, 0, size);
}

void VstPlugin::resume()
{
    if (resumed)
        return;
    dispatch(Vst2::effMainsChanged, 0, 1);
    resumed = true;
}

void VstPlugin::suspend()
{
    if (!resumed)
        return;
    dispatch(Vst2::effMainsChanged, 0, 0);
    resumed = false;
}

void VstPlugin::prepare(float rate, int32_t size)
{
    suspend();
    setSampleRate(rate);
    setBlockSize(size);
    resume();
}

float VstPlugin::sampleRate() const
{
    return context->sampleRate;
}

int32_t VstPlugin::blockSize() const
{
    return context->blockSize;
}

std::string VstPlugin::dispatchString(int32_t opcode, int32_t index)
{
    char text[textBufferSize] = {};
    dispatch(opcode, index, 0, text);
    text[textBufferSize - 1] = '\0';
    return text;
}

std::string VstPlugin::effectName()
{
    return dispatchString(Vst2::effGetEffectName);
}

std::string VstPlugin::vendorString()
{
    return dispatchString(Vst2::effGetVendorString);
}

std::string VstPlugin::productString()
{
    return dispatchString(Vst2::effGetProductString);
}

intptr_t VstPlugin::vendorVersion()
{
    return dispatch(Vst2::effGetVendorVersion);
}

intptr_t VstPlugin::vstVersion()
{
    return dispatch(Vst2::effGetVstVersion);
}

intptr_t VstPlugin::plugCategory()
{
    return dispatch(Vst2::effGetPlugCategory);
}

intptr_t VstPlugin::canDo(const std::string& question)
{
    std::vector<char> text(question.begin(), question.end());
    text.push_back('\0');
    return dispatch(Vst2::effCanDo, 0, 0, text.data());
}

intptr_t VstPlugin::tailSize()
{
    return dispatch(Vst2::effGetTailSize);
}

std::optional<PinProperties> VstPlugin::pinProperties(int32_t opcode, int32_t pin)
{
    Vst2::VstPinProperties raw{};
    if (dispatch(opcode, pin, 0, &raw) == 0)
        return std::nullopt;
    PinProperties properties;
    properties.label.assign(raw.label, strnlen(raw.label, sizeof(raw.label)));
    properties.shortLabel.assign(raw.shortLabel, strnlen(raw.shortLabel, sizeof(raw.shortLabel)));
    properties.flags = raw.flags;
    properties.arrangementType = raw.arrangementType;
    return properties;
}

std::optional<PinProperties> VstPlugin::inputProperties(int32_t pin)
{
    return pinProperties(Vst2::effGetInputProperties, pin);
}

std::optional<PinProperties> VstPlugin::outputProperties(int32_t pin)
{
    return pinProperties(Vst2::effGetOutputProperties, pin);
}

std::optional<std::string> VstPlugin::midiKeyName(int32_t key, int32_t program)
{
    Vst2::MidiKeyName query{};
    query.thisProgramIndex = program;
    query.thisKeyNumber = key;
    if (dispatch(Vst2::effGetMidiKeyName, 0, 0, &query) == 0)
        return std::nullopt;
    return std::string(query.keyName, strnlen(query.keyName, sizeof(query.keyName)));
}

void VstPlugin::setParameter(int32_t index, float value)
{
    aeffect->setParameter(aeffect, index, value);
}

float VstPlugin::getParameter(int32_t index) const
{
    return aeffect->getParameter(aeffect, index);
}

std::string VstPlugin::parameterName(int32_t index)
{
    return dispatchString(Vst2::effGetParamName, index);
}

std::string VstPlugin::parameterDisplay(int32_t index)
{
    return dispatchString(Vst2::effGetParamDisplay, index);
}

std::string VstPlugin::parameterLabel(int32_t index)
{
    return dispatchString(Vst2::effGetParamLabel, index);
}

bool VstPlugin::canBeAutomated(int32_t index)
{
    return dispatch(Vst2::effCanBeAutomated, index) != 0;
}

std::optional<int32_t> VstPlugin::findParameter(const std::string& name)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < numParams(); ++i)
        names.push_back(parameterName(i));
    for (int32_t i = 0; i < numParams(); ++i)
        if (names[static_cast<size_t>(i)] == name)
            return i;
    const std::string wanted = toLowerAscii(name);
    for (int32_t i = 0; i < numParams(); ++i)
        if (toLowerAscii(names[static_cast<size_t>(i)]) == wanted)
            return i;
    return std::nullopt;
}

intptr_t VstPlugin::currentProgram()
{
    return dispatch(Vst2::effGetProgram);
}

void VstPlugin::setProgram(int32_t program)
{
    dispatch(Vst2::effSetProgram, 0, program);
}

std::string VstPlugin::programName()
{
    return dispatchString(Vst2::effGetProgramName);
}

std::optional<std::string> VstPlugin::programNameIndexed(int32_t program)
{
    char text[textBufferSize] = {};
    if (dispatch(Vst2::effGetProgramNameIndexed, program, 0, text) == 0)
        return std::nullopt;
    text[textBufferSize - 1] = '\0';
    return std::string(text);
}

std::vector<uint8_t> VstPlugin::getChunk(ChunkKind kind)
{
    void* data = nullptr;
    const intptr_t size = dispatch(Vst2::effGetChunk, kind == ChunkKind::program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t VstPlugin::setChunk(const std::vector<uint8_t>& data, ChunkKind kind)
{
    // Plug-ins take a non-const pointer; hand them a copy so they cannot alter the caller's bytes.
    std::vector<uint8_t> copy(data);
    return dispatch(Vst2::effSetChunk, kind == ChunkKind::program ? 1 : 0, static_cast<intptr_t>(copy.size()),
                    copy.data());
}

intptr_t VstPlugin::processEvents(const std::vector<MidiEvent>& events)
{
    midiEvents.assign(events.size(), Vst2::VstMidiEvent{});
    for (size_t i = 0; i < events.size(); ++i)
    {
        Vst2::VstMidiEvent& midi = midiEvents[i];
        midi.type = Vst2::kVstMidiType;
        midi.byteSize = sizeof(Vst2::VstMidiEvent);
        midi.deltaFrames = static_cast<int32_t>(events[i].frame);
        midi.midiData[0] = static_cast<char>(events[i].status);
        midi.midiData[1] = static_cast<char>(events[i].data1);
        midi.midiData[2] = static_cast<char>(events[i].data2);
    }

    // VstEvents ends in a variable-length pointer array; build header and array in one aligned block.
    const size_t headerBytes = offsetof(Vst2::VstEvents, events);
    const size_t totalBytes = headerBytes + std::max<size_t>(events.size(), 2) * sizeof(Vst2::VstEvent*);
    eventListStorage.assign((totalBytes + sizeof(intptr_t) - 1) / sizeof(intptr_t), 0);
    auto* list = reinterpret_cast<Vst2::VstEvents*>(eventListStorage.data());
    list->numEvents = static_cast<int32_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i)
        list->events[i] = reinterpret_cast<Vst2::VstEvent*>(&midiEvents[i]);
    return dispatch(Vst2::effProcessEvents, 0, 0, list);
}

void VstPlugin::processReplacing(float* const* inputs, float* const* outputs, int32_t frames)
{
    if (aeffect->processReplacing == nullptr || closed)
        return;
    aeffect->processReplacing(aeffect, const_cast<float**>(inputs), const_cast<float**>(outputs), frames);
}

void VstPlugin::setBypass(bool bypass)
{
    dispatch(Vst2::effSetBypass, 0, bypass ? 1 : 0);
}

HostCallLog& VstPlugin::hostLog()
{
    return context->log;
}

const HostCallLog& VstPlugin::hostLog() const
{
    return context->log;
}

void VstPlugin::setTransport(const HostTransport& transport)
{
    context->setTransport(transport);
}

HostTransport VstPlugin::transport() const
{
    return context->transport();
}

} // namespace kolvrane::vsthost
