#pragma once

#include "dsp/CoreInterfaces.h"
#include "framework/presets/PresetBank.h"
#include "framework/processor/BasePlugin.h"

#include <atomic>
#include <functional>

// The preset manager layer: 128 preset slots in groups, the two preset parameters, copy and
// paste, MIDI program changes, preset and bank files and the factory resources.
class BasePluginOldStyle : public BasePlugin
{
public:
    using PresetChanger = ::PresetChanger;
    using PresetManagerListener = ::PresetManagerListener;

    static constexpr int numPresetSlots = PresetBank::numSlots;

    enum StoringMode
    {
        automaticStoring = 0,
        onDemandStoring = 1
    };

    enum ChangingType
    {
        normalChanging = 0,
        silentChanging = 1
    };

    enum DefaultPresetsMode
    {
        factoryPresets = 0,
        clearedPresets = 1,
        userDefinedPresets = 2
    };

    BasePluginOldStyle(int numPresetableParameters, int numOtherParameters);
    ~BasePluginOldStyle() override;

    void initialise() override;
    void handleEvent(int eventId) override;
    void parameterChanged(Parameter* parameter) override;

    // Faded preset changes go through the changer (the DSP core) in the silent changing type.
    void setPresetChanger(PresetChanger* changer) noexcept { presetChanger = changer; }
    void addPresetManagerListener(PresetManagerListener* listener);

    // Counts ---------------------------------------------------------------------------------
    int getNumPresets() const noexcept { return numPresetSlots; }
    int getNumPresetParams() const noexcept { return numPresetParams; }
    int getNumStateParams() const noexcept { return numStateParams; }
    int getNumNotPresetableParams() const noexcept { return numNotPresetableParams; }

    // Current preset --------------------------------------------------------------------------
    int getCurrentPreset() const noexcept { return currentPreset.load(); }

    // Makes slot current and publishes it in the two preset parameters; applies no values.
    void selectPreset(int slot, bool notify);
    void changePresetTo(int slot);
    void selectNextPreset();
    void selectPreviousPreset();

    // A MIDI program change: like changePresetTo, but re-applies the current slot too. Audio
    // thread; allocates nothing.
    void selectPresetFromProgramChange(int number);

    // Sets parameters 0..numPresetParams-1 from the current slot, publishes the current preset
    // and tells the preset listeners. Called on the audio thread by the core once a fade-out is
    // silent, and by program changes; allocates nothing.
    virtual void applyCurrentPreset();

    // Slots -----------------------------------------------------------------------------------
    juce::String getPresetName(int slot) const;
    void setPresetName(int slot, const juce::String& name);
    float getPresetValue(int slot, int parameterIndex) const;
    Preset getPreset(int slot) const;
    // The current slot's name with the parameters' present values: what the user hears, stored
    // or not.
    Preset getCurrentPresetAsHeard() const;
    void storeParametersToPreset(int slot);
    void copyCurrentPreset();
    void pasteCopiedPreset();
    bool hasCopiedPreset() const noexcept { return copyValid; }
    const Preset& getDefaultPreset() const noexcept { return defaultPreset; }

    // Groups ----------------------------------------------------------------------------------
    int getNumGroups() const { return bank.getNumGroups(); }
    juce::String getGroupName(int group) const { return bank.getGroupName(group); }
    void setGroupName(int group, const juce::String& name) { bank.setGroupName(group, name); }
    int getGroupSize(int group) const { return bank.getGroupSize(group); }
    int getGroupStart(int group) const { return bank.getGroupStart(group); }
    int getGroupEnd(int group) const { return bank.getGroupEnd(group); }
    int getGroupOfPreset(int slot) const { return bank.getGroupOfPreset(slot); }
    int getPresetIndexInGroup(int group, int n) const { return bank.getPresetIndexInGroup(group, n); }
    void addGroup(int group);
    void removeGroup(int group);
    // from/to are slot indices; the current preset stays current wherever it moves.
    void movePreset(int from, int to, int fromGroup, int toGroup);
    // selection: rows (positions counted from the group's first slot) of fromGroup.
    void movePresets(int toGroup, int fromGroup, const juce::SparseSet<int>& selection);
    void moveGroup(int from, int to);
    juce::String getBankName() const { return bank.getBankName(); }
    void setBankName(const juce::String& name) { bank.setBankName(name); }

