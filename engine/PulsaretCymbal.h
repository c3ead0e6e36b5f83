#pragma once

#include "engine/MetalShaper.h"
#include "engine/PulsaretInstrument.h"

/** Cymbal: the engine's two metal signals through two shaper branches, a bright one
    ("Tone" brings it in) and a body, each driven by its own pair of envelopes. */
class PulsaretCymbal : public PulsaretInstrument
{
public:
    void setLevel (double value) noexcept;
    void setTone (double value) noexcept;
    void setDecay (double value) noexcept;

    double renderWithTwoInputs (double metalHigh, double metalLow) override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    double getDecayFactor() const noexcept { return decayFactor; }
    double getReleaseCoefficientA() const noexcept { return coefficientA; }

private:
    void setReleaseCoefficients() noexcept;

    double driveAmount = 0.0, gateCounter = 0.0, gate = 0.0;
    double envelopeA = 0.0, envelopeB = 0.0, coefficientA = 0.0, coefficientB = 0.0;
    double driveLevel1 = 0.0;
    double envelopeM = 0.0, envelopeN = 0.0, coefficientM = 0.0, coefficientN = 0.0;
    double driveLevel2 = 0.0;
    double levelTarget = 0.0, level = 0.0, smoothedLevel = 0.0;
    double tone = 0.0, toneTarget = 0.0, decayFactor = 0.0, decay = 0.0, toneValue = 0.0;
    double rateGain = 0.0; // 192000 / rate
    MetalShaper bright, body;
    double output = 0.0;
};
