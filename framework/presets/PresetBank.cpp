#include "framework/presets/PresetBank.h"

PresetBank::PresetBank(int numValues)
{
    slots.ensureStorageAllocated(numSlots);
    for (int i = 0; i < numSlots; ++i)
        slots.add(new Preset(numValues));
    groups.ensureStorageAllocated(numSlots + 1);
}

//==============================================================================
juce::String PresetBank::getPresetName(int slot) const
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    return preset != nullptr ? preset->getName() : juce::String();
}

bool PresetBank::setPresetName(int slot, const juce::String& name)
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    if (preset == nullptr)
        return false;
    preset->setName(name);
    return true;
}

float PresetBank::getValue(int slot, int index) const
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    return preset != nullptr ? preset->getValue(index) : 0.0f;
}

void PresetBank::setValue(int slot, int index, float value)
{
    const juce::ScopedLock locked(slotsLock);
    if (auto* preset = slots[slot])
        preset->setValue(index, value);
}

bool PresetBank::copyPresetTo(int slot, Preset& destination) const
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    if (preset == nullptr)
        return false;
    destination.copyFrom(*preset);
    return true;
}

bool PresetBank::copyPresetFrom(int slot, const Preset& source)
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    if (preset == nullptr)
        return false;
    preset->copyFrom(source);
    return true;
}

bool PresetBank::copyValuesFrom(int slot, const Preset& source)
{
    const juce::ScopedLock locked(slotsLock);
    auto* preset = slots[slot];
    if (preset == nullptr)
        return false;
    preset->copyValuesFrom(source);
    return true;
}

void PresetBank::reset(const Preset& defaults)
{
    for (int i = 0; i < numSlots; ++i)
    {
        const juce::ScopedLock locked(slotsLock);
        slots[i]->setName("Preset " + juce::String(i));
        slots[i]->copyValuesFrom(defaults);
    }
    removeAllGroups();
    appendGroup("Not used", numSlots);
}

const Preset* PresetBank::getRecord(int slot) const
{
    const juce::ScopedLock locked(slotsLock);
    return slots[slot];
}

int PresetBank::indexOfRecord(const Preset* record) const
{
    const juce::ScopedLock locked(slotsLock);
    return slots.indexOf(record);
}

//==============================================================================
int PresetBank::getNumGroups() const
{
    const juce::ScopedLock locked(groupsLock);
    return groups.size();
}

bool PresetBank::isValidGroup(int group) const
{
    return juce::isPositiveAndBelow(group, getNumGroups());
}

juce::String PresetBank::getGroupName(int group) const
{
    const juce::ScopedLock locked(groupsLock);
    return juce::isPositiveAndBelow(group, groups.size()) ? groups.getReference(group).name : juce::String();
}

bool PresetBank::setGroupName(int group, const juce::String& name)
{
    const juce::ScopedLock locked(groupsLock);
    if (!juce::isPositiveAndBelow(group, groups.size()))
        return false;
    groups.getReference(group).name = name;
    return true;
}

int PresetBank::getGroupSize(int group) const
{
    const juce::ScopedLock locked(groupsLock);
    return juce::isPositiveAndBelow(group, groups.size()) ? groups.getReference(group).size : 0;
}

void PresetBank::setGroupSize(int group, int size)
{
    const juce::ScopedLock locked(groupsLock);
    if (juce::isPositiveAndBelow(group, groups.size()))
        groups.getReference(group).size = size;
}

int PresetBank::getGroupStart(int group) const
{
    if (!isValidGroup(group))
        return -1;
    int start = 0;
    for (int g = 0; g < group; ++g)
        start += getGroupSize(g);
    return start;
}

int PresetBank::getGroupEnd(int group) const
{
    if (!isValidGroup(group))
        return -1;
    return getGroupStart(group) + getGroupSize(group) - 1;
}

int PresetBank::getGroupOfPreset(int slot) const
{
    int end = 0;
    const int count = getNumGroups();
    for (int g = 0; g < count; ++g)
    {
        end += getGroupSize(g);
        if (slot < end)
            return g;
    }
    return -1;
}

