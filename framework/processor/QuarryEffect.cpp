#include "framework/processor/QuarryEffect.h"

#include "framework/processor/HostStateXml.h"
#include "framework/xml/XmlRules.h"

#include <cmath>

QuarryEffect::QuarryEffect(int numPresetableParameters, int numOtherParameters)
    : BasePluginOldStyle(numPresetableParameters, numOtherParameters)
{
}

QuarryEffect::~QuarryEffect()
{
    core.reset();
    midiQueue.reset();
}

unsigned QuarryEffect::qualityCodeOf(float normalizedQuality)
{
    return static_cast<unsigned>(std::floor(juce::jlimit(0.0f, 1.0f, normalizedQuality) * 3.0f + 0.5f));
}

unsigned QuarryEffect::getQualityCode() const
{
    return qualityParameter != nullptr ? qualityCodeOf(qualityParameter->getNormalizedValue()) : 0u;
}

//==============================================================================
void QuarryEffect::initialise()
{
    if (hasQualitySetting())
        qualityParameter = getParameterSet().getParameterByName("Quality");

    core.reset(createCore());
    if (core != nullptr)
    {
        core->setOwner(&coreCallback);
        setPresetChanger(core.get());
        addPresetManagerListener(core.get());
    }

    BasePluginOldStyle::initialise();

    if (hasQualitySetting() && qualityParameter != nullptr)
        qualityParameter->setNormalizedValue(static_cast<float>(defaultQualityLevel) * 0.33333334f, true);
}

void QuarryEffect::parameterChanged(Parameter* parameter)
{
    if (core != nullptr)
    {
        const juce::ScopedLock locked(processorLock);
        if (hasQualitySetting() && !isQualityAppliedOnPrepare() && parameter == qualityParameter)
            core->setQuality(getQualityCode());
        else
            core->setParameter(parameter->getIndex(), parameter->getNormalizedValue());
        if (!audioHasFlowed)
            valuesChangedBeforeFirstRun = true;
    }
    BasePluginOldStyle::parameterChanged(parameter);
}

//==============================================================================
void QuarryEffect::prepareToPlay(double sampleRate, int estimatedSamplesPerBlock)
{
    active.exchange(1);
    prepareCore(sampleRate, estimatedSamplesPerBlock);
    midiQueue.reset();
}

void QuarryEffect::hostSampleRateChanged(double newRate)
{
    if (!isActive() || core == nullptr || !(newRate > 0.0))
        return;
    {
        const juce::ScopedLock locked(processorLock);
        if (newRate == preparedSampleRate)
            return;
    }
    setRateAndBufferSizeDetails(newRate, getBlockSize());
    prepareCore(newRate, getBlockSize());
}

void QuarryEffect::prepareCore(double sampleRate, int estimatedSamplesPerBlock)
{
    if (core == nullptr)
        return;

    int latency = 0;
    {
        const juce::ScopedLock locked(processorLock);
        core->setBlockSize(estimatedSamplesPerBlock);
        core->prepare(static_cast<float>(sampleRate));
        if (hasQualitySetting() && isQualityAppliedOnPrepare())
            core->setQuality(getQualityCode());
        latency = core->getLatency();
        preparedSampleRate = sampleRate;
        audioHasFlowed = false;
        valuesChangedBeforeFirstRun = false;
    }
    if (latency != getLatencySamples())
    {
        setLatencySamples(latency);
        updateHostDisplay();
    }
}

void QuarryEffect::releaseResources()
{
    active.exchange(0);
}

void QuarryEffect::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    const int numSamples = buffer.getNumSamples();
    const int inputs = getTotalNumInputChannels();
    const int outputs = juce::jmin(getTotalNumOutputChannels(), buffer.getNumChannels());

    stereo = inputs == 2 && outputs == 2;
    for (int channel = inputs; channel < outputs; ++channel)
        buffer.clear(channel, 0, numSamples);

    if (buffer.getNumChannels() == 0)
        return;

    leftPointer = buffer.getWritePointer(0);
    rightPointer = stereo ? buffer.getWritePointer(1) : nullptr;

    midiQueue.add(midiMessages);
    pendingSamples = 0;

    juce::MidiMessageMetadata event;
    for (int j = 0; j < numSamples; ++j)
    {
        if (!midiQueue.hasMoreEvents())
        {
            // Nothing more is due in this block: the rest is one run.
            pendingSamples += numSamples - j;
            break;
        }

        bool flushed = false;
        while (midiQueue.nextEventAt(j, event))
        {
            if (!flushed)
            {
                flushRun();
                flushed = true;
            }
            handleMidiEvent(event);
        }
        ++pendingSamples;
    }

    flushRun();
    midiQueue.endBlock(numSamples);
}

void QuarryEffect::handleMidiEvent(const juce::MidiMessageMetadata& event)
{
    if (event.numBytes < 1)
        return;

    const int status = event.data[0] & 0xf0;
    if (status == 0xb0)
        getMidiControl().handleMidiMessage(event.getMessage());
    else if (status == 0xc0 && event.numBytes >= 2)
        selectPresetFromProgramChange(event.data[1]);
}

