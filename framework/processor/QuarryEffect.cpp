#include "framework/processor/QuarryEffect.h"

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
    }
    BasePluginOldStyle::parameterChanged(parameter);
}

//==============================================================================
void QuarryEffect::prepareToPlay(double sampleRate, int estimatedSamplesPerBlock)
{
    active.exchange(1);

    if (core != nullptr)
    {
        int latency = 0;
        {
            const juce::ScopedLock locked(processorLock);
            core->setBlockSize(estimatedSamplesPerBlock);
            core->prepare(static_cast<float>(sampleRate));
            if (hasQualitySetting() && isQualityAppliedOnPrepare())
                core->setQuality(getQualityCode());
            latency = core->getLatency();
        }
        if (latency != getLatencySamples())
        {
            setLatencySamples(latency);
            updateHostDisplay();
        }
    }

    midiQueue.reset();
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
        // The core's buffers hold 4096 samples; longer runs go in order, in pieces.
        const juce::ScopedLock processing(processorLock);
        const std::lock_guard<std::recursive_mutex> coreLocked(core->getCoreLock());
        for (int offset = 0; offset < count; offset += maxSamplesPerCoreCall)
        {
            const int piece = juce::jmin(count - offset, maxSamplesPerCoreCall);
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