int PresetBank::getPresetIndexInGroup(int group, int n) const
{
    const int start = getGroupStart(group);
    if (start < 0 || n >= getGroupSize(group) || start + n >= numSlots)
        return -1;
    return start + n;
}

void PresetBank::appendGroup(const juce::String& name, int size)
{
    const juce::ScopedLock locked(groupsLock);
    groups.add({name, size});
}

bool PresetBank::insertGroup(int position, const juce::String& name, int size)
{
    const juce::ScopedLock locked(groupsLock);
    if (!juce::isPositiveAndBelow(position, groups.size()))
        return false;
    groups.insert(position, {name, size});
    return true;
}

bool PresetBank::removeGroup(int group)
{
    const juce::ScopedLock locked(groupsLock);
    if (!juce::isPositiveAndBelow(group, groups.size()))
        return false;
    groups.remove(group);
    return true;
}

void PresetBank::removeAllGroups()
{
    const juce::ScopedLock locked(groupsLock);
    groups.clearQuick();
}

//==============================================================================
void PresetBank::moveSlot(int from, int to)
{
    const juce::ScopedLock locked(slotsLock);
    slots.move(from, to);
}

bool PresetBank::movePreset(int from, int to, int fromGroup, int toGroup)
{
    if (!isValidGroup(fromGroup) || !isValidGroup(toGroup) || !juce::isPositiveAndBelow(from, numSlots) ||
        !juce::isPositiveAndBelow(to, numSlots) || from == to)
        return false;

    if (fromGroup != toGroup)
    {
        setGroupSize(fromGroup, getGroupSize(fromGroup) - 1);
        setGroupSize(toGroup, getGroupSize(toGroup) + 1);
    }
    moveSlot(from, to);
    return true;
}

bool PresetBank::movePresets(int toGroup, int fromGroup, const juce::SparseSet<int>& selection)
{
    if (!isValidGroup(fromGroup) || !isValidGroup(toGroup) || fromGroup == toGroup || selection.isEmpty())
        return false;

    const int fromStart = getGroupStart(fromGroup);
    const int fromSize = getGroupSize(fromGroup);
    int moved = 0;

    if (fromGroup < toGroup)
    {
        // Moving down: take the last selected first so the earlier positions stay put; each one
        // lands just before the records already moved.
        int destination = getGroupEnd(toGroup);
        for (int r = selection.getNumRanges(); --r >= 0;)
        {
            const auto range = selection.getRange(r);
            for (int row = range.getEnd(); --row >= range.getStart();)
            {
                if (!juce::isPositiveAndBelow(row, fromSize))
                    continue;
                moveSlot(fromStart + row, destination--);
                ++moved;
            }
        }
    }
    else
    {
        // Moving up: take them in order; each lands at the growing end of the destination.
        int destination = getGroupStart(toGroup) + getGroupSize(toGroup);
        for (int r = 0; r < selection.getNumRanges(); ++r)
        {
            const auto range = selection.getRange(r);
            for (int row = range.getStart(); row < range.getEnd(); ++row)
            {
                if (!juce::isPositiveAndBelow(row, fromSize))
                    continue;
                moveSlot(fromStart + row, destination++);
                ++moved;
            }
        }
    }

    setGroupSize(fromGroup, fromSize - moved);
    setGroupSize(toGroup, getGroupSize(toGroup) + moved);
    return moved > 0;
}

bool PresetBank::moveGroup(int from, int to)
{
    if (!isValidGroup(from) || !isValidGroup(to) || from == to)
        return false;

    const int start = getGroupStart(from);
    const int size = getGroupSize(from);
    if (from > to)
    {
        const int target = getGroupStart(to);
        for (int k = 0; k < size; ++k)
            moveSlot(start + k, target + k);
    }
    else
    {
        // Moving down, the block ends where the block of group `to` ended.
        const int lastTarget = getGroupStart(to) + getGroupSize(to) - 1;
        for (int k = 0; k < size; ++k)
            moveSlot(start, lastTarget);
    }

    const juce::ScopedLock locked(groupsLock);
    groups.move(from, to);
    return true;
}
