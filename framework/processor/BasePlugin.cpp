#include "framework/processor/BasePlugin.h"

#include "framework/gui/editor/BasePluginEditor.h"

#include "framework/xml/XmlChunk.h"
#include "framework/xml/XmlFile.h"
#include "framework/xml/XmlRules.h"
#include "framework/processor/AudioProcessorEditorWrapper.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

BasePlugin::BasePlugin()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true))
{
    hostParameters.ensureStorageAllocated(maxHostParameters);
    for (auto& flag : hostWriteFlags)
        flag.store(0);
    midiControl = std::make_unique<MidiControl>(parameters);

    parameters.loadFromResource("parameters.xml");
    events.loadFromResource("events.xml");
    events.addBuiltInEvents();
}

BasePlugin::~BasePlugin()
{
    cancelPendingUpdate();
    if (editorComponent != nullptr)
        editorComponent->stopTimer();
    editorComponent.reset();
    events.clear();
    midiControl.reset();
    {
        const juce::ScopedLock locked(hostIndexMapLock);
        hostIndexMap.clear();
    }
    {
        const juce::ScopedLock locked(hostParametersLock);
        hostParameters.clear();
    }
    parameters.clear();
}

bool BasePlugin::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto input = layouts.getMainInputChannelSet();
    return layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo() &&
           (input == juce::AudioChannelSet::stereo() || input == juce::AudioChannelSet::mono());
}

juce::AudioProcessorEditor* BasePlugin::createEditor()
{
    if (editorComponent == nullptr)
        return nullptr;
    return new AudioProcessorEditorWrapper(*this, *editorComponent);
}

//==============================================================================
void BasePlugin::initialise()
{
    mapHostParameters();
    parameters.addListenerToAll(this);
    afterInitialise();
}

BasePluginEditor* BasePlugin::createEditorComponent()
{
    return new BasePluginEditor(*this);
}

void BasePlugin::setPluginLocation(const juce::File& pluginLibrary)
{
    pluginFile = pluginLibrary;
    pluginFolder = pluginLibrary.getParentDirectory();
    midiControl->setApplicationName(getProductName());
}

void BasePlugin::createPersistentEditor()
{
    editorComponent.reset(createEditorComponent());
    if (editorComponent != nullptr)
    {
        editorComponent->setup();
        editorComponent->startTimer(BasePluginEditor::refreshIntervalMs);
    }
    parameters.notifyAll();
}

//==============================================================================
void BasePlugin::mapHostParameters()
{
    const int count = juce::jmin(getNumHostParameters(), maxHostParameters);
    {
        const juce::ScopedLock locked(hostParametersLock);
        hostParameters.clearQuick();
        for (int h = 0; h < count; ++h)
            hostParameters.add(parameters.getParameterByIndex(h));
    }
    const juce::ScopedLock locked(hostIndexMapLock);
    hostIndexMap.clear();
    for (int h = 0; h < count; ++h)
        hostIndexMap.set(h, h);
}

bool BasePlugin::findHostIndex(int parameterIndex, int& hostIndex) const
{
    const juce::ScopedLock locked(hostIndexMapLock);
    if (!hostIndexMap.contains(parameterIndex))
        return false;
    hostIndex = hostIndexMap[parameterIndex];
    return true;
}

Parameter* BasePlugin::getHostParameter(int hostIndex) const
{
    const juce::ScopedLock locked(hostParametersLock);
    return hostParameters[hostIndex];
}

const juce::String BasePlugin::getParameterName(int hostIndex)
{
    if (!juce::isPositiveAndBelow(hostIndex, getNumHostParameters()))
        return {};
    if (auto* parameter = getHostParameter(hostIndex))
        return parameter->getName();
    return "Parameter " + juce::String(hostIndex + 1);
}

juce::String BasePlugin::getParameterName(int hostIndex, int maximumLength)
{
    return getParameterName(hostIndex).substring(0, maximumLength);
}

float BasePlugin::getParameter(int hostIndex)
{
    if (!juce::isPositiveAndBelow(hostIndex, juce::jmin(getNumHostParameters(), maxHostParameters)))
        return 0.0f;
    if (auto* parameter = getHostParameter(hostIndex))
        return parameter->getNormalizedValue();
    return fallbackValues[static_cast<size_t>(hostIndex)];
}

const juce::String BasePlugin::getParameterText(int hostIndex)
{
    if (!juce::isPositiveAndBelow(hostIndex, juce::jmin(getNumHostParameters(), maxHostParameters)))
        return {};
    if (auto* parameter = getHostParameter(hostIndex))
        return getParameterTextForIndex(parameter->getIndex());
    return juce::String(fallbackValues[static_cast<size_t>(hostIndex)], 9);
}

