#include "framework/processor/BasePluginOldStyle.h"

#include "framework/presets/PresetXml.h"
#include "framework/xml/XmlFile.h"
#include "framework/resources/Resources.h"
#include "framework/xml/XmlRules.h"

BasePluginOldStyle::BasePluginOldStyle(int numPresetableParameters, int numOtherParameters)
    : numPresetParams(numPresetableParameters), numStateParams(numPresetableParameters),
      numNotPresetableParams(numOtherParameters), bank(numPresetableParameters),
      defaultPreset(numPresetableParameters), copyBuffer(numPresetableParameters)
{
    auto& set = getParameterSet();
    presetNumberParameter = new IntParameter(ParameterManager::currentPresetNumberIndex,
                                             "Current Preset Number", false, 0, numPresetSlots - 1, 0);
    presetNameParameter =
        new StringParameter(ParameterManager::currentPresetNameIndex, "Current Preset Name", false, {});
    if (!set.add(presetNumberParameter))
        presetNumberParameter = set.getParameterByIndex(ParameterManager::currentPresetNumberIndex);
    if (!set.add(presetNameParameter))
        presetNameParameter = set.getParameterByIndex(ParameterManager::currentPresetNameIndex);

    presetParameters.ensureStorageAllocated(numPresetParams);
    for (int i = 0; i < numPresetParams; ++i)
    {
        auto* parameter = set.getParameterByIndex(i);
        presetParameters.add(parameter);
        defaultPreset.setValue(i, parameter != nullptr ? parameter->getNormalizedValue() : 0.0f);
    }
}

BasePluginOldStyle::~BasePluginOldStyle()
{
    presetChanger = nullptr;
    presetListeners.clear();
}

void BasePluginOldStyle::initialise()
{
    mapHostParameters();
    recentDirectory = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
    getParameterSet().addListenerToAll(this);
    loadUserSettings();
    afterInitialise();
    setupPresets();
}

void BasePluginOldStyle::setupPresets()
{
    loadDefaultPresetResource("default" + getPresetFileExtension());

    if (defaultPresetsMode == clearedPresets)
        clearPresets();
    else if (defaultPresetsMode == userDefinedPresets && userDefinedPresetsFile != juce::File() &&
             userDefinedPresetsFile.existsAsFile())
        loadBankFile(userDefinedPresetsFile);
    else
        loadBankResource("default" + getBankFileExtension());

    applyIfCurrentIsValid();

    // Parameters kept outside the presets are announced once more with their own values.
    auto& set = getParameterSet();
    for (int i = numPresetParams; i < numPresetParams + numNotPresetableParams; ++i)
        if (auto* parameter = set.getParameterByIndex(i))
        {
            const float value = parameter->getNormalizedValue();
            parameter->setNormalizedValue(value, true);
        }
}

void BasePluginOldStyle::addPresetManagerListener(PresetManagerListener* listener)
{
    if (listener != nullptr)
        presetListeners.addIfNotAlreadyThere(listener);
}

//==============================================================================
void BasePluginOldStyle::handleEvent(int eventId)
{
    switch (eventId)
    {
    case EventsMap::selectNextPreset:
        selectNextPreset();
        break;
    case EventsMap::selectPreviousPreset:
        selectPreviousPreset();
        break;
    case EventsMap::copyCurrentPreset:
        copyCurrentPreset();
        break;
    case EventsMap::pasteCopiedPreset:
        pasteCopiedPreset();
        break;
    case EventsMap::storeCurrentPreset:
        storeParametersToPreset(currentPreset.load());
        break;
    default:
        break;
    }
}

void BasePluginOldStyle::parameterChanged(Parameter* parameter)
{
    const int index = parameter->getIndex();
    if (index == ParameterManager::currentPresetNameIndex)
    {
        // The name display renames presets through this parameter; it never reaches the host.
        bank.setPresetName(currentPreset.load(), parameter->getText());
        return;
    }
    if (storingMode.load() == automaticStoring && juce::isPositiveAndBelow(index, numPresetParams))
        bank.setValue(currentPreset.load(), index, parameter->getNormalizedValue());
    BasePlugin::parameterChanged(parameter);
}

//==============================================================================
void BasePluginOldStyle::publishCurrentPreset(bool notify)
{
    const int slot = currentPreset.load();
    if (presetNumberParameter != nullptr)
        presetNumberParameter->setIntValue(slot, notify);
    if (presetNameParameter != nullptr)
        presetNameParameter->setText(bank.getPresetName(slot), notify);
}

