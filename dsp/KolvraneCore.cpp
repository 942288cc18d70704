#include "dsp/KolvraneCore.h"

#include "dsp/ParameterText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
constexpr double tiny = 1e-20;

// Hosts and controls deliver 0..1; anything else (or NaN) is held to that range.
float clampNormalized(float v)
{
    if (!(v > 0.0f))
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

int quantize(float v, float steps)
{
    return static_cast<int>(std::floor(v * steps + 0.5f));
}

// A NaN or infinite sample from the host is read as silence before anything stores it: one such
// sample would otherwise stay in every recursive state of its channel for good. A mask on the
// bits (all exponent bits set means not finite) keeps the conversion free of branches.
inline double finiteOrSilence(float sample)
{
    std::uint32_t bits;
    std::memcpy(&bits, &sample, sizeof bits);
    const std::uint32_t keep = 0u - static_cast<std::uint32_t>((bits & 0x7f800000u) != 0x7f800000u);
    bits &= keep;
    float finite;
    std::memcpy(&finite, &bits, sizeof finite);
    return finite;
}

// Converts samples to doubles into two places (both copies of a dry ring).
void storeFiniteSamples(const float* samples, double* first, double* second, int count)
{
    for (int i = 0; i < count; ++i)
        first[i] = second[i] = finiteOrSilence(samples[i]);
}

#if KOLVRANE_HAS_VECTOR_PATH
// The same eight samples at a time: with the wider stores it costs less than a plain SSE2
// conversion without the mask.
KOLVRANE_VECTOR_TARGET void storeFiniteSamplesInVectors(const float* samples, double* first, double* second,
                                                        int count)
{
    const __m256 exponent = _mm256_castsi256_ps(_mm256_set1_epi32(0x7f800000));
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        const __m256 v = _mm256_loadu_ps(samples + i);
        // The exponent bits alone are never a NaN: all of them set reads as +infinity.
        const __m256 finite = _mm256_cmp_ps(_mm256_and_ps(v, exponent), exponent, _CMP_NEQ_OQ);
        const __m256 kept = _mm256_and_ps(v, finite);
        const __m256d low = _mm256_cvtps_pd(_mm256_castps256_ps128(kept));
        const __m256d high = _mm256_cvtps_pd(_mm256_extractf128_ps(kept, 1));
        _mm256_storeu_pd(first + i, low);
        _mm256_storeu_pd(first + i + 4, high);
        _mm256_storeu_pd(second + i, low);
        _mm256_storeu_pd(second + i + 4, high);
    }
    storeFiniteSamples(samples + i, first + i, second + i, count - i);
}
#endif

// The host always gets finite samples: a mix beyond the float range (the largest floats at full
// output gain) became an infinity in the conversion and is held at the range's limit, and a NaN,
// should a state ever produce one, is silence. One pass over the written floats, off the
// per-sample loops' dependency chains.
void limitToFloatRange(float* samples, int count)
{
    constexpr float largest = std::numeric_limits<float>::max();
    int i = 0;
#if defined(__SSE2__)
    const __m128 upper = _mm_set1_ps(largest);
    const __m128 lower = _mm_set1_ps(-largest);
    for (; i + 4 <= count; i += 4)
    {
        __m128 v = _mm_loadu_ps(samples + i);
        v = _mm_and_ps(v, _mm_cmpord_ps(v, v));
        v = _mm_min_ps(_mm_max_ps(v, lower), upper);
        _mm_storeu_ps(samples + i, v);
    }
#endif
    for (; i < count; ++i)
    {
        const float v = samples[i];
        samples[i] = v != v ? 0.0f : (v < -largest ? -largest : (v > largest ? largest : v));
    }
}

int oversamplingFactor(int quality)
{
    return quality == 1 ? 4 : quality == 2 ? 8 : quality == 3 ? 16 : 0;
}
} // namespace

