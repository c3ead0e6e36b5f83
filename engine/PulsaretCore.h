#pragma once

#include "engine/Biquad.h"
#include "engine/DrumMachineCore.h"
#include "engine/EngineMath.h"
#include "engine/OpenHatPulseTrain.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

class PulsaretBassDrum;
class PulsaretSnareDrum;
class PulsaretLowTom;
class PulsaretHiTom;
class PulsaretCymbal;
class PulsaretHiHats;

/** The product's sound engine: owns the six voices, computes the signals they share
    (filtered noise, two band-passed sums of six square oscillators, the pulse train
    that charges the open hat) and renders the seven instruments once per sample.

    Parameter values may arrive on any thread: setParameter only stores the value and
    marks it (atomics); the audio thread applies marked values before its next sample,
    so every mapping's fields change together, between samples.

    The engine renders ahead: the shared signals for a block of blockLength samples at a
    time, and each voice (the toms as a pair, the hi-hats with their pulse train) from
    the current sample to the block's end in one tight loop, keeping a copy of the voice
    as it stood when the run began. A trigger or parameter change, or a look at a voice,
    first brings the voice back to the current sample: the copy is put back and run up
    to it, which gives the very same state, so what is heard does not change. */
class PulsaretCore : public DrumMachineCore
{
public:
    static constexpr int numSoundParameters = ParameterId::soundParameterCount;
    static constexpr int blockLength = 64;

    PulsaretCore();
    ~PulsaretCore() override;

    using DrumMachineCore::setParameter;
    void setParameter (SoundParameter parameter, float value) override;
    void triggerInstrument (int instrument, float velocity) override;
    void setSampleRate (float rate) override;
    void renderSample (double* perInstrumentOut) override;

    bool areTomsLinked() const noexcept { return tomsLinked; }
    bool areHiHatsLinked() const noexcept { return hiHatsLinked; }
    double getMainVolume() const noexcept { return mainVolume; }
    double getMainVolumeTarget() const noexcept { return mainVolumeTarget; }
    int32_t getOpenHatReloadLength() const noexcept { return pulseTrain.reloadLength; }
    double getOscillatorPeriod (int index) const noexcept { return oscillators.period[(size_t) index]; }
    double getOscillatorThreshold (int index) const noexcept { return oscillators.threshold[(size_t) index]; }
    /** The phase where the signals rendered ahead end, blockLength samples at a time. */
    double getOscillatorPhase (int index) const noexcept { return oscillators.phase[(size_t) index]; }
    const Biquad& getMetalHighFilter() const noexcept { return metalHighFilter; }
    const Biquad& getMetalLowFilter() const noexcept { return metalLowFilter; }
    double getNoiseCoefficient() const noexcept { return noiseCoefficient; }

    // The voices as they stand after the last rendered sample. Looking brings a voice that was
    // rendered ahead back to the current sample, so these belong to the rendering thread.
    const PulsaretBassDrum& getBassDrum() const noexcept;
    const PulsaretSnareDrum& getSnareDrum() const noexcept;
    const PulsaretLowTom& getLowTom() const noexcept;
    const PulsaretHiTom& getHiTom() const noexcept;
    const PulsaretCymbal& getCymbal() const noexcept;
    const PulsaretHiHats& getHiHats() const noexcept;

private:
    /** The six metal oscillators: a phase that counts samples up to the period and wraps;
        the output is high while the phase is past the threshold. */
    struct SquareOscillators
    {
        static constexpr size_t count = 6;
        std::array<double, count> period{}, threshold{}, phase{};
    };

    /** The metal-high and metal-low band-passes side by side: both filter the same oscillator sum,
        so they share the input history and step as one two-lane filter. */
    struct MetalFilters
    {
        EngineMath::Pair b0{}, b2{}, a1{}, a2{}, y1{}, y2{};
        double x1 = 0.0, x2 = 0.0;
    };

    /** What renders together: each unit's voices depend on nothing of another unit's. */
    enum Unit
    {
        bassDrumUnit,
        snareDrumUnit,
        tomsUnit,
        cymbalUnit,
        hiHatsUnit,
        numUnits
    };