void BasePluginOldStyle::selectPreset(int slot, bool notify)
{
    if (!juce::isPositiveAndBelow(slot, numPresetSlots))
        return;
    currentPreset.store(slot);
    publishCurrentPreset(notify);
}

void BasePluginOldStyle::changePresetTo(int slot)
{
    if (slot == currentPreset.load() || !juce::isPositiveAndBelow(slot, numPresetSlots))
        return;
    currentPreset.store(slot);
    if (changingType.load() == silentChanging && presetChanger != nullptr)
        presetChanger->changePreset();
    else
        applyCurrentPreset();
}

void BasePluginOldStyle::selectNextPreset()
{
    changePresetTo(currentPreset.load() + 1);
}

void BasePluginOldStyle::selectPreviousPreset()
{
    changePresetTo(currentPreset.load() - 1);
}

void BasePluginOldStyle::selectPresetFromProgramChange(int number)
{
    if (!juce::isPositiveAndBelow(number, numPresetSlots))
        return;
    currentPreset.store(number);
    if (changingType.load() == silentChanging && presetChanger != nullptr)
        presetChanger->changePreset();
    else
        applyCurrentPreset();
}

void BasePluginOldStyle::applyCurrentPreset()
{
    const int slot = currentPreset.load();
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            parameter->setNormalizedValue(bank.getValue(slot, i), true);

    publishCurrentPreset(true);

    for (int i = presetListeners.size(); --i >= 0;)
        presetListeners.getUnchecked(i)->presetChanged();
}

void BasePluginOldStyle::applyIfCurrentIsValid()
{
    if (juce::isPositiveAndBelow(currentPreset.load(), numPresetSlots))
        applyCurrentPreset();
}

//==============================================================================
juce::String BasePluginOldStyle::getPresetName(int slot) const
{
    return bank.getPresetName(slot);
}

void BasePluginOldStyle::setPresetName(int slot, const juce::String& name)
{
    if (!bank.setPresetName(slot, name))
        return;
    if (slot == currentPreset.load() && presetNameParameter != nullptr)
        presetNameParameter->setText(name, true);
}

float BasePluginOldStyle::getPresetValue(int slot, int parameterIndex) const
{
    return bank.getValue(slot, parameterIndex);
}

Preset BasePluginOldStyle::getPreset(int slot) const
{
    Preset preset(numPresetParams, {});
    bank.copyPresetTo(slot, preset);
    return preset;
}

Preset BasePluginOldStyle::getCurrentPresetAsHeard() const
{
    Preset preset(numPresetParams, bank.getPresetName(currentPreset.load()));
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            preset.setValue(i, parameter->getNormalizedValue());
    return preset;
}

void BasePluginOldStyle::storeParametersToPreset(int slot)
{
    if (!juce::isPositiveAndBelow(slot, numPresetSlots))
        return;
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            bank.setValue(slot, i, parameter->getNormalizedValue());
}

void BasePluginOldStyle::copyCurrentPreset()
{
    copyBuffer.setName(bank.getPresetName(currentPreset.load()) + "_copy");
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            copyBuffer.setValue(i, parameter->getNormalizedValue());
    copyValid = true;
}

void BasePluginOldStyle::pasteCopiedPreset()
{
    if (!copyValid)
        return;
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            parameter->setNormalizedValue(copyBuffer.getValue(i), true);
    bank.setPresetName(currentPreset.load(), copyBuffer.getName());
    storeParametersToPreset(currentPreset.load());
    applyIfCurrentIsValid();
}

//==============================================================================
void BasePluginOldStyle::reselectRecord(const Preset* record)
{
    const int position = bank.indexOfRecord(record);
    if (position >= 0)
        selectPreset(position, false);
}

void BasePluginOldStyle::addGroup(int group)
{
    bank.insertGroup(group, "New Group", 0);
}

void BasePluginOldStyle::removeGroup(int group)
{
    bank.removeGroup(group);
}

void BasePluginOldStyle::movePreset(int from, int to, int fromGroup, int toGroup)
{
    const Preset* current = bank.getRecord(currentPreset.load());
    if (bank.movePreset(from, to, fromGroup, toGroup))
        reselectRecord(current);
}