KolvraneCore::KolvraneCore(CoreOwner* owner)
    : QuarryEffectCore(owner), oversampler(kernels, tanhTable), compressor(levelToDbTable, dbToGainTable)
{
    for (auto& ramp : ramps)
        ramp = std::make_unique<double[]>(bufferLength);
    for (auto* buffer :
         {&inverseShapes, &makeupRamp, &preampRamp, &fxRamp, &outputGainRamp, &compressorGains})
        *buffer = std::make_unique<double[]>(bufferLength);
    for (auto& channel : channels)
    {
        channel.work = std::make_unique<double[]>(bufferLength);
        channel.dryRing = std::make_unique<double[]>(2 * bufferLength);
    }
}

// ---------------------------------------------------------------------------------------------
// Parameters

void KolvraneCore::setParameter(int index, float normalizedValue)
{
    if (index < 0 || index >= KolvraneParameter::hostCount)
        return;
    const float v = clampNormalized(normalizedValue);
    rampsHoldSettledValues = false; // a buffered target may move
    switch (index)
    {
    case KolvraneParameter::dynamics:
        dynamicsRaw = 1.0f - v;
        deriveShaperTargets();
        return;
    case KolvraneParameter::preamp:
        preampRaw = v;
        deriveShaperTargets();
        return;
    case KolvraneParameter::threshold:
        thresholdRaw = 1.0f - v;
        deriveShaperTargets();
        return;
    case KolvraneParameter::shape:
        shapeRaw = v;
        deriveShaperTargets();
        return;
    case KolvraneParameter::outputVolume:
        outputVolumeRaw = v;
        outputGain.target = v * v * 4.0f;
        return;
    case KolvraneParameter::distortionFunction:
        distortionFunction = quantize(v, 5.0f);
        return;
    case KolvraneParameter::fx:
        fxRaw = v;
        fx.target = fxRaw;
        return;
    default:
        break;
    }
    const int offset = index - KolvraneParameter::filter1Type;
    applyFilterParameter(offset / KolvraneParameter::filterFieldCount,
                         offset % KolvraneParameter::filterFieldCount, v);
}

void KolvraneCore::deriveShaperTargets()
{
    const double thresholdDb = -40.0 * dynamicsRaw;
    compressor.setThresholdDb(thresholdDb);
    makeupGain.target = std::pow(10.0, Compressor::makeupDbForThreshold(thresholdDb) * 0.05);
    preampGain.target = std::pow(10.0, preampRaw * 48.0 * 0.05);
    buffered.target[rampShaperThreshold] = std::pow(10.0, thresholdRaw * -48.0 * 0.05);
    buffered.target[rampShapeFactor] = shapeRaw * shapeRaw * shapeRaw * 40.0 + 1.0;
    buffered.target[rampRawShape] = shapeRaw;
}

void KolvraneCore::applyFilterParameter(int filter, int field, float v)
{
    FilterSettings& settings = filterSettings[filter];
    switch (field)
    {
    case KolvraneParameter::filterType:
        settings.type = quantize(v, 4.0f);
        break;
    case KolvraneParameter::filterRoute:
        settings.route = v >= 0.5f ? routePre : routePost;
        break;
    case KolvraneParameter::filterCutoff:
        settings.cutoffRaw = v;
        buffered.target[rampCutoff1 + filter] = BandFilter::cutoffCoefficient(settings.cutoffRaw);
        break;
    case KolvraneParameter::filterResonance:
        settings.resonanceRaw = v;
        buffered.target[rampDamping1 + filter] = BandFilter::damping(settings.resonanceRaw);
        break;
    default:
        settings.volumeRaw = v;
        buffered.target[rampVolume1 + filter] = settings.volumeRaw;
        break;
    }
}

