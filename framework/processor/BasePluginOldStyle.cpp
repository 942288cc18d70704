#include "framework/processor/BasePluginOldStyle.h"

BasePluginOldStyle::BasePluginOldStyle(int numPresetableParameters, int numOtherParameters)
    : numPresetable(numPresetableParameters), numOther(numOtherParameters)
{
    auto& set = getParameterSet();
    set.add(new IntParameter(ParameterManager::currentPresetNumberIndex, "Current Preset Number", false, 0,
                             numPresetSlots - 1, 0));
    set.add(new StringParameter(ParameterManager::currentPresetNameIndex, "Current Preset Name", false, {}));
}

BasePluginOldStyle::~BasePluginOldStyle()
{
    presetChanger = nullptr;
    presetListeners.clear();
}

void BasePluginOldStyle::initialise()
{
    mapHostParameters();
    getParameterSet().addListenerToAll(this);
    afterInitialise();
}

void BasePluginOldStyle::addPresetManagerListener(PresetManagerListener* listener)
{
    if (listener != nullptr)
        presetListeners.addIfNotAlreadyThere(listener);
}

void BasePluginOldStyle::handleEvent(int eventId)
{
    switch (eventId)
    {
    case EventsMap::selectNextPreset:
    case EventsMap::selectPreviousPreset:
    case EventsMap::copyCurrentPreset:
    case EventsMap::pasteCopiedPreset:
    case EventsMap::storeCurrentPreset:
    default:
        break;
    }
}

void BasePluginOldStyle::parameterChanged(Parameter* parameter)
{
    if (parameter->getIndex() == ParameterManager::currentPresetNameIndex)
        return;
    BasePlugin::parameterChanged(parameter);
}

void BasePluginOldStyle::selectPresetFromProgramChange(int number)
{
    if (!juce::isPositiveAndBelow(number, numPresetSlots))
        return;
    currentPreset = number;
    if (presetChanger != nullptr)
        presetChanger->changePreset();
    else
        applyCurrentPreset();
}

void BasePluginOldStyle::applyCurrentPreset() {}