void BasePluginOldStyle::movePresets(int toGroup, int fromGroup, const juce::SparseSet<int>& selection)
{
    const Preset* current = bank.getRecord(currentPreset.load());
    if (bank.movePresets(toGroup, fromGroup, selection))
        reselectRecord(current);
}

void BasePluginOldStyle::moveGroup(int from, int to)
{
    const Preset* current = bank.getRecord(currentPreset.load());
    if (bank.moveGroup(from, to))
        reselectRecord(current);
}

//==============================================================================
void BasePluginOldStyle::setStoringMode(int mode)
{
    if (mode != automaticStoring && mode != onDemandStoring)
        return;
    storingMode.store(mode);
    if (mode == automaticStoring)
        storeParametersToPreset(currentPreset.load());
}

void BasePluginOldStyle::setChangingType(int type)
{
    if (type == normalChanging || type == silentChanging)
        changingType.store(type);
}

void BasePluginOldStyle::setDefaultPresetsMode(int mode)
{
    if (mode >= factoryPresets && mode <= userDefinedPresets)
        defaultPresetsMode = mode;
}

//==============================================================================
int BasePluginOldStyle::findPresetParameterIndex(const juce::String& name) const
{
    for (int i = 0; i < numPresetParams; ++i)
        if (auto* parameter = presetParameters.getUnchecked(i))
            if (parameter->getName() == name)
                return i;
    return -1;
}

juce::String BasePluginOldStyle::getPresetParameterName(int index) const
{
    auto* parameter = presetParameters[index];
    return parameter != nullptr ? parameter->getName() : juce::String();
}

bool BasePluginOldStyle::isPresetXml(const juce::XmlElement& element) const
{
    return XmlRules::hasTag(element, "Preset") &&
           XmlRules::getAttribute(element, "application").equalsIgnoreCase(getProductName());
}

bool BasePluginOldStyle::isPresetGroupXml(const juce::XmlElement& element) const
{
    return XmlRules::hasTag(element, "PresetGroup");
}

bool BasePluginOldStyle::isPresetBankXml(const juce::XmlElement& element) const
{
    return XmlRules::hasTag(element, "PresetBank");
}

void BasePluginOldStyle::readPresetParams(const juce::XmlElement& element, Preset& preset,
                                          const std::function<int(const juce::String&)>& indexOfName,
                                          const std::function<float(int, const juce::String&)>& convert) const
{
    PresetXml::forEachParam(element,
                            [&](const juce::String& name, const juce::String& value)
                            {
                                const int index = indexOfName(name);
                                if (juce::isPositiveAndBelow(index, preset.getCount()))
                                    preset.setValue(index, convert(index, value));
                            });
}

void BasePluginOldStyle::presetFromXml(const juce::XmlElement& element, Preset& preset) const
{
    if (!isPresetXml(element))
        return;
    preset.setName(XmlRules::getAttribute(element, "name", "unnamed"));
    readPresetParams(
        element, preset, [this](const juce::String& name) { return findPresetParameterIndex(name); },
        [](int, const juce::String& value) { return static_cast<float>(value.getDoubleValue()); });
}

