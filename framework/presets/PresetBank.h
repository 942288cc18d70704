#pragma once

#include "framework/presets/Preset.h"
#include "framework/presets/PresetGroup.h"

// The 128 preset slots and the groups that partition them. The slot records are created once
// and only rewritten in place or reordered. The slot array and the group list each have a
// lock that is held for one access at a time, never across a whole operation, so the audio
// thread can read a slot while the message thread edits another.
class PresetBank
{
public:
    static constexpr int numSlots = 128;

    explicit PresetBank(int numValues);

    // Slots ------------------------------------------------------------------------------
    juce::String getPresetName(int slot) const;
    bool setPresetName(int slot, const juce::String& name);
    float getValue(int slot, int index) const;
    void setValue(int slot, int index, float value);
    bool copyPresetTo(int slot, Preset& destination) const;
    bool copyPresetFrom(int slot, const Preset& source);
    bool copyValuesFrom(int slot, const Preset& source);

    // Names every slot "Preset <i>" with the given values and leaves one group "Not used".
    void reset(const Preset& defaults);

    // Slot identity survives reordering, so callers can follow a record across a move.
    const Preset* getRecord(int slot) const;
    int indexOfRecord(const Preset* record) const;

    // Groups -----------------------------------------------------------------------------
    int getNumGroups() const;
    juce::String getGroupName(int group) const;
    bool setGroupName(int group, const juce::String& name);
    int getGroupSize(int group) const;
    void setGroupSize(int group, int size);
    int getGroupStart(int group) const;
    int getGroupEnd(int group) const;
    int getGroupOfPreset(int slot) const;
    int getPresetIndexInGroup(int group, int n) const;
    void appendGroup(const juce::String& name, int size);
    bool insertGroup(int position, const juce::String& name, int size);
    bool removeGroup(int group);
    void removeAllGroups();

    const juce::String& getBankName() const noexcept { return bankName; }
    void setBankName(const juce::String& name) { bankName = name; }

    // Reordering: each returns false and changes nothing for invalid arguments.
    bool movePreset(int from, int to, int fromGroup, int toGroup);
    bool movePresets(int toGroup, int fromGroup, const juce::SparseSet<int>& selection);
    bool moveGroup(int from, int to);

private:
    bool isValidGroup(int group) const;
    void moveSlot(int from, int to);

    juce::OwnedArray<Preset> slots;
    juce::Array<PresetGroup> groups;
    juce::String bankName{"Preset Bank"};
    juce::CriticalSection slotsLock;
    juce::CriticalSection groupsLock;

    JUCE_DECLARE_NON_COPYABLE(PresetBank)
};
