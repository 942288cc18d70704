#pragma once

#include "dsp/BandFilter.h"
#include "dsp/Compressor.h"
#include "dsp/KolvraneParameters.h"
#include "dsp/OutputStage.h"
#include "dsp/Oversampler.h"
#include "dsp/QuarryEffectCore.h"
#include "dsp/Shaper.h"
#include "dsp/Smoother.h"
#include "dsp/Tables.h"

#include <memory>
#include <shared_mutex>
#include <string>

// The complete audio path: compressor, Pre filters, preamp, shaper (optionally oversampled),
// DC blocker, Post filters, dry/wet mix, output gain and preset fade, plus meters and clip flags.
class KolvraneCore : public QuarryEffectCore
{
public:
    static constexpr int bufferLength = maxSamplesPerCall;
    static constexpr int filterCount = KolvraneParameter::filterCount;

    explicit KolvraneCore(CoreOwner* owner);
    ~KolvraneCore() override = default;

    void prepare(float sampleRate) override;
    void setParameter(int index, float normalizedValue) override;
    int setQuality(unsigned code) override;
    int getLatency() const override { return latency; }
    void processStereo(float* left, float* right, int count) override;
    void processMono(float* samples, int count) override;

    void getClipFlags(bool& positive, bool& negative) const;

    // Display text of host parameter 0..21 from the values last delivered; "" for other indexes.
    std::string getParameterText(int parameterIndex) const;

    // For tests and diagnostics.
    int getQuality() const { return quality; }
    bool isChannelActive(int channel) const { return channels[channel].activity.active; }
    double getCompressorEnvelope() const { return compressor.getEnvelope(); }
    void setVectorPathEnabled(bool enable) { oversampler.setUseVectorPath(enable); }
    bool isUsingVectorPath() const { return oversampler.isUsingVectorPath(); }

private:
    // The twelve smoothed values that pass 1 records per sample for passes 2 and 3.
    enum RampIndex : int
    {
        rampVolume1 = 0,
        rampCutoff1 = 3,
        rampDamping1 = 6,
        rampShaperThreshold = 9,
        rampShapeFactor = 10,
        rampRawShape = 11,
        rampCount = 12
    };

    struct FilterSettings
    {
        int type = filterOff;
        int route = routePost;
        double cutoffRaw = 0.0;
        double resonanceRaw = 0.0;
        double volumeRaw = 0.0;
    };

    struct Channel
    {
        DcBlocker dcBlocker;
        FilterRecord filters[filterCount];
        LevelMeter meter;
        ChannelActivity activity;
        OversamplerHistory oversampler;
        std::unique_ptr<double[]> work;
        const double* input = nullptr;     // the current chunk's samples, inside the dry ring
        std::unique_ptr<double[]> dryRing; // bufferLength samples stored twice
        int firstActiveSample = 0;         // of the current chunk; the chunk length if none

        bool hasFiniteState() const;
        void restartFromRest();
    };

    void restartNonFiniteChannels(int channelCount);
    void processChunk(float* left, float* right, int count);
    void storeInput(const float* samples, double* first, double* second, int count) const;
    bool readInput(Channel& channel, const float* samples, int count, int startRing);
    static bool raisePeak(double& peak, const double* x, int count);
    void compressAndPrefilter(Channel& channel, int count);
    void outputPass(float* const destinations[2], int channelCount, int count, int startRing);
    void outputChannel(Channel& channel, float* destination, int count, int startRing);
    template <bool PostFilters>
    int outputSamples(Channel& channel, float* destination, int count, int startRing,
                      const RoutedFilters& post);
    void settleSilentChannel(Channel& channel, float* destination, int from, int count);
    void outputPassWithFade(float* left, float* right, int channelCount, int count, int startRing);
    bool anyFilterRouted(int route) const;
    void smoothIntoRamps(int slot);
    void fillSettledRampsBefore();
    void shapeWorkBuffer(Channel& channel, int count);
    double postProcess(Channel& channel, const FilterBankValues& values, int slot, int ringIndex);
    template <bool PostFilters>
    static double outputStep(DcBlocker& dcBlocker, LevelMeter& meter, ChannelActivity& activity,
                             FilterRecord* filters, const RoutedFilters& post, const FilterBankValues& values,
                             double shaped, double dry, double fx, double gain, const MeterCurve& curve,
                             double pole, double decay);
    bool anyChannelActive(int channelCount) const;
    void loadFilterValues(FilterBankValues& values, int slot) const;
    RoutedFilters routedFilters(int route) const;
    void publish(bool mono);

    void deriveShaperTargets();
    void applyFilterParameter(int filter, int field, float v);
    void snapSmoothersToTargets();

    mutable std::shared_mutex clipLock;
    ClipFlags publishedClip;

    TanhTable tanhTable;
    LevelToDbTable levelToDbTable;
    DbToGainTable dbToGainTable;

    std::unique_ptr<double[]> ramps[rampCount];
    std::unique_ptr<double[]> inverseShapes; // 1 / shape factor, slot for slot
    // Per-sample values of the unbuffered smoothers and the compressor gain in the current chunk.
    std::unique_ptr<double[]> makeupRamp;
    std::unique_ptr<double[]> preampRamp;
    std::unique_ptr<double[]> fxRamp;
    std::unique_ptr<double[]> outputGainRamp;
    std::unique_ptr<double[]> compressorGains;
    Channel channels[2];
    int ringIndex = 0;
    int quality = 0;
    int latency = 0;

    OversamplerKernels kernels;
    Oversampler oversampler;
    Compressor compressor;

    // Values as last delivered (Dynamics and Threshold stored as 1 - v).
    double dynamicsRaw = 0.0;
    double preampRaw = 0.0;
    double thresholdRaw = 0.0;
    double shapeRaw = 0.0;
    int distortionFunction = functionTanh;
    FilterSettings filterSettings[filterCount];
    double outputVolumeRaw = 0.0;
    double fxRaw = 0.0;

    ClipFlags clip;
    double meterDecay = 0.0;    // D = 1 - 0.0001 * b
    double smoothingStep = 0.0; // k = 0.002 * b
    double dcPole = 0.995;

    // The twelve smoothed values recorded in the ramp buffers, in ramp order: filter 1..3
    // volume, cutoff coefficient, damping; shaper threshold gain, shape factor, raw Shape.
    SmootherBank<rampCount> buffered;
    bool rampsHoldSettledValues = false; // buffered values settled and written to every ramp slot
    int settledFromSlot = 0;             // first slot of the settled values in the current chunk
    Smoother makeupGain;
    Smoother preampGain;
    Smoother fx;
    Smoother outputGain;
};