void BasePluginOldStyle::loadPresetXml(const juce::XmlElement& element, int slot)
{
    if (!juce::isPositiveAndBelow(slot, numPresetSlots))
        return;
    // Read into a copy so the slot changes in one locked access.
    Preset preset = getPreset(slot);
    presetFromXml(element, preset);
    bank.copyPresetFrom(slot, preset);
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::presetToXml(const Preset& preset) const
{
    return PresetXml::createPresetElement(preset, getProductName(), 0,
                                          [this](int index) { return getPresetParameterName(index); });
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetXml(int slot) const
{
    return presetToXml(getPreset(slot));
}

void BasePluginOldStyle::clearPresets()
{
    bank.reset(defaultPreset);
}

void BasePluginOldStyle::bankFromXml(const juce::XmlElement& element)
{
    if (!isPresetBankXml(element))
        return;

    clearPresets();
    bank.removeAllGroups();
    bank.setBankName(XmlRules::getAttribute(element, "name", "Preset Bank"));

    int slot = 0;
    for (auto* groupElement : element.getChildIterator())
    {
        if (!isPresetGroupXml(*groupElement))
            continue;

        const int group = bank.getNumGroups();
        bank.appendGroup(XmlRules::getAttribute(*groupElement, "name", "group " + juce::String(group + 1)),
                         0);
        for (auto* presetElement : groupElement->getChildIterator())
        {
            if (slot >= numPresetSlots)
                break;
            if (!isPresetXml(*presetElement))
                continue;
            loadPresetXml(*presetElement, slot++);
            bank.setGroupSize(group, bank.getGroupSize(group) + 1);
        }
    }

    if (slot < numPresetSlots)
        bank.appendGroup("Not used", numPresetSlots - slot);
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::bankToXml() const
{
    auto element = std::make_unique<juce::XmlElement>("PresetBank");
    element->setAttribute("name", bank.getBankName());

    const int numGroups = bank.getNumGroups();
    for (int g = 0; g < numGroups; ++g)
    {
        auto* groupElement = element->createNewChildElement("PresetGroup");
        groupElement->setAttribute("name", bank.getGroupName(g));
        const int start = bank.getGroupStart(g);
        const int size = bank.getGroupSize(g);
        for (int slot = start; slot < start + size && slot < numPresetSlots; ++slot)
            groupElement->addChildElement(createPresetXml(slot).release());
    }
    return element;
}

//==============================================================================
juce::String BasePluginOldStyle::getWildcards(const juce::String& extension, int numLegacy,
                                              const std::function<juce::String(int)>& legacyExtension) const
{
    juce::String wildcards = "*" + extension;
    for (int i = 0; i < numLegacy; ++i)
        wildcards << "; *" << legacyExtension(i);
    return wildcards;
}

juce::String BasePluginOldStyle::getPresetFileExtension() const
{
    return ("." + getProductCode() + "prs").toLowerCase();
}

juce::String BasePluginOldStyle::getBankFileExtension() const
{
    return ("." + getProductCode() + "prsb").toLowerCase();
}

juce::String BasePluginOldStyle::getMidiMapFileExtension() const
{
    return ("." + getProductCode() + "ccmap").toLowerCase();
}

juce::String BasePluginOldStyle::getPresetFileWildcards() const
{
    return getWildcards(getPresetFileExtension(), getNumLegacyPresetExtensions(),
                        [this](int i) { return getLegacyPresetExtension(i); });
}

juce::String BasePluginOldStyle::getBankFileWildcards() const
{
    return getWildcards(getBankFileExtension(), getNumLegacyBankExtensions(),
                        [this](int i) { return getLegacyBankExtension(i); });
}

juce::String BasePluginOldStyle::getMidiMapFileWildcards() const
{
    return getWildcards(getMidiMapFileExtension(), getNumLegacyMidiMapExtensions(),
                        [this](int i) { return getLegacyMidiMapExtension(i); });
}

//==============================================================================
bool BasePluginOldStyle::loadPresetFile(const juce::File& file, int slot)
{
    // A file that is no preset of ours changes nothing: applying the slot again would throw away
    // the user's unstored edits for a file that was refused.
    auto xml = XmlFile::read(file);
    if (xml == nullptr || !isPresetXml(*xml))
        return false;
    loadPresetXml(*xml, slot);
    if (slot == currentPreset.load())
        applyCurrentPreset();
    return true;
}

bool BasePluginOldStyle::savePresetFile(const juce::File& file, int slot) const
{
    if (!juce::isPositiveAndBelow(slot, numPresetSlots))
        return false;
    return XmlFile::writeAtomically(*createPresetXml(slot), file);
}

bool BasePluginOldStyle::loadBankFile(const juce::File& file)
{
    auto xml = XmlFile::read(file);
    if (xml == nullptr)
        return false;
    bankFromXml(*xml);
    applyIfCurrentIsValid();
    recentDirectory = file.getParentDirectory();
    return isPresetBankXml(*xml);
}

bool BasePluginOldStyle::saveBankFile(const juce::File& file)
{
    if (!XmlFile::writeAtomically(*bankToXml(), file))
        return false;
    recentDirectory = file.getParentDirectory();
    return true;
}

bool BasePluginOldStyle::loadDefaultPresetResource(const juce::String& resourceName)
{
    auto xml = loadTextResource(resourceName);
    if (xml == nullptr)
        return false;
    presetFromXml(*xml, defaultPreset);
    return true;
}

bool BasePluginOldStyle::loadBankResource(const juce::String& resourceName)
{
    auto xml = loadTextResource(resourceName);
    if (xml == nullptr)
        return false;
    bankFromXml(*xml);
    applyIfCurrentIsValid();
    return true;
}
