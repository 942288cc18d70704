// libFuzzer target over every reader of input the plug-in does not control: the host's state
// chunks, preset and bank files, MIDI map files and the user settings file. The first byte
// picks the reader, the rest is the input. Each input gets a fresh, initialised processor, so
// a crash reproduces from its input alone.
//
// With KOLVRANE_FUZZ_WRITE_SEEDS=<folder> set, the binary instead writes a seed corpus made by
// the plug-in's own writers and exits.
#include "framework/xml/XmlChunk.h"
#include "framework/xml/XmlFile.h"
#include "product/Kolvrane.h"

#include <juce_events/juce_events.h>

#include <cstdint>
#include <cstdlib>
#include <limits>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
enum Reader
{
    hostState = 0,
    programState,
    presetFile,
    bankFile,
    midiMapFile,
    userSettingsFile,
    numReaders
};

// Seeds start with an ASCII digit: '0' % numReaders is 0, so seed files stay readable.
static_assert('0' % numReaders == 0, "seed selector digits must map onto the readers in order");

constexpr int presetSlot = 5;
constexpr int blockSize = 64;

juce::File& workFolder()
{
    static juce::File folder;
    return folder;
}

// Files are read through the plug-in's own file readers, so the input goes to disk first.
juce::File writeInput(const char* name, const uint8_t* data, size_t size)
{
    auto file = workFolder().getChildFile(name);
    file.replaceWithData(data, size);
    return file;
}

// Starts from cleared presets instead of the factory bank: that bank is no input from outside,
// and parsing it again for every input would take most of the fuzzer's time.
class FuzzedKolvrane : public Kolvrane
{
protected:
    void loadUserSettings() override { setDefaultPresetsMode(clearedPresets); }
};

std::unique_ptr<Kolvrane> createPlugin()
{
    std::unique_ptr<Kolvrane> plugin = std::make_unique<FuzzedKolvrane>();
    plugin->setPluginLocation(workFolder().getChildFile("Kolvrane.so"));
    plugin->initialise();
    return plugin;
}

void readInput(Kolvrane& plugin, Reader reader, const uint8_t* data, size_t size)
{
    const int length =
        static_cast<int>(juce::jmin(size, static_cast<size_t>(std::numeric_limits<int>::max())));
    switch (reader)
    {
    case hostState:
        plugin.setStateInformation(data, length);
        break;
    case programState:
        plugin.setCurrentProgramStateInformation(data, length);
        break;
    case presetFile:
        plugin.selectPreset(presetSlot, false);
        plugin.loadPresetFile(writeInput("input.kvprs", data, size), presetSlot);
        break;
    case bankFile:
        plugin.loadBankFile(writeInput("input.kvprsb", data, size));
        break;
    case midiMapFile:
        plugin.getMidiControl().loadMapFile(writeInput("input.kvccmap", data, size));
        break;
    case userSettingsFile:
        writeInput("Kolvrane.ini", data, size);
        plugin.readUserSettingsFile();
        break;
    case numReaders:
        break;
    }
}

// Whatever was read must survive being used: played, displayed and written back out.
void useLoadedState(Kolvrane& plugin)
{
    plugin.setPlayConfigDetails(2, 2, 44100.0, blockSize);
    plugin.prepareToPlay(44100.0, blockSize);
    juce::AudioBuffer<float> buffer(2, blockSize);
    for (int i = 0; i < blockSize; ++i)
        for (int c = 0; c < 2; ++c)
            buffer.setSample(c, i, static_cast<float>((i % 16) - 8) * 0.1f);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::controllerEvent(1, 7, 100), 3);
    midi.addEvent(juce::MidiMessage::programChange(1, presetSlot), 10);
    plugin.processBlock(buffer, midi);

    for (int h = 0; h < plugin.getNumParameters(); ++h)
        plugin.getParameterText(h);
    // The bank's layout as the writers walk it, without writing all 128 presets each time.
    for (int group = 0; group < plugin.getNumGroups(); ++group)
    {
        plugin.getGroupName(group);
        plugin.getGroupEnd(group);
        for (int n = 0; n < plugin.getGroupSize(group); ++n)
            plugin.getPresetIndexInGroup(group, n);
    }
    for (int slot = 0; slot < plugin.getNumPresets(); ++slot)
        plugin.getGroupOfPreset(slot);
    plugin.createCurrentProgramXml();
    plugin.getMidiControl().createMapXml();
    plugin.createUserSettings();
    plugin.releaseResources();
}

//==============================================================================
void writeSeed(const juce::File& folder, const juce::String& name, Reader reader, const void* data,
               size_t size)
{
    juce::MemoryBlock seed;
    const char selector = static_cast<char>('0' + reader);
    seed.append(&selector, 1);
    seed.append(data, size);
    folder.getChildFile(name).replaceWithData(seed.getData(), seed.getSize());
}

void writeSeed(const juce::File& folder, const juce::String& name, Reader reader,
               const juce::MemoryBlock& data)
{
    writeSeed(folder, name, reader, data.getData(), data.getSize());
}

void writeFileSeed(const juce::File& folder, const juce::String& name, Reader reader, const juce::File& file)
{
    juce::MemoryBlock data;
    file.loadFileAsData(data);
    writeSeed(folder, name, reader, data);
}

