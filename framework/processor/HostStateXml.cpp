#include "framework/processor/HostStateXml.h"

#include "framework/xml/XmlRules.h"

using XmlRules::getAttribute;
using XmlRules::hasTag;

//==============================================================================
HostStateXml::HostStateXml(BasePluginOldStyle& owner, MidiControl& midiControl)
    : plugin(owner), midi(midiControl)
{
}

std::unique_ptr<juce::XmlElement> HostStateXml::createParametersState() const
{
    auto state = std::make_unique<juce::XmlElement>("ParametersState");
    auto& parameters = plugin.getParameterSet();
    for (int index = 0; index < plugin.getNumStateParams(); ++index)
        if (auto* parameter = parameters.getParameterByIndex(index))
        {
            auto* param = state->createNewChildElement("param");
            param->setAttribute("name", parameter->getName());
            param->setAttribute("value",
                                XmlRules::formatNumber(static_cast<double>(parameter->getNormalizedValue())));
        }
    return state;
}

std::unique_ptr<juce::XmlElement> HostStateXml::createPresetsState() const
{
    auto state = std::make_unique<juce::XmlElement>("PresetsState");
    state->setAttribute("currentPreset", plugin.getCurrentPreset());
    if (auto bank = plugin.bankToXml())
        state->addChildElement(bank.release());
    return state;
}

void HostStateXml::loadParametersState(const juce::XmlElement& element)
{
    auto& parameters = plugin.getParameterSet();
    for (auto* param : element.getChildIterator())
    {
        if (!hasTag(*param, "param"))
            continue;
        if (auto* parameter = parameters.getParameterByName(getAttribute(*param, "name")))
            parameter->setNormalizedValue(static_cast<float>(getAttribute(*param, "value").getDoubleValue()),
                                          true);
    }
}

void HostStateXml::selectSavedPreset(const juce::XmlElement& element)
{
    const int current = XmlRules::getIntAttribute(element, "currentPreset", 0);
    if (juce::isPositiveAndBelow(current, plugin.getNumPresets()))
        plugin.selectPreset(current, true);
}

void HostStateXml::loadPresetsState(const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
        if (plugin.isPresetBankXml(*child))
            plugin.bankFromXml(*child);
    selectSavedPreset(element);
}

bool HostStateXml::isLegacyState(const juce::XmlElement& root) const
{
    return hasTag(root, plugin.getProductName() + "PluginState");
}

void HostStateXml::loadLegacyState(const juce::XmlElement& root,
                                   const std::function<void(const juce::XmlElement&)>& loadUniqueData)
{
    for (auto* child : root.getChildIterator())
    {
        if (hasTag(*child, "UniqueData"))
            loadUniqueData(*child);
        else if (plugin.isPresetBankXml(*child))
            plugin.bankFromXml(*child);
        else if (midi.isMapElement(*child))
            midi.loadMap(*child);
    }
    selectSavedPreset(root);
    if (juce::isPositiveAndBelow(plugin.getCurrentPreset(), plugin.getNumPresets()))
        plugin.applyCurrentPreset();
}

//==============================================================================
PresetSettingsXml::PresetSettingsXml(BasePluginOldStyle& owner, MidiControl& midiControl)
    : plugin(owner), midi(midiControl)
{
}

void PresetSettingsXml::appendTo(juce::XmlElement& root) const
{
    auto* directories = root.createNewChildElement("PluginDirectories");
    directories->createNewChildElement("RecentlyUsed")
        ->setAttribute("dir", plugin.getRecentDirectory().getFullPathName());

    auto* resources = root.createNewChildElement("ResourcesSettings");
    auto* presets = resources->createNewChildElement("Presets");
    static const char* const modes[] = {"factoryPresets", "clearPresets", "userDefinedPresets"};
    const int mode = juce::jlimit(0, 2, plugin.getDefaultPresetsMode());
    presets->setAttribute("default", modes[mode]);
    if (mode == BasePluginOldStyle::userDefinedPresets)
        presets->setAttribute("file", plugin.getUserDefinedPresetsFile().getFullPathName());

    auto* map = resources->createNewChildElement("MidiCCMap");
    map->setAttribute("default", midi.isUserMapUsed() ? "userDefinedMidiCCMap" : "noMapping");
    if (midi.isUserMapUsed())
        map->setAttribute("file", midi.getUserMapFile());

    auto* settings = root.createNewChildElement("PresetSettings");
    settings->setAttribute("storing", plugin.getStoringMode() == BasePluginOldStyle::automaticStoring
                                          ? "automatic"
                                          : "onDemand");
    settings->setAttribute(
        "changing", plugin.getChangingType() == BasePluginOldStyle::silentChanging ? "silent" : "normal");
}

void PresetSettingsXml::loadFrom(const juce::XmlElement& root)
{
    for (auto* child : root.getChildIterator())
    {
        if (hasTag(*child, "PluginDirectories"))
            loadDirectories(*child);
        else if (hasTag(*child, "ResourcesSettings"))
            loadResources(*child);
        else if (hasTag(*child, "PresetSettings"))
            loadPresetSettings(*child);
    }
}

void PresetSettingsXml::loadDirectories(const juce::XmlElement& element)
{
    for (auto* recent : element.getChildIterator())
    {
        if (!hasTag(*recent, "RecentlyUsed"))
            continue;
        const juce::String path = getAttribute(*recent, "dir");
        if (juce::File::isAbsolutePath(path) && juce::File(path).isDirectory())
            plugin.setRecentDirectory(juce::File(path));
    }
}

void PresetSettingsXml::loadResources(const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        const juce::String value = getAttribute(*child, "default");
        const juce::String file = getAttribute(*child, "file");
        const juce::File path = juce::File::isAbsolutePath(file) ? juce::File(file) : juce::File();

        if (hasTag(*child, "Presets"))
        {
            if (value.equalsIgnoreCase("factoryPresets"))
                plugin.setDefaultPresetsMode(BasePluginOldStyle::factoryPresets);
            else if (value.equalsIgnoreCase("clearPresets"))
                plugin.setDefaultPresetsMode(BasePluginOldStyle::clearedPresets);
            else if (value.equalsIgnoreCase("userDefinedPresets"))
            {
                plugin.setDefaultPresetsMode(BasePluginOldStyle::userDefinedPresets);
                plugin.setUserDefinedPresetsFile(path);
            }
        }
        else if (hasTag(*child, "MidiCCMap"))
        {
            // These two values are compared exactly, unlike the others.
            if (value == "noMapping")
                midi.setUseUserMap(false);
            else if (value == "userDefinedMidiCCMap")
            {
                midi.setUseUserMap(true);
                midi.setUserMapFile(path.getFullPathName());
            }
        }
    }
}

void PresetSettingsXml::loadPresetSettings(const juce::XmlElement& element)
{
    const juce::String storing = getAttribute(element, "storing");
    if (storing.equalsIgnoreCase("onDemand"))
        plugin.setStoringMode(BasePluginOldStyle::onDemandStoring);
    else if (storing.equalsIgnoreCase("automatic"))
        plugin.setStoringMode(BasePluginOldStyle::automaticStoring);

    const juce::String changing = getAttribute(element, "changing");
    if (changing.equalsIgnoreCase("normal"))
        plugin.setChangingType(BasePluginOldStyle::normalChanging);
    else if (changing.equalsIgnoreCase("silent"))
        plugin.setChangingType(BasePluginOldStyle::silentChanging);
}
