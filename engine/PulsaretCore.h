#pragma once

#include "engine/Biquad.h"
#include "engine/DrumMachineCore.h"

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
    so every mapping's fields change together, between samples. */
class PulsaretCore : public DrumMachineCore
{
public:
    static constexpr int numSoundParameters = 25;

    PulsaretCore();
    ~PulsaretCore() override;

    void setParameter (int index, float value) override;
    void triggerInstrument (int instrument, float velocity) override;
    void setSampleRate (float rate) override;
    void renderSample (double* perInstrumentOut) override;

    bool areTomsLinked() const noexcept { return tomsLinked; }
    bool areHiHatsLinked() const noexcept { return hiHatsLinked; }
    double getMainVolume() const noexcept { return mainVolume; }
    double getMainVolumeTarget() const noexcept { return mainVolumeTarget; }
    int32_t getOpenHatReloadLength() const noexcept { return reloadLength; }
    double getOscillatorPeriod (int index) const noexcept { return oscillators.period[(size_t) index]; }
    double getOscillatorThreshold (int index) const noexcept { return oscillators.threshold[(size_t) index]; }
    const Biquad& getMetalHighFilter() const noexcept { return metalHighFilter; }
    const Biquad& getMetalLowFilter() const noexcept { return metalLowFilter; }
    double getNoiseCoefficient() const noexcept { return noiseCoefficient; }

    const PulsaretBassDrum& getBassDrum() const noexcept { return *bassDrum; }
    const PulsaretSnareDrum& getSnareDrum() const noexcept { return *snareDrum; }
    const PulsaretLowTom& getLowTom() const noexcept { return *lowTom; }
    const PulsaretHiTom& getHiTom() const noexcept { return *hiTom; }
    const PulsaretCymbal& getCymbal() const noexcept { return *cymbal; }
    const PulsaretHiHats& getHiHats() const noexcept { return *hiHats; }

private:
    /** The six metal oscillators, one array per field so that the compiler runs them as vectors. */
    struct SquareOscillators
    {
        static constexpr size_t count = 6;
        std::array<double, count> period{}, threshold{}, phase{};
    };

    /** The metal-high and metal-low band-passes side by side: both filter the same oscillator sum,
        so they share the input history and step as one two-lane filter. */
    struct MetalFilters
    {
        std::array<double, 2> b0{}, b2{}, a1{}, a2{}, y1{}, y2{};
        double x1 = 0.0, x2 = 0.0;
    };

    void renderVoices (double* perInstrumentOut) noexcept;
    void applyPendingParameters() noexcept;
    void applyParameter (int index, float value) noexcept;

    std::unique_ptr<PulsaretBassDrum> bassDrum;
    std::unique_ptr<PulsaretSnareDrum> snareDrum;
    std::unique_ptr<PulsaretLowTom> lowTom;
    std::unique_ptr<PulsaretHiTom> hiTom;
    std::unique_ptr<PulsaretCymbal> cymbal;
    std::unique_ptr<PulsaretHiHats> hiHats;

    // Handed from any thread to the audio thread: values first, then the mark (release/acquire).
    std::array<std::atomic<float>, numSoundParameters> pendingValues{};
    std::atomic<uint32_t> pendingMask{0};

    // Everything below belongs to the audio thread.
    double mainVolumeTarget = 0.0, mainVolume = 0.0;
    bool hiHatsLinked = false, tomsLinked = false;

    int32_t burstCounter = 0;
    double pulseValue = 0.0;
    int32_t reloadLength = 0;
    int32_t countdown = 0;
    double openHatDecay = 0.0;

    uint32_t noiseA = 0, noiseB = 0;
    float noiseScale = 2.3283064365386963e-10f; // 2^-32
    double noise = 0.0, noiseState = 0.0, noiseCoefficient = 0.0;

    SquareOscillators oscillators;

    double oscillatorSum = 0.0, metalHigh = 0.0, metalLow = 0.0;
    Biquad metalHighFilter, metalLowFilter; // the coefficients; the states live in metalFilters
    MetalFilters metalFilters;
};
