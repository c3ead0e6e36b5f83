#pragma once

#include "engine/EngineMath.h"
#include "engine/MetalShaper.h"
#include "engine/MetalShaperPair.h"
#include "engine/PulsaretInstrument.h"

#include <algorithm>

/** Cymbal: the engine's two metal signals through two shaper branches, a bright one
    ("Tone" brings it in) and a body, each driven by its own pair of envelopes. */
class PulsaretCymbal : public PulsaretInstrument
{
public:
    void setLevel (double value) noexcept;
    void setTone (double value) noexcept;
    void setDecay (double value) noexcept;

    double renderWithTwoInputs (double metalHigh, double metalLow) override;

    /** renderWithTwoInputs from the diode quotients of the metal-high and metal-low signals
        less 1 (MetalShaper::ratioOf<true> - 1), inline for the engine. */
    double renderRatios (double highRatioLessOne, double lowRatioLessOne) noexcept;

    /** renderRatios for count samples, the quotients less 1 of each in one pair {high, low}. */
    void renderBlock (const EngineMath::Pair* ratiosLessOne, double* out, int count) noexcept;

    /** True when silent with level and tone settled: every next sample gives 0. */
    bool isQuiet() const noexcept
    {
        return !active && staysPut (smoothedLevel, levelTarget, coefficients.levelSmoothing) && staysPut (tone, toneTarget, coefficients.levelSmoothing);
    }
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    double getDecayFactor() const noexcept { return decayFactor; }
    double getReleaseCoefficientA() const noexcept { return coefficientA; }

private:
    void setReleaseCoefficients() noexcept;
    int releaseRunLength (int count) const noexcept;
    int renderRelease (const EngineMath::Pair* ratiosLessOne, double* out, int count) noexcept;

    double driveAmount = 0.0, gateCounter = 0.0, gate = 0.0;
    double envelopeA = 0.0, envelopeB = 0.0, coefficientA = 0.0, coefficientB = 0.0;
    double driveLevel1 = 0.0;
    double envelopeM = 0.0, envelopeN = 0.0, coefficientM = 0.0, coefficientN = 0.0;
    double driveLevel2 = 0.0;
    double levelTarget = 0.0, level = 0.0, smoothedLevel = 0.0;
    double tone = 0.0, toneTarget = 0.0, decayFactor = 0.0, decay = 0.0, toneValue = 0.0;
    double rateGain = 0.0;   // 192000 / rate
    MetalShaperPair shapers; // the bright branch in lane 0, the body in lane 1
    double output = 0.0;
};

inline double PulsaretCymbal::renderRatios (double highRatioLessOne, double lowRatioLessOne) noexcept
{
    smoothTowards (smoothedLevel, levelTarget, coefficients.levelSmoothing);
    smoothTowards (tone, toneTarget, coefficients.levelSmoothing);

    output = 0.0;

    if (active)
    {
        const double c = gateCounter;
        gateCounter = c - 1.0;
        if (c > -1.0 && c < 1.0) // (int) c == 0
        {
            gate = 0.0;
            setReleaseCoefficients();
        }

        // Both branches use the drive levels of the previous sample.
        const auto y = shapers.process (MetalShaperPair::Pair{highRatioLessOne, lowRatioLessOne}, MetalShaperPair::Pair{driveLevel1, driveLevel2});
        const auto clipped = shapers.state.clipped;
        const double oA = driveLevel1 * clipped[0] * 0.25 * 3.0 + y[0];
        const double cB = clipped[1];
        const double oB = cB * cB * cB * 0.125 + 1e-20 + y[1];

        const double gd = gate * driveAmount;
        smoothTowards (envelopeA, gd, coefficientA);
        smoothTowards (envelopeB, gd, coefficientB);
        driveLevel1 = std::max (0.0, (envelopeB * 0.5 + envelopeA * 2.0) * 0.7 - 0.1);

        smoothTowards (envelopeM, gd, coefficientM);
        smoothTowards (envelopeN, envelopeM, coefficientN);
        driveLevel2 = std::max (0.0, envelopeN * 1.26 - 0.1);

        output = ((1.5 - tone * 0.5) * oB * 0.65 + tone * oA * 3.0) * 0.026364;
    }

    followPeak (output);
    return output * smoothedLevel;
}
