#pragma once

// Interfaces through which the preset manager and the processor talk to the DSP core.

class PresetChanger
{
public:
    virtual ~PresetChanger() = default;
    virtual void changePreset() = 0;
};

class PresetManagerListener
{
public:
    virtual ~PresetManagerListener() = default;
    virtual void presetChanged() = 0;
};

// Implemented by the processor; called on the audio thread once a preset fade-out is silent.
class CoreOwner
{
public:
    virtual ~CoreOwner() = default;
    virtual void applyCurrentPreset() = 0;
};
