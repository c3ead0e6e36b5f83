#pragma once

#include "engine/EngineMath.h"
#include "engine/MetalShaper.h"
#include "engine/OpenHatPulseTrain.h"
#include "engine/PulsaretInstrument.h"

#include <algorithm>

/** Open and closed hi-hat in one object: both shape the engine's metal-high signal.
    Linked, both sound in one signal (renderWithInput); unlinked, the engine calls
    renderOpen and then renderClosed. The open hat's decay is charged by the engine's
    pulse train (chargeOpen); the closed hat chokes the open one when its gate ends. */
class PulsaretHiHats : public PulsaretInstrument
{
public:
    virtual void triggerOpen (double velocity);
    virtual void triggerClosed (double velocity);

    void setOpenLevel (double value) noexcept;
    void setClosedLevel (double value) noexcept;
    void setClosedDecay (double value) noexcept;

    double renderWithInput (double metalHigh) override;
    double renderOpen (double metalHigh) noexcept;
    double renderClosed (double metalHigh) noexcept;
    void setSampleRate (double rate) override;

    // renderWithInput, renderOpen and renderClosed from the metal-high signal's diode quotient
    // (MetalShaper::ratioOf, guarded or not as they use it), inline for the engine's loop.
    double renderLinked (double guardedRatio) noexcept;
    double renderOpenRatio (double unguardedRatio) noexcept;
    double renderClosedRatio (double guardedRatio) noexcept;

    /** True when silent with the levels the engine's render moves settled: every next sample
        gives 0 (the pulse train still charges the open hat). */
    bool isQuiet (bool linked) const noexcept
    {
        const double k = coefficients.levelSmoothing;
        return !active && staysPut (smoothedOpenLevel, openLevelTarget, k) && (linked || staysPut (smoothedClosedLevel, closedLevelTarget, k));
    }

    /** One sample of the engine's pulse train: moves the charge level towards the
        pulse and lets a high charge shorten the open hat's release. */
    void chargeOpen (double pulse) noexcept;

    /** count samples of the pulse train charging the open hat while the hats are quiet. */
    void chargeWhileQuiet (OpenHatPulseTrain& pulseTrain, int count) noexcept;

    double getOpenVelocity() const noexcept { return openVelocity; }
    double getCharge() const noexcept { return charge; }
    double getOpenReleaseCoefficient() const noexcept { return openRelease; }
    double getClosedDecayCoefficient() const noexcept { return closedDecayCoefficient; }

private:
    void openGateStep() noexcept;
    void closedGateStep() noexcept;
    void envelopeStep() noexcept;

    double openLevel = 0.0, closedLevel = 0.0;
    double openLevelTarget = 0.0, smoothedOpenLevel = 0.0;
    double closedLevelTarget = 0.0, smoothedClosedLevel = 0.0;
    double openVelocity = 0.0, openGateCounter = -1.0, openGate = 0.0;
    double charge = 0.0; // q, driven by the engine
    double closedDriveLevel = 0.0, closedVelocity = 0.0, closedGateCounter = -1.0, closedGate = 0.0;
    double closedEnvelope = 0.0, closedEnvelopeCoefficient = 0.0;
    double openEnvelope1 = 0.0, openEnvelope1Coefficient = 0.0;
    double openEnvelope2 = 0.0, openRelease = 0.0; // r
    double openDriveLevel = 0.0;
    double closedDecay = 0.0, closedDecayCoefficient = 0.0;
    double rateGain = 0.0; // 192000 / rate
    MetalShaper openShaper, closedShaper;
    double openOutput = 0.0, closedOutput = 0.0;
};

inline void PulsaretHiHats::chargeOpen (double pulse) noexcept
{
    const double k = coefficients.smoothing;
    if (charge > 0.5 && (double) coefficients.smoothingTimes00001Float != openRelease)
        openRelease = ((charge - 0.5) * 0.001 + 2e-05) * k + 1e-20;

    charge = charge - ((charge - pulse) * k * 7e-05 + 1e-20);
    if (charge > 1.0)
        charge = 1.0;
}