    /** The rendering ahead of the units; mutable because looking at a voice settles its unit. */
    struct RenderAhead
    {
        std::array<int, numUnits> renderedUntil{}; // where in the block the unit's voices stand
        std::array<int, numUnits> copiedAt{};      // where they stood when copied
        std::array<bool, numUnits> quiet{};        // standing still: no copy was needed
        int earliest = blockLength;                // the least of renderedUntil
        std::array<std::array<double, blockLength>, numInstruments> out{};
        std::array<bool, numInstruments> wholeBlockQuiet{}; // out holds quietValue from start to end
        std::array<double, numInstruments> quietValue{};
        std::array<EngineMath::Pair, blockLength> ratios{}; // the diode quotients less 1 {metal high, metal low}
    };

    void renderVoices (double* perInstrumentOut) noexcept;
    void applyPendingParameters() noexcept;
    void applyParameter (SoundParameter parameter, float value) noexcept;
    void applyVoiceParameter (SoundParameter parameter, double value) noexcept;
    void startBlock() noexcept;
    void generateBlock() noexcept;
    void countHighOscillators (std::array<int, blockLength + 1>& changes) noexcept;
    void renderAhead (unsigned int units) noexcept;
    void renderUnits (unsigned int units, int from, int to) const noexcept;
    void renderFlushed (unsigned int units, int from, int to) const noexcept;
    unsigned int fillQuietUnits (unsigned int units, int from, int to) const noexcept;
    void fillQuiet (int channel, int from, int to, double value) const noexcept;
    static constexpr unsigned int unitBit (int unit) noexcept { return 1u << unit; }
    void prepareRatios() const noexcept;
    void filterNoise() const noexcept;
    void settle (int unit) const noexcept;
    void settleAll() const noexcept;
    static int unitOfParameter (SoundParameter parameter) noexcept;

    std::unique_ptr<PulsaretBassDrum> bassDrum;
    std::unique_ptr<PulsaretSnareDrum> snareDrum;
    std::unique_ptr<PulsaretLowTom> lowTom;
    std::unique_ptr<PulsaretHiTom> hiTom;
    std::unique_ptr<PulsaretCymbal> cymbal;
    std::unique_ptr<PulsaretHiHats> hiHats;

    // Copies of the voices where their run began (see RenderAhead).
    std::unique_ptr<PulsaretBassDrum> bassDrumCopy;
    std::unique_ptr<PulsaretSnareDrum> snareDrumCopy;
    std::unique_ptr<PulsaretLowTom> lowTomCopy;
    std::unique_ptr<PulsaretHiTom> hiTomCopy;
    std::unique_ptr<PulsaretCymbal> cymbalCopy;
    std::unique_ptr<PulsaretHiHats> hiHatsCopy;
    OpenHatPulseTrain pulseTrainCopy;

    // Handed from any thread to the audio thread: values first, then the mark (release/acquire).
    std::array<std::atomic<float>, numSoundParameters> pendingValues{};
    std::atomic<uint32_t> pendingMask{0};

    // Everything below belongs to the audio thread.
    double mainVolumeTarget = 0.0, mainVolume = 0.0;
    double settledVolume = 0.0, settledVolumeTarget = 0.0; // a volume and target the smoothing leaves alone
    bool hiHatsLinked = false, tomsLinked = false;

    mutable OpenHatPulseTrain pulseTrain; // part of the hi-hats' unit
    double openHatDecay = 0.0;

    uint32_t noiseA = 0, noiseB = 0;
    float noiseScale = 2.3283064365386963e-10f; // 2^-32
    mutable double noiseState = 0.0;
    double noiseCoefficient = 0.0;

    SquareOscillators oscillators;

    Biquad metalHighFilter, metalLowFilter; // the coefficients; the states live in metalFilters
    mutable MetalFilters metalFilters;

    /** The filters of the shared signals run only for blocks a voice reads. Their inputs
        are kept for a while: a filter that missed blocks starts again from rest far enough
        back that what it forgets lies far below an ulp, or from the reset if that is nearer. */
    struct SharedFilters
    {
        static constexpr int historyLength = 4096;                   // a power of two
        std::array<float, historyLength> noiseInput{}, metalInput{}; // both exact in floats
        int64_t blockStart = 0, generated = 0;                       // samples since the reset
        int64_t noiseDoneUntil = 0, metalDoneUntil = 0;              // where the states stand
        int noiseWarmUp = 0, metalWarmUp = 0;
        bool noiseReady = false, metalReady = false;
    };

    // The current block of the shared signals, and the next sample's place in it.
    mutable std::array<double, blockLength> noiseBlock{};
    int position = blockLength;
    mutable SharedFilters shared;
    mutable RenderAhead ahead;
};