void QuarryEffect::flushRun()
{
    const int count = pendingSamples;
    pendingSamples = 0;
    if (count <= 0)
        return;

    if (core != nullptr)
    {
        // The core takes a limited number of samples per call; longer runs go in order, in pieces.
        const juce::ScopedLock processing(processorLock);
        const std::lock_guard<std::recursive_mutex> coreLocked(core->getCoreLock());
        if (valuesChangedBeforeFirstRun)
        {
            core->prepare(static_cast<float>(preparedSampleRate));
            valuesChangedBeforeFirstRun = false;
        }
        // Set before the run: values a preset fade applies during it are changes after audio.
        audioHasFlowed = true;
        for (int offset = 0; offset < count; offset += Core::maxSamplesPerCall)
        {
            const int piece = juce::jmin(count - offset, Core::maxSamplesPerCall);
            if (stereo)
                core->processStereo(leftPointer + offset, rightPointer + offset, piece);
            else
                core->processMono(leftPointer + offset, piece);
        }
    }

    leftPointer += count;
    if (stereo)
        rightPointer += count;
}

//==============================================================================
juce::String QuarryEffect::qualityLevelText(int level)
{
    static const char* const texts[] = {"low", "medium", "high", "highest"};
    return texts[juce::jlimit(0, 3, level)];
}

int QuarryEffect::qualityLevelFromText(const juce::String& text)
{
    for (int level = 0; level < 4; ++level)
        if (text.equalsIgnoreCase(qualityLevelText(level)))
            return level;
    return -1;
}

std::unique_ptr<juce::XmlElement> QuarryEffect::createUniqueDataXml()
{
    auto uniqueData = std::make_unique<juce::XmlElement>("UniqueData");
    if (hasQualitySetting())
        uniqueData->setAttribute("quality", qualityLevelText(static_cast<int>(getQualityCode())));
    return uniqueData;
}

void QuarryEffect::loadUniqueDataXml(const juce::XmlElement& element)
{
    if (!hasQualitySetting() || qualityParameter == nullptr)
        return;
    static const float levelValues[] = {0.0f, 0.33333334f, 0.6666667f, 1.0f};
    const int level = qualityLevelFromText(XmlRules::getAttribute(element, "quality"));
    if (level >= 0)
        qualityParameter->setNormalizedValue(levelValues[level], true);
}

std::unique_ptr<juce::XmlElement> QuarryEffect::createStateXml()
{
    auto state = BasePluginOldStyle::createStateXml();
    HostStateXml parts(*this, getMidiControl());
    state->addChildElement(parts.createParametersState().release());
    state->addChildElement(parts.createPresetsState().release());
    state->addChildElement(getMidiControl().createMapXml().release());
    state->insertChildElement(createUniqueDataXml().release(), 0);
    return state;
}

void QuarryEffect::loadStateXml(const juce::XmlElement& element)
{
    HostStateXml parts(*this, getMidiControl());
    if (parts.isLegacyState(element))
    {
        parts.loadLegacyState(element,
                              [this](const juce::XmlElement& uniqueData) { loadUniqueDataXml(uniqueData); });
        return;
    }
    if (!isStateXml(element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (XmlRules::hasTag(*child, "ParametersState"))
            parts.loadParametersState(*child);
        else if (XmlRules::hasTag(*child, "PresetsState"))
            parts.loadPresetsState(*child);
        else if (getMidiControl().isMapElement(*child))
            getMidiControl().loadMap(*child);
    }
    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, "UniqueData"))
            loadUniqueDataXml(*child);
}

std::unique_ptr<juce::XmlElement> QuarryEffect::createCurrentProgramXml()
{
    // Hosts keep user presets and remembered settings as this chunk alone, so it carries what
    // the user hears, not the slot as last stored (which onDemand storing leaves behind).
    return presetToXml(getCurrentPresetAsHeard());
}

void QuarryEffect::loadCurrentProgramXml(const juce::XmlElement& element)
{
    // A document that is not one of our presets changes nothing: applying the slot again would
    // throw away the user's unstored edits for a chunk we could not read.
    if (!isPresetXml(element))
        return;
    const int current = getCurrentPreset();
    loadPresetXml(element, current);
    if (juce::isPositiveAndBelow(current, getNumPresets()))
        applyCurrentPreset();
}

std::unique_ptr<juce::XmlElement> QuarryEffect::createUserSettings()
{
    auto settings = BasePluginOldStyle::createUserSettings();
    PresetSettingsXml(*this, getMidiControl()).appendTo(*settings);
    settings->createNewChildElement("QualitySettings")
        ->setAttribute("default", qualityLevelText(defaultQualityLevel));
    return settings;
}

void QuarryEffect::loadUserSettingsXml(const juce::XmlElement& element)
{
    PresetSettingsXml(*this, getMidiControl()).loadFrom(element);
    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, "QualitySettings"))
        {
            const int level = qualityLevelFromText(XmlRules::getAttribute(*child, "default"));
            if (level >= 0)
                defaultQualityLevel = level;
        }
}

void QuarryEffect::loadUserSettings()
{
    readUserSettingsFile();
    if (getMidiControl().isUserMapUsed())
        getMidiControl().loadUserMap();
}