inline void PulsaretHiHats::chargeWhileQuiet (OpenHatPulseTrain& pulseTrain, int count) noexcept
{
    // chargeOpen on locals, which stay in registers across the loop.
    OpenHatPulseTrain train = pulseTrain;
    const double k = coefficients.smoothing, rate = coefficients.sampleRate;
    const double floatRelease = (double) coefficients.smoothingTimes00001Float;
    const double fall = 1.0 - k * 7e-05;
    double q = charge, r = openRelease;
    while (count > 0)
    {
        // Between bursts the charge only falls by a fixed factor (the 1e-20 guards below
        // an ulp of it), and a release that follows it only needs its last value: a run
        // of such samples in closed form. A run that takes the charge through 0.5 is stepped.
        const int run = std::min (count, (int) train.countdown);
        if (train.pulseValue == 0.0 && run > 1 && q <= 1.0)
        {
            const double beforeLast = q * EngineMath::integerPower (fall, run - 1) - 1e-20 * (run - 1);
            const bool followed = q > 0.5 && floatRelease != r;
            if (!followed || beforeLast > 0.5)
            {
                if (followed)
                    r = ((beforeLast - 0.5) * 0.001 + 2e-05) * k + 1e-20;
                q = beforeLast - (beforeLast * k * 7e-05 + 1e-20);
                train.countdown -= run;
                train.burstCounter -= run;
                count -= run;
                continue;
            }
        }

        const double pulse = train.step (rate, openVelocity);
        if (q > 0.5 && floatRelease != r)
            r = ((q - 0.5) * 0.001 + 2e-05) * k + 1e-20;

        q = q - ((q - pulse) * k * 7e-05 + 1e-20);
        if (q > 1.0)
            q = 1.0;
        --count;
    }
    charge = q;
    openRelease = r;
    pulseTrain = train;
}

inline void PulsaretHiHats::openGateStep() noexcept
{
    const double c = openGateCounter;
    openGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        openGate = 0.0;
        openRelease = k * 2e-05;
        openEnvelope1Coefficient = k * 0.000625;
    }
}

inline void PulsaretHiHats::closedGateStep() noexcept
{
    const double c = closedGateCounter;
    closedGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        closedGate = 0.0;
        // The closed hat chokes the open one when its gate ends.
        openRelease = k * 0.0003;
        openEnvelope1Coefficient = k * 0.1;
        closedEnvelopeCoefficient = k * closedDecayCoefficient;
    }
}

inline void PulsaretHiHats::envelopeStep() noexcept
{
    smoothTowards (openEnvelope1, openGate * openVelocity, openEnvelope1Coefficient);
    smoothTowards (openEnvelope2, openEnvelope1, openRelease);
    smoothTowards (closedEnvelope, closedGate * closedVelocity, closedEnvelopeCoefficient);
    closedDriveLevel = std::min (closedEnvelope, 1.0);
}

inline double PulsaretHiHats::renderLinked (double guardedRatio) noexcept
{
    const double k = coefficients.smoothing;
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;

    if (active)
    {
        openGateStep();
        closedGateStep();

        const double lo = openDriveLevel; // from the previous sample
        openShaper.processRatio<true> (guardedRatio, lo, 1.0 - k * 0.5, -0.002, 15.0, rateGain);
        openOutput = (lo * openShaper.clipped * 0.25 * 3.0 + openShaper.highPassed) * 0.4374;

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);
        openDriveLevel = std::max (0.0, closedDriveLevel + openDriveLevel);

        envelopeStep();
    }

    followPeak (openOutput);
    return openOutput * smoothedOpenLevel;
}

inline double PulsaretHiHats::renderOpenRatio (double unguardedRatio) noexcept
{
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;

    if (active)
    {
        openGateStep();

        const double lo = openDriveLevel;
        openShaper.processRatio<false> (unguardedRatio, lo, 1.0 - coefficients.smoothing * 0.5, -0.002, 15.0, rateGain);
        openOutput = (lo * openShaper.clipped * 0.25 * 3.0 + openShaper.highPassed) * 0.4374;

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);
    }

    return openOutput * smoothedOpenLevel;
}

inline double PulsaretHiHats::renderClosedRatio (double guardedRatio) noexcept
{
    smoothTowards (smoothedClosedLevel, closedLevelTarget, coefficients.levelSmoothing);

    closedOutput = 0.0;

    if (active)
    {
        closedGateStep();

        const double lc = closedDriveLevel;
        closedShaper.processRatio<true> (guardedRatio, lc, 1.0 - coefficients.smoothing * 0.5, -0.002, 15.0, rateGain);
        closedOutput = (lc * closedShaper.clipped * 0.25 * 3.0 + closedShaper.highPassed) * 0.4374;

        envelopeStep();
    }

    return closedOutput * smoothedClosedLevel;
}