std::string KolvraneCore::getParameterText(int index) const
{
    using namespace parameter_text;
    switch (index)
    {
    case KolvraneParameter::dynamics:
        return dynamics(dynamicsRaw);
    case KolvraneParameter::preamp:
        return preamp(preampRaw);
    case KolvraneParameter::threshold:
        return threshold(thresholdRaw);
    case KolvraneParameter::shape:
        return percent(shapeRaw);
    case KolvraneParameter::outputVolume:
        return outputVolume(static_cast<float>(outputVolumeRaw));
    case KolvraneParameter::distortionFunction:
        return distortionFunctionName(distortionFunction);
    case KolvraneParameter::fx:
        return dryWet(fxRaw);
    default:
        break;
    }
    if (index < KolvraneParameter::filter1Type || index >= KolvraneParameter::outputVolume)
        return "";
    const int offset = index - KolvraneParameter::filter1Type;
    const FilterSettings& settings = filterSettings[offset / KolvraneParameter::filterFieldCount];
    switch (offset % KolvraneParameter::filterFieldCount)
    {
    case KolvraneParameter::filterType:
        return filterTypeName(settings.type);
    case KolvraneParameter::filterRoute:
        return filterRouteName(settings.route);
    case KolvraneParameter::filterCutoff:
        return cutoffFrequency(settings.cutoffRaw);
    case KolvraneParameter::filterResonance:
        return percent(settings.resonanceRaw);
    default:
        return percent(settings.volumeRaw);
    }
}

// ---------------------------------------------------------------------------------------------
// Preparation and quality

void KolvraneCore::prepare(float sampleRate)
{
    updateSampleRateInfo(sampleRate);
    const SampleRateInfo& info = getSampleRateInfo();

    deriveShaperTargets();
    compressor.prepare(info.rate);

    for (auto& channel : channels)
    {
        channel.oversampler.resetPositions();
        for (auto& record : channel.filters)
            record.reset();
    }
    for (int f = 0; f < filterCount; ++f)
    {
        buffered.target[rampCutoff1 + f] = BandFilter::cutoffCoefficient(filterSettings[f].cutoffRaw);
        buffered.target[rampDamping1 + f] = BandFilter::damping(filterSettings[f].resonanceRaw);
    }

    meterDecay = 1.0 - 0.0001 * info.timingFactor;
    smoothingStep = 0.002 * info.timingFactor;
    dcPole = 1.0 - 0.005 * info.timingFactor;

    snapSmoothersToTargets();
}

void KolvraneCore::snapSmoothersToTargets()
{
    buffered.snap();
    makeupGain.snap();
    preampGain.snap();
    fx.snap();
    outputGain.target = static_cast<float>(outputVolumeRaw * outputVolumeRaw * 4.0);
    outputGain.snap();
    for (int r = 0; r < rampCount; ++r)
        std::fill(ramps[r].get(), ramps[r].get() + bufferLength, buffered.current[r]);
    std::fill(inverseShapes.get(), inverseShapes.get() + bufferLength,
              1.0 / buffered.current[rampShapeFactor]);
    rampsHoldSettledValues = false; // k changed: the next steps may still move the values
}

int KolvraneCore::setQuality(unsigned code)
{
    for (auto& channel : channels)
        channel.oversampler.clear();
    quality = static_cast<int>(std::min(code, 255u));
    latency = code != 0 ? Oversampler::latency : 0;
    return latency;
}

void KolvraneCore::getClipFlags(bool& positive, bool& negative) const
{
    std::shared_lock<std::shared_mutex> reader(clipLock);
    positive = publishedClip.positive != 0;
    negative = publishedClip.negative != 0;
}

// ---------------------------------------------------------------------------------------------
// Processing

void KolvraneCore::processStereo(float* left, float* right, int count)
{
    restartNonFiniteChannels(2);
    // The buffers hold bufferLength samples; longer runs are split rather than overrun them.
    for (int done = 0; done < count; done += bufferLength)
        processChunk(left + done, right + done, std::min(bufferLength, count - done));
    publish(false);
}

void KolvraneCore::processMono(float* samples, int count)
{
    restartNonFiniteChannels(1);
    for (int done = 0; done < count; done += bufferLength)
        processChunk(samples + done, nullptr, std::min(bufferLength, count - done));
    publish(true);
}

// The input is always finite, but should a channel's recursive state still turn non-finite, it
// would never come back: such a channel starts again from rest at the next run.
void KolvraneCore::restartNonFiniteChannels(int channelCount)
{
    for (int c = 0; c < channelCount; ++c)
        if (!channels[c].hasFiniteState())
            channels[c].restartFromRest();
}