    // Settings, read and written by the user settings file -------------------------------------
    int getStoringMode() const noexcept { return storingMode.load(); }
    // Switching to automatic stores the present values into the current slot at once.
    void setStoringMode(int mode);
    int getChangingType() const noexcept { return changingType.load(); }
    void setChangingType(int type);
    int getDefaultPresetsMode() const noexcept { return defaultPresetsMode; }
    void setDefaultPresetsMode(int mode);
    const juce::File& getUserDefinedPresetsFile() const noexcept { return userDefinedPresetsFile; }
    void setUserDefinedPresetsFile(const juce::File& file) { userDefinedPresetsFile = file; }
    const juce::File& getRecentDirectory() const noexcept { return recentDirectory; }
    void setRecentDirectory(const juce::File& folder) { recentDirectory = folder; }

    // Preset-manager operations; later layers recognise older documents --------------------------
    virtual bool supportsStoringMode() const { return true; }
    virtual bool supportsChangingType() const { return true; }
    virtual int getNumLegacyPresetExtensions() const { return 0; }
    virtual juce::String getLegacyPresetExtension(int) const { return {}; }
    virtual int getNumLegacyBankExtensions() const { return 0; }
    virtual juce::String getLegacyBankExtension(int) const { return {}; }
    virtual int getNumLegacyMidiMapExtensions() const { return 0; }
    virtual juce::String getLegacyMidiMapExtension(int) const { return {}; }

    virtual bool isPresetXml(const juce::XmlElement& element) const;
    virtual void loadPresetXml(const juce::XmlElement& element, int slot);
    virtual void presetFromXml(const juce::XmlElement& element, Preset& preset) const;
    virtual std::unique_ptr<juce::XmlElement> createPresetXml(int slot) const;
    virtual std::unique_ptr<juce::XmlElement> presetToXml(const Preset& preset) const;
    virtual bool isPresetGroupXml(const juce::XmlElement& element) const;
    virtual bool isPresetBankXml(const juce::XmlElement& element) const;
    virtual void bankFromXml(const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> bankToXml() const;

    // Names every slot "Preset <i>" with the default preset's values, in one group "Not used".
    void clearPresets();

    // File extensions: "." + product code + suffix, in lower case; wildcard lists add the legacy
    // extensions ("*.kvprs; *.kvp").
    juce::String getPresetFileExtension() const;
    juce::String getBankFileExtension() const;
    juce::String getMidiMapFileExtension() const;
    juce::String getPresetFileWildcards() const;
    juce::String getBankFileWildcards() const;
    juce::String getMidiMapFileWildcards() const;

    // Files and resources; file loads that parse apply the current preset, saves report success.
    bool loadPresetFile(const juce::File& file, int slot);
    bool savePresetFile(const juce::File& file, int slot) const;
    bool loadBankFile(const juce::File& file);
    bool saveBankFile(const juce::File& file);
    bool loadDefaultPresetResource(const juce::String& resourceName);
    bool loadBankResource(const juce::String& resourceName);

    // Start-up steps 4 to 7 of the preset manager: the default preset resource, the bank chosen by
    // defaultPresetsMode / userDefinedPresetsFile, applying the current slot.
    void setupPresets();

protected:
    // Reads the user settings file and loads a chosen user MIDI map; runs during initialise,
    // before the presets are set up. The settings layer overrides it.
    virtual void loadUserSettings() {}

    // Index of the presetable parameter with exactly this name, or -1.
    int findPresetParameterIndex(const juce::String& name) const;
    juce::String getPresetParameterName(int index) const;
    // Reads "param" children into preset, converting each value; unknown names are skipped.
    void readPresetParams(const juce::XmlElement& element, Preset& preset,
                          const std::function<int(const juce::String&)>& indexOfName,
                          const std::function<float(int, const juce::String&)>& convert) const;

private:
    juce::String getWildcards(const juce::String& extension, int numLegacy,
                              const std::function<juce::String(int)>& legacyExtension) const;
    void publishCurrentPreset(bool notify);
    void reselectRecord(const Preset* record);
    void applyIfCurrentIsValid();

    const int numPresetParams;
    const int numStateParams;
    const int numNotPresetableParams;

    juce::File recentDirectory;
    int defaultPresetsMode = factoryPresets;
    juce::File userDefinedPresetsFile;
    std::atomic<int> storingMode{onDemandStoring};
    std::atomic<int> changingType{normalChanging};
    std::atomic<int> currentPreset{0};

    PresetBank bank;
    Preset defaultPreset;
    Preset copyBuffer;
    bool copyValid = false;

    // Looked up once so the audio thread never searches the parameter set.
    juce::Array<Parameter*> presetParameters;
    Parameter* presetNumberParameter = nullptr;
    Parameter* presetNameParameter = nullptr;

    PresetChanger* presetChanger = nullptr;
    juce::Array<PresetManagerListener*> presetListeners;
};
