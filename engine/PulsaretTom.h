#pragma once

#include "engine/Biquad.h"
#include "engine/OnePoleHighPass.h"
#include "engine/PulsaretInstrument.h"
#include "engine/StateVariableFilter.h"

#include <cstdint>

/** A tom: a resonant filter struck by a short pulse, its pitch falling from
    base + sweep depth towards the base, with a band-passed noise layer, followed
    by the bass drum's step-hold and output smoothing. */
class PulsaretTom : public PulsaretInstrument
{
public:
    PulsaretTom (double sweepDecay, double baseFrequency, double sweepDepth, double outputGain) noexcept;

    void setLevel (double value) noexcept;
    void setTune (double value) noexcept;
    void setDecay (double value) noexcept;

    double renderWithInput (double noise) override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    /** Linked toms: this tom takes the other's smoothed level and target, so one level rules both. */
    void followLevelOf (const PulsaretTom& other) noexcept;

    /** Unlinked again: the target returns to this tom's own level. */
    void restoreLevelTarget() noexcept { levelTarget = level; }

    double getTuneMultiplier() const noexcept { return tuneMultiplier; }
    double getDamping() const noexcept { return damping; }
    double getDecayCoefficient() const noexcept { return decayCoefficient; }

private:
    double tune = 0.0, decay = 0.0, level = 0.0;
    double tuneMultiplier = 0.0, decayCoefficient = 0.0;
    double levelTarget = 0.0, smoothedLevel = 0.0;
    int32_t driveCounter = 0;
    double drive = 0.0, driveAmount = 0.0;
    double pitchEnvelope = 0.0, pitchEnvelopeCoefficient = 0.0;
    const double sweepDecay, baseFrequency, sweepDepth, outputGain;
    OnePoleHighPass highPass;
    Biquad noiseBandPass;
    double noiseDrive = 0.0, noiseEnvelope = 0.0, noiseEnvelopeCoefficient = 0.0;
    double excitation = 0.0;
    double f = 0.0, damping = 0.0;
    double sixthOfRate = 0.0, piOverRate = 0.0;
    StateVariableFilter svf;
    double output = 0.0;
};