bool KolvraneCore::Channel::hasFiniteState() const
{
    // x * 0 is 0 for every finite x and NaN otherwise; a plain sum could overflow.
    double probe = dcBlocker.previousInput * 0.0 + dcBlocker.previousOutput * 0.0;
    for (const auto& record : filters)
        probe += (record.low + record.band) * 0.0 + record.output * 0.0;
    probe += meter.state * 0.0 + activity.peak * 0.0;
    // The oversampler's rings feed the DC blocker: a NaN there shows in it one run later.
    return probe == 0.0;
}

void KolvraneCore::Channel::restartFromRest()
{
    dcBlocker = DcBlocker{};
    for (auto& record : filters)
        record = FilterRecord{};
    meter = LevelMeter{};
    activity = ChannelActivity{};
    oversampler.clear();
}

void KolvraneCore::smoothIntoRamps(int slot)
{
    if (rampsHoldSettledValues)
        return;
    if (buffered.step(smoothingStep))
    {
        for (int r = 0; r < rampCount; ++r)
            ramps[r][slot] = buffered.current[r];
        inverseShapes[slot] = 1.0 / buffered.current[rampShapeFactor];
        return;
    }
    // Settled: every remaining slot, now and in later calls, holds these values. The slots
    // before this one follow once pass 1 has read them (fillSettledRampsBefore).
    for (int r = 0; r < rampCount; ++r)
        std::fill(ramps[r].get() + slot, ramps[r].get() + bufferLength, buffered.current[r]);
    std::fill(inverseShapes.get() + slot, inverseShapes.get() + bufferLength,
              1.0 / buffered.current[rampShapeFactor]);
    settledFromSlot = slot;
    rampsHoldSettledValues = true;
}

void KolvraneCore::fillSettledRampsBefore()
{
    const int slot = settledFromSlot;
    for (int r = 0; r < rampCount; ++r)
        std::fill(ramps[r].get(), ramps[r].get() + slot, buffered.current[r]);
    std::fill(inverseShapes.get(), inverseShapes.get() + slot, 1.0 / buffered.current[rampShapeFactor]);
    settledFromSlot = 0;
}

void KolvraneCore::loadFilterValues(FilterBankValues& values, int slot) const
{
    for (int f = 0; f < filterCount; ++f)
    {
        values.volume[f] = ramps[rampVolume1 + f][slot];
        values.cutoff[f] = ramps[rampCutoff1 + f][slot];
        values.damping[f] = ramps[rampDamping1 + f][slot];
        values.inputScale[f] = filterSettings[f].type != filterOff ? std::sqrt(values.damping[f]) : 0.0;
    }
}

RoutedFilters KolvraneCore::routedFilters(int route) const
{
    int types[filterCount];
    int routes[filterCount];
    for (int f = 0; f < filterCount; ++f)
    {
        types[f] = filterSettings[f].type;
        routes[f] = filterSettings[f].route;
    }
    return RoutedFilters::gather(route, types, routes);
}

void KolvraneCore::shapeWorkBuffer(Channel& channel, int count)
{
    const ShaperBlock block{channel.work.get(),
                            count,
                            ramps[rampShaperThreshold].get(),
                            ramps[rampShapeFactor].get(),
                            ramps[rampRawShape].get(),
                            inverseShapes.get(),
                            distortionFunction};
    if (quality == 0)
    {
        if (isUsingVectorPath() && VectorShaper::shapesFunction(distortionFunction))
            VectorShaper::shapeBlock(block, tanhTable, clip);
        else
            Shaper::shapeBlock(block.function, block.buffer, block.count, block.thresholds, block.shapes,
                               block.inverseShapes, block.rawShapes, tanhTable, clip);
        return;
    }
    const int factor = oversamplingFactor(quality);
    if (factor == 0)
        return; // unknown quality codes leave the buffer unshaped
    oversampler.process(factor, channel.oversampler, block, clip);
}

// One output sample: DC blocker, Post filters, dry/wet and output gain, then meter and activity.
template <bool PostFilters>
inline double KolvraneCore::outputStep(DcBlocker& dcBlocker, LevelMeter& meter, ChannelActivity& activity,
                                       FilterRecord* filters, const RoutedFilters& post,
                                       const FilterBankValues& values, double shaped, double dry, double fx,
                                       double gain, const MeterCurve& curve, double pole, double decay)
{
    const double z = dcBlocker.process(shaped, pole);
    const double w = PostFilters ? processFilterBank(post, filters, z, values) : z;
    const double output = mixDryWet(w, dry, fx, gain);
    meter.update(output, curve, decay);
    activity.noteOutput(output, decay);
    return output;
}

