#pragma once

#include "kolvrane/vsthost/HostCallLog.h"
#include "kolvrane/vsthost/HostTransport.h"
#include "kolvrane/vsthost/MidiEvent.h"
#include "kolvrane/vsthost/Vst2Interface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kolvrane::vsthost
{

class DynamicLibrary;
class HostContext;

// Loading failed: the library could not be opened, lacks VSTPluginMain, returned no record or a record
// without the VST magic.
class VstLoadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct PinProperties
{
    std::string label;
    std::string shortLabel;
    int32_t flags = 0;
    int32_t arrangementType = 0;

    bool isActive() const { return (flags & Vst2::kVstPinIsActive) != 0; }
    bool isStereo() const { return (flags & Vst2::kVstPinIsStereo) != 0; }
};

enum class ChunkKind
{
    bank,   // the whole state (effGetChunk index 0)
    program // the current program only (index 1)
};

struct LoadOptions
{
    bool open = true; // send effOpen right after VSTPluginMain, as hosts do
    HostTransport transport;
    int32_t processLevel = 0; // answer to audioMasterGetCurrentProcessLevel (0: not supported, 4: offline)
};

// One instance of a VST 2.4 plug-in loaded from a shared library, with its own host callback log.
// Several instances, of the same or different libraries, may live in one process. Calls into the
// plug-in are not locked: drive one instance from one thread, as a host's audio thread would.
class VstPlugin
{
public:
    static std::unique_ptr<VstPlugin> load(const std::string& libraryPath, const LoadOptions& options = {});
    ~VstPlugin(); // suspends, closes and releases the library

    VstPlugin(const VstPlugin&) = delete;
    VstPlugin& operator=(const VstPlugin&) = delete;

    // The AEffect record, read live (the plug-in may change initialDelay or flags at any time).
    const Vst2::AEffect& effect() const { return *aeffect; }
    Vst2::AEffect* raw() const { return aeffect; }
    int32_t uniqueId() const { return aeffect->uniqueID; }
    int32_t version() const { return aeffect->version; }
    int32_t numInputs() const { return aeffect->numInputs; }
    int32_t numOutputs() const { return aeffect->numOutputs; }
    int32_t numPrograms() const { return aeffect->numPrograms; }
    int32_t numParams() const { return aeffect->numParams; }
    int32_t flags() const { return aeffect->flags; }
    bool hasFlag(int32_t flag) const { return (aeffect->flags & flag) != 0; }
    int32_t initialDelay() const { return aeffect->initialDelay; }
    const std::string& libraryPath() const { return path; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Lifecycle
    void open();
    // Suspends first if resumed. The plug-in frees itself: afterwards only the host log is usable.
    void close();
    bool isOpen() const { return opened; }
    void setSampleRate(float sampleRate);
    void setBlockSize(int32_t blockSize);
    void resume();
    void suspend();
    bool isResumed() const { return resumed; }
    // Sample rate, block size and resume in one go, the usual start of processing.
    void prepare(float sampleRate, int32_t blockSize);
    float sampleRate() const;
    int32_t blockSize() const;

    // Identity
    std::string effectName();
    std::string vendorString();
    std::string productString();
    intptr_t vendorVersion();
    intptr_t vstVersion();
    intptr_t plugCategory();
    intptr_t canDo(const std::string& question);
    intptr_t tailSize();
    std::optional<PinProperties> inputProperties(int32_t pin);
    std::optional<PinProperties> outputProperties(int32_t pin);
    // Empty when the plug-in does not answer (returns 0); otherwise the name, possibly empty.
    std::optional<std::string> midiKeyName(int32_t key, int32_t program = 0);

    // Parameters (normalized values)
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index) const;
    std::string parameterName(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string parameterLabel(int32_t index);
    bool canBeAutomated(int32_t index);
    // The index of the parameter whose name equals `name` (exactly, else ignoring ASCII case).
    std::optional<int32_t> findParameter(const std::string& name);

    // Programs
    intptr_t currentProgram();
    void setProgram(int32_t program);
    std::string programName();
    std::optional<std::string> programNameIndexed(int32_t program);

    // State chunks; getChunk is empty when the plug-in returns no data.
    std::vector<uint8_t> getChunk(ChunkKind kind = ChunkKind::bank);
    intptr_t setChunk(const std::vector<uint8_t>& data, ChunkKind kind = ChunkKind::bank);

    // Audio and MIDI. processEvents sends the messages (frames relative to the next block) at once,
    // as hosts do right before processReplacing; the event memory stays valid until the next call.
    intptr_t processEvents(const std::vector<MidiEvent>& events);
    void processReplacing(float* const* inputs, float* const* outputs, int32_t frames);
    void setBypass(bool bypass);

    // What the plug-in asked of the host. The transport feeds audioMasterGetTime.
    HostCallLog& hostLog();
    const HostCallLog& hostLog() const;
    void setTransport(const HostTransport& transport);
    HostTransport transport() const;

private:
    VstPlugin(std::string libraryPath, std::unique_ptr<DynamicLibrary> library,
              std::shared_ptr<HostContext> context, Vst2::AEffect* effect);

    std::string dispatchString(int32_t opcode, int32_t index = 0);
    std::optional<PinProperties> pinProperties(int32_t opcode, int32_t pin);

    std::string path;
    std::unique_ptr<DynamicLibrary> library;
    std::shared_ptr<HostContext> context;
    Vst2::AEffect* aeffect = nullptr;
    bool opened = false;
    bool closed = false;
    bool resumed = false;
    std::vector<Vst2::VstMidiEvent> midiEvents;
    std::vector<intptr_t> eventListStorage; // a VstEvents header with its pointer array
};

} // namespace kolvrane::vsthost