// The chunk envelope by hand, with whatever length it claims.
juce::MemoryBlock rawChunk(const juce::String& text, juce::uint32 claimedLength)
{
    juce::MemoryBlock chunk;
    const juce::uint32 header[2] = {juce::ByteOrder::swapIfBigEndian(XmlChunk::magic),
                                    juce::ByteOrder::swapIfBigEndian(claimedLength)};
    chunk.append(header, sizeof(header));
    chunk.append(text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
    return chunk;
}

juce::MemoryBlock rawChunk(const juce::String& text)
{
    return rawChunk(text, static_cast<juce::uint32>(text.getNumBytesAsUTF8()));
}

// Chunks no writer of ours makes: older documents, odd values and lying lengths.
void writeHandMadeChunkSeeds(const juce::File& folder)
{
    const juce::String legacy =
        "<KolvranePluginState currentPreset='2'><UniqueData quality='HIGH'/>"
        "<KolvranePresetBank><KolvranePresetGroup name='old'><KolvranePreset name='a'>"
        "<param name='Knee' value='0.2'/></KolvranePreset><KolvranePreset name='b'/><KolvranePreset "
        "name='c'/>"
        "</KolvranePresetGroup></KolvranePresetBank>"
        "<MidiCCMap name='Kolvrane'><assign CC='7' param='Preamp'/></MidiCCMap></KolvranePluginState>";
    writeSeed(folder, "state-legacy", hostState, rawChunk(legacy));

    const juce::String odd =
        "<PluginState application='KOLVRANE'><UniqueData quality='medium'/><UniqueData quality='?'/>"
        "<ParametersState><param name='Preamp' value='nan'/><param name='Quality' value='1e39'/>"
        "<param name='Dynamics' value='-1'/><param value='0.5'/></ParametersState>"
        "<PresetsState currentPreset='127'><PresetBank name=''/></PresetsState>"
        "<PresetsState currentPreset='-1'/><MidiControlMap name='Kolvrane'><assign CC='127' param='FX'/>"
        "</MidiControlMap></PluginState>";
    writeSeed(folder, "state-odd-values", hostState, rawChunk(odd));
    writeSeed(folder, "state-length-beyond-data", hostState, rawChunk(odd, 0x7ffffff0u));
    writeSeed(folder, "state-length-negative", hostState, rawChunk(odd, 0xfffffff0u));
    writeSeed(folder, "state-length-short", hostState, rawChunk(odd, 20));

    const juce::String preset =
        "<KolvranePreset name='old'><param name='Knee' value='1'/>"
        "<param name='Filter 1 Cutoff' value='0.7'/><param name='Filter 2 Type' value='2'/>"
        "</KolvranePreset>";
    writeSeed(folder, "program-legacy", programState, rawChunk(preset));
}

// Seeds from the plug-in's own writers, so they follow the formats as they change.
void writeSeeds(const juce::File& folder)
{
    folder.createDirectory();
    auto plugin = createPlugin();
    auto& midi = plugin->getMidiControl();
    auto& parameters = plugin->getParameterSet();
    for (int c = 0; c < 4; ++c)
        midi.assign(c + 1, parameters.getParameterByIndex(c), false);
    parameters.getParameterByIndex(1)->setNormalizedValue(0.8f, true);

    juce::MemoryBlock chunk;
    plugin->getStateInformation(chunk);
    writeSeed(folder, "state-default", hostState, chunk);
    plugin->getCurrentProgramStateInformation(chunk);
    writeSeed(folder, "program-default", programState, chunk);

    const auto scratch = workFolder().getChildFile("seed");
    plugin->savePresetFile(scratch, 0);
    writeFileSeed(folder, "preset-saved", presetFile, scratch);
    midi.saveMapFile(scratch);
    writeFileSeed(folder, "midimap-saved", midiMapFile, scratch);
    XmlFile::writeAtomically(*plugin->createUserSettings(), scratch);
    writeFileSeed(folder, "settings-saved", userSettingsFile, scratch);

    // A bank file always holds all 128 slots; this one names two small groups and leaves the
    // rest out, as a hand-edited file might. The full factory bank is a seed too.
    juce::XmlElement bank("PresetBank");
    bank.setAttribute("name", "Small Bank");
    for (int group = 0; group < 2; ++group)
    {
        auto* groupElement = bank.createNewChildElement("PresetGroup");
        groupElement->setAttribute("name", "Group " + juce::String(group + 1));
        for (int slot = 0; slot <= group; ++slot)
            groupElement->addChildElement(plugin->createPresetXml(slot).release());
    }
    XmlFile::writeAtomically(bank, scratch);
    writeFileSeed(folder, "bank-small", bankFile, scratch);
    writeHandMadeChunkSeeds(folder);
    scratch.deleteFile();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Never shut down: libFuzzer leaves through exit(), and JUCE's own statics may be gone by
    // the time a static initialiser's destructor would run.
    juce::initialiseJuce_GUI();
    workFolder() = juce::File::createTempFile("kolvrane-fuzz");
    workFolder().createDirectory();
    std::atexit([] { workFolder().deleteRecursively(); });

    if (const char* seedFolder = std::getenv("KOLVRANE_FUZZ_WRITE_SEEDS"))
    {
        writeSeeds(juce::File(juce::String::fromUTF8(seedFolder)));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto reader = static_cast<Reader>(data[0] % numReaders);
    auto plugin = createPlugin();
    readInput(*plugin, reader, data + 1, size - 1);
    useLoadedState(*plugin);
    return 0;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