// The output step of one sample during a preset fade: routes may change from one sample to the
// next, so the Post bank is gathered for each.
double KolvraneCore::postProcess(Channel& channel, const FilterBankValues& values, int slot, int ring)
{
    if (!channel.activity.active)
    {
        channel.meter.update(0.0, getMeterCurve(), meterDecay);
        channel.activity.noteOutput(0.0, meterDecay);
        return 0.0;
    }
    const double dry = channel.dryRing[ring - latency + bufferLength];
    return outputStep<true>(channel.dcBlocker, channel.meter, channel.activity, channel.filters,
                            routedFilters(routePost), values, channel.work[slot], dry, fx.current,
                            outputGain.current, getMeterCurve(), dcPole, meterDecay);
}

bool KolvraneCore::anyChannelActive(int channelCount) const
{
    return channels[0].activity.active || (channelCount > 1 && channels[1].activity.active);
}

bool KolvraneCore::anyFilterRouted(int route) const
{
    for (const auto& settings : filterSettings)
        if (settings.route == route)
            return true;
    return false;
}

// Raises peak to the largest magnitude of x (a NaN never raises it); returns whether any sample
// is non-zero. The largest of a set does not depend on the order of the comparisons, so SSE2
// may take two lanes at a time.
bool KolvraneCore::raisePeak(double& peak, const double* x, int count)
{
    int i = 0;
    bool anySound = false;
    double largest = peak;
#if defined(__SSE2__)
    const __m128d signBit = _mm_set1_pd(-0.0);
    __m128d lanes = _mm_set1_pd(peak);
    __m128d nonZero = _mm_setzero_pd();
    for (; i + 2 <= count; i += 2)
    {
        const __m128d v = _mm_loadu_pd(x + i);
        nonZero = _mm_or_pd(nonZero, _mm_cmpneq_pd(v, _mm_setzero_pd()));
        lanes = _mm_max_pd(_mm_andnot_pd(signBit, v), lanes); // the second operand wins for NaN
    }
    anySound = _mm_movemask_pd(nonZero) != 0;
    const double low = _mm_cvtsd_f64(lanes);
    const double high = _mm_cvtsd_f64(_mm_unpackhi_pd(lanes, lanes));
    largest = high > low ? high : low;
#endif
    for (; i < count; ++i)
    {
        const double magnitude = std::abs(x[i]);
        anySound |= x[i] != 0.0;
        largest = magnitude > largest ? magnitude : largest;
    }
    peak = largest;
    return anySound;
}

void KolvraneCore::storeInput(const float* samples, double* first, double* second, int count) const
{
#if KOLVRANE_HAS_VECTOR_PATH
    if (isUsingVectorPath())
    {
        storeFiniteSamplesInVectors(samples, first, second, count);
        return;
    }
#endif
    storeFiniteSamples(samples, first, second, count);
}

// Converts a channel's input, stores it in the dry ring and notes its activity. Returns whether
// any sample is non-zero.
bool KolvraneCore::readInput(Channel& channel, const float* samples, int count, int startRing)
{
    // Both copies of the dry ring are written, so the chunk lies unwrapped from startRing on and
    // serves as the pre-stage's input.
    double* const ring = channel.dryRing.get();
    const int beforeWrap = std::min(count, bufferLength - startRing);
    storeInput(samples, ring + startRing, ring + startRing + bufferLength, beforeWrap);
    if (count > beforeWrap)
        storeInput(samples + beforeWrap, ring, ring + bufferLength, count - beforeWrap);
    const double* const x = ring + startRing;
    channel.input = x;

    // A zero sample leaves the peak alone (it is never negative), so all samples may take part.
    const bool anySound = raisePeak(channel.activity.peak, x, count);

    int first = 0;
    if (!channel.activity.active)
    {
        first = count;
        if (anySound)
        {
            first = 0;
            while (x[first] == 0.0)
                ++first;
            channel.activity.active = true;
        }
    }
    channel.firstActiveSample = first;
    return anySound;
}

