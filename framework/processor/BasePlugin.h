#pragma once

#include "framework/events/EventsMap.h"
#include "framework/midi/MidiControl.h"
#include "framework/parameters/ParameterManager.h"
#include "framework/processor/SoftwareDesignation.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

// The editor is reached only through createEditorComponent, from .cpp files, so the processor's
// headers never pull in the GUI.
class BasePluginEditor;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

// The framework's processor: implements JUCE's processor interface in terms of the parameter
// set, the events table, MIDI control and the persistent editor. Host parameter h is the
// parameter whose index is h.
class BasePlugin : public juce::AudioProcessor,
                   public juce::AsyncUpdater,
                   public Parameter::Listener,
                   public SoftwareDesignation
{
public:
    static constexpr int maxHostParameters = 128;

    BasePlugin();
    ~BasePlugin() override;

    // JUCE processor interface ------------------------------------------------------------
    const juce::String getName() const override { return getProductName(); }
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;
    void reset() override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    bool supportsDoublePrecisionProcessing() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumParameters() override { return getNumHostParameters(); }
    const juce::String getParameterName(int hostIndex) override;
    juce::String getParameterName(int hostIndex, int maximumLength) override;
    float getParameter(int hostIndex) override;
    const juce::String getParameterText(int hostIndex) override;
    juce::String getParameterText(int hostIndex, int maximumLength) override;
    float getParameterDefaultValue(int hostIndex) override { return getParameter(hostIndex); }
    void setParameter(int hostIndex, float value) override;
    bool isParameterAutomatable(int hostIndex) const override;
    bool isMetaParameter(int) const override { return false; }

    const juce::String getInputChannelName(int channel) const override { return juce::String(channel + 1); }
    const juce::String getOutputChannelName(int channel) const override { return juce::String(channel + 1); }
    bool isInputChannelStereoPair(int) const override { return true; }
    bool isOutputChannelStereoPair(int) const override { return true; }

    int getNumPrograms() override { return 0; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock& destination) override;
    void setStateInformation(const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation(juce::MemoryBlock& destination) override;
    void setCurrentProgramStateInformation(const void* data, int sizeInBytes) override;

    // Framework additions read by the entry layer ---------------------------------------------
    virtual int getDeclaredNumInputs() const { return 2; }
    virtual int getDeclaredNumOutputs() const { return 2; }
    virtual juce::String getMidiKeyName(int /*noteNumber*/) const { return {}; }
    // The host set a sample rate; JUCE's wrapper itself applies it only at the next resume.
    virtual void hostSampleRateChanged(double /*newRate*/) {}

    // Framework operations ----------------------------------------------------------------------
    virtual void initialise();
    virtual BasePluginEditor* createEditorComponent();
    juce::String getProductName() const override { return "BasePlugin"; }
    virtual juce::String getProductCode() const { return "XX"; }
    virtual int getNumHostParameters() const { return maxHostParameters; }
    virtual juce::String getParameterTextForIndex(int parameterIndex);
    virtual void handleEvent(int /*eventId*/) {}
    virtual bool isDebugMode() const { return false; }
    virtual void afterInitialise() {}

    // State operations: the host's chunks are these documents in the binary envelope.
    virtual bool isStateXml(const juce::XmlElement& element) const;
    virtual void loadStateXml(const juce::XmlElement& element) {}
    virtual std::unique_ptr<juce::XmlElement> createStateXml();
    virtual void loadCurrentProgramXml(const juce::XmlElement& element) {}
    virtual std::unique_ptr<juce::XmlElement> createCurrentProgramXml() { return nullptr; }

    // User settings: "<product>.ini" beside the plug-in module, read at start-up and written
    // when the processor is destroyed.
    juce::File getUserSettingsFile() const;
    void readUserSettingsFile();
    bool writeUserSettingsFile();
    virtual std::unique_ptr<juce::XmlElement> createUserSettings();
    virtual void loadUserSettingsXml(const juce::XmlElement& element) {}
    bool isUserSettingsXml(const juce::XmlElement& element) const;

    // Start-up steps run by the entry point around `initialise`.
    void setPluginLocation(const juce::File& pluginLibrary);
    void createPersistentEditor();

    // Parameter::Listener: the host part of a change.
    void parameterChanged(Parameter* parameter) override;
    void parameterGestureBegin(Parameter* parameter) override;
    void parameterGestureEnd(Parameter* parameter) override;

    void handleAsyncUpdate() override {}

    juce::String getPluginFile() const override { return pluginFile.getFullPathName(); }
    const juce::File& getPluginFolder() const noexcept { return pluginFolder; }

    ParameterManager& getParameterSet() noexcept { return parameters; }
    EventsMap& getEventsMap() noexcept { return events; }
    MidiControl& getMidiControl() noexcept { return *midiControl; }
    BasePluginEditor* getEditorComponent() noexcept { return editorComponent.get(); }

protected:
    // Fills the host parameter table and index map: host index h is parameter index h.
    void mapHostParameters();
    bool findHostIndex(int parameterIndex, int& hostIndex) const;
    Parameter* getHostParameter(int hostIndex) const;

private:
    std::unique_ptr<BasePluginEditor> editorComponent;
    juce::File pluginFolder;
    juce::File pluginFile;
    ParameterManager parameters;

    juce::Array<Parameter*> hostParameters;
    juce::CriticalSection hostParametersLock;
    juce::HashMap<int, int> hostIndexMap{101};
    juce::CriticalSection hostIndexMapLock;
    std::array<float, maxHostParameters> fallbackValues{};
    std::array<std::atomic<int>, maxHostParameters> hostWriteFlags{};

    std::unique_ptr<MidiControl> midiControl;
    EventsMap events;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BasePlugin)
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