juce::String BasePlugin::getParameterText(int hostIndex, int maximumLength)
{
    return getParameterText(hostIndex).substring(0, maximumLength);
}

void BasePlugin::setParameter(int hostIndex, float value)
{
    if (!juce::isPositiveAndBelow(hostIndex, juce::jmin(getNumHostParameters(), maxHostParameters)))
        return;

    const auto h = static_cast<size_t>(hostIndex);
    fallbackValues[h] = value;
    if (auto* parameter = getHostParameter(hostIndex))
    {
        // The flag stops the change from being echoed back to the host as automation.
        hostWriteFlags[h].store(1);
        parameter->setNormalizedValue(value, true);
        hostWriteFlags[h].store(0);
    }
}

bool BasePlugin::isParameterAutomatable(int hostIndex) const
{
    return juce::isPositiveAndBelow(hostIndex, getNumHostParameters());
}

juce::String BasePlugin::getParameterTextForIndex(int parameterIndex)
{
    return parameters.getText(parameterIndex);
}

//==============================================================================
void BasePlugin::parameterChanged(Parameter* parameter)
{
    int hostIndex = 0;
    if (!findHostIndex(parameter->getIndex(), hostIndex) ||
        !juce::isPositiveAndBelow(hostIndex, maxHostParameters))
        return;
    if (hostWriteFlags[static_cast<size_t>(hostIndex)].load() == 0)
        sendParamChangeMessageToListeners(hostIndex, parameter->getNormalizedValue());
}

void BasePlugin::parameterGestureBegin(Parameter* parameter)
{
    int hostIndex = 0;
    if (findHostIndex(parameter->getIndex(), hostIndex))
        beginParameterChangeGesture(hostIndex);
}

void BasePlugin::parameterGestureEnd(Parameter* parameter)
{
    int hostIndex = 0;
    if (findHostIndex(parameter->getIndex(), hostIndex))
        endParameterChangeGesture(hostIndex);
}

//==============================================================================
namespace
{
bool hasApplication(const juce::XmlElement& element, const juce::String& tag, const juce::String& application)
{
    return XmlRules::hasTag(element, tag) && XmlRules::hasAttribute(element, "application") &&
           XmlRules::getAttribute(element, "application").equalsIgnoreCase(application);
}
} // namespace

bool BasePlugin::isStateXml(const juce::XmlElement& element) const
{
    return hasApplication(element, "PluginState", getProductName());
}

std::unique_ptr<juce::XmlElement> BasePlugin::createStateXml()
{
    auto state = std::make_unique<juce::XmlElement>("PluginState");
    state->setAttribute("application", getProductName());
    return state;
}

void BasePlugin::getStateInformation(juce::MemoryBlock& destination)
{
    if (auto state = createStateXml())
        XmlChunk::wrap(*state, destination);
}

void BasePlugin::setStateInformation(const void* data, int sizeInBytes)
{
    if (auto state = XmlChunk::unwrap(data, sizeInBytes))
        loadStateXml(*state);
}

void BasePlugin::getCurrentProgramStateInformation(juce::MemoryBlock& destination)
{
    if (auto program = createCurrentProgramXml())
        XmlChunk::wrap(*program, destination);
}

void BasePlugin::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    if (auto program = XmlChunk::unwrap(data, sizeInBytes))
        loadCurrentProgramXml(*program);
}

//==============================================================================
juce::File BasePlugin::getUserSettingsFile() const
{
    return pluginFolder.getChildFile(getProductName() + ".ini");
}

bool BasePlugin::isUserSettingsXml(const juce::XmlElement& element) const
{
    return hasApplication(element, "UserSettings", getProductName());
}

void BasePlugin::readUserSettingsFile()
{
    if (pluginFolder == juce::File())
        return;
    if (auto settings = XmlFile::read(getUserSettingsFile()))
        if (isUserSettingsXml(*settings))
            loadUserSettingsXml(*settings);
}

bool BasePlugin::writeUserSettingsFile()
{
    auto settings = createUserSettings();
    if (settings == nullptr || pluginFolder == juce::File())
        return false;
    return XmlFile::writeAtomically(*settings, getUserSettingsFile());
}

std::unique_ptr<juce::XmlElement> BasePlugin::createUserSettings()
{
    auto settings = std::make_unique<juce::XmlElement>("UserSettings");
    settings->setAttribute("application", getProductName());
    return settings;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