void KolvraneCore::compressAndPrefilter(Channel& channel, int count)
{
    double* const work = channel.work.get();
    const double* const x = channel.input;
    const double* const gains = compressorGains.get();
    const double* const preamp = preampRamp.get();
    const int first = channel.firstActiveSample;
    std::fill(work, work + first, 0.0);
    const RoutedFilters pre = routedFilters(routePre);
    if (pre.count == 0)
    {
        for (int i = first; i < count; ++i)
            work[i] = preamp[i] * (gains[i] * x[i] + tiny) + tiny;
        return;
    }
    // Pass 1 reads the ramps as stepped; they are constant once settled from the chunk's start.
    const bool valuesConstant = rampsHoldSettledValues && settledFromSlot == 0;
    FilterBankValues values;
    loadFilterValues(values, first < count ? first : 0);
    for (int i = first; i < count; ++i)
    {
        if (!valuesConstant)
            loadFilterValues(values, i);
        const double preStage = processFilterBank(pre, channel.filters, gains[i] * x[i] + tiny, values);
        work[i] = preamp[i] * preStage + tiny;
    }
}

void KolvraneCore::processChunk(float* left, float* right, int count)
{
    const bool stereo = right != nullptr;
    const int channelCount = stereo ? 2 : 1;
    float* const destinations[2] = {left, right};
    const int startRing = ringIndex;

    // Pass 1: smoothing, dry rings, activity, compressor, Pre filters and preamp.
    for (int i = 0; i < count && !rampsHoldSettledValues; ++i)
        smoothIntoRamps(i);

    bool anyChannelWorks = false;
    for (int c = 0; c < channelCount; ++c)
    {
        readInput(channels[c], destinations[c], count, startRing);
        anyChannelWorks |= channels[c].firstActiveSample < count;
    }
    makeupGain.run(smoothingStep, count, anyChannelWorks ? makeupRamp.get() : nullptr, false);
    preampGain.run(smoothingStep, count, anyChannelWorks ? preampRamp.get() : nullptr, false);

    if (anyChannelWorks)
    {
        double* const detectors = compressorGains.get();
        for (int i = 0; i < count; ++i)
        {
            double detector = std::max(0.0, std::abs(channels[0].input[i]));
            if (stereo)
                detector = std::max(detector, std::abs(channels[1].input[i]));
            detectors[i] = detector;
        }
        compressor.computeGains(detectors, makeupRamp.get(), count);
        for (int c = 0; c < channelCount; ++c)
            compressAndPrefilter(channels[c], count);
    }
    else
    {
        // Every input sample is zero: only the compressor's release moves.
        compressor.releaseInSilence(count);
    }
    ringIndex = (startRing + count) & (bufferLength - 1);

    // Pass 1 has read the ramps as they were stepped; passes 2 and 3 see the settled values in
    // every slot of the chunk in which the smoothing settled.
    fillSettledRampsBefore();

    // Pass 2: the shaper over each active channel's whole buffer, left first.
    for (int c = 0; c < channelCount; ++c)
        if (channels[c].activity.active)
            shapeWorkBuffer(channels[c], count);

    // Pass 3: DC blocker, Post filters, dry/wet, output gain, meters, fade.
    if (isPresetFadeActive())
        outputPassWithFade(left, right, channelCount, count, startRing);
    else
        outputPass(destinations, channelCount, count, startRing);
}

// Without a preset fade nothing can change a parameter during the pass, so FX and output gain
// are stepped ahead and each channel runs on its own.
void KolvraneCore::outputPass(float* const destinations[2], int channelCount, int count, int startRing)
{
    const bool anyActive = anyChannelActive(channelCount);
    fx.run(smoothingStep, count, anyActive ? fxRamp.get() : nullptr, true);
    outputGain.run(smoothingStep, count, anyActive ? outputGainRamp.get() : nullptr, true);
    for (int c = 0; c < channelCount; ++c)
        outputChannel(channels[c], destinations[c], count, startRing);
}

void KolvraneCore::outputChannel(Channel& channel, float* destination, int count, int startRing)
{
    int done = 0;
    if (channel.activity.active)
    {
        const RoutedFilters post = routedFilters(routePost);
        done = post.count == 0 ? outputSamples<false>(channel, destination, count, startRing, post)
                               : outputSamples<true>(channel, destination, count, startRing, post);
    }
    limitToFloatRange(destination, done);
    if (done < count)
        settleSilentChannel(channel, destination, done, count);
}

// Output samples until the channel falls silent; returns how many were written. The per-sample
// states live in locals for the loop, so that their chains do not pass through memory.
template <bool PostFilters>
int KolvraneCore::outputSamples(Channel& channel, float* destination, int count, int startRing,
                                const RoutedFilters& post)
{
    const double* const work = channel.work.get();
    const double* const dryRing = channel.dryRing.get() + bufferLength - latency;
    const double* const fxValues = fxRamp.get();
    const double* const gains = outputGainRamp.get();
    const MeterCurve& curve = getMeterCurve();
    const double pole = dcPole;
    const double decay = meterDecay;
    // Nothing changes a parameter during this pass: settled ramps hold one value in every slot.
    const bool valuesConstant = rampsHoldSettledValues;
    FilterBankValues values;
    if (PostFilters)
        loadFilterValues(values, 0);
    DcBlocker dcBlocker = channel.dcBlocker;
    LevelMeter meter = channel.meter;
    ChannelActivity activity = channel.activity;
    int i = 0;
    while (i < count)
    {
        if (PostFilters && !valuesConstant)
            loadFilterValues(values, i);
        const double dry = dryRing[(startRing + i) & (bufferLength - 1)];
        const double output =
            outputStep<PostFilters>(dcBlocker, meter, activity, channel.filters, post, values, work[i], dry,
                                    fxValues[i], gains[i], curve, pole, decay);
        destination[i] = static_cast<float>(output);
        ++i;
        if (!activity.active)
            break;
    }
    channel.dcBlocker = dcBlocker;
    channel.meter = meter;
    channel.activity = activity;
    return i;
}

// An inactive channel outputs zeros; its meter and peak decay until they stop moving.
void KolvraneCore::settleSilentChannel(Channel& channel, float* destination, int from, int count)
{
    std::fill(destination + from, destination + count, 0.0f);
    const MeterCurve& curve = getMeterCurve();
    for (int i = from; i < count; ++i)
    {
        const double meterBefore = channel.meter.state;
        const double peakBefore = channel.activity.peak;
        channel.meter.update(0.0, curve, meterDecay);
        channel.activity.noteOutput(0.0, meterDecay);
        if (channel.meter.state == meterBefore && channel.activity.peak == peakBefore)
            return;
    }
}

// During a preset fade the owner may deliver parameters in the middle of the pass: every value
// is taken sample by sample.
void KolvraneCore::outputPassWithFade(float* left, float* right, int channelCount, int count, int startRing)
{
    int ring = startRing;
    for (int i = 0; i < count; ++i)
    {
        FilterBankValues values;
        if (anyChannelActive(channelCount))
            loadFilterValues(values, i);
        double outputs[2] = {0.0, 0.0};
        for (int c = 0; c < channelCount; ++c)
            outputs[c] = postProcess(channels[c], values, i, ring);
        fx.step(smoothingStep);
        outputGain.step(smoothingStep);

        const double fade = advancePresetFade();
        left[i] = static_cast<float>(outputs[0] * fade);
        if (right != nullptr)
            right[i] = static_cast<float>(outputs[1] * fade);
        ring = (ring + 1) & (bufferLength - 1);
    }
    limitToFloatRange(left, count);
    if (right != nullptr)
        limitToFloatRange(right, count);
}

void KolvraneCore::publish(bool mono)
{
    const double leftMeter = channels[0].meter.state;
    publishMeterLevels(leftMeter, mono ? leftMeter : channels[1].meter.state);
    std::unique_lock<std::shared_mutex> writer(clipLock);
    publishedClip = clip;
}
